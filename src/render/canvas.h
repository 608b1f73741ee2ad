#pragma once

#include <QPainter>

#include "sheet/page_model.h"

namespace quorvel::render {

/// A page being drawn: the painter and the device's resolution, with positions in inches.
struct Canvas {
  QPainter& painter;
  double dpi;
  const sheet::Geometry& geometry;

  double X(double inches) const { return inches * dpi; }
  double Left(int column) const {
    return X(geometry.leftInches + column / geometry.charactersPerInch);
  }
  double Top(int line) const { return X(geometry.topInches + line / geometry.linesPerInch); }
  double Cell() const { return X(1 / geometry.charactersPerInch); }
  double LineHeight() const { return X(1 / geometry.linesPerInch); }
};

// The parts of a page, each drawn at its position.
void DrawText(Canvas& canvas, const sheet::TextRun& run);
/// Returns an empty string, or why zint could not draw the symbol (a frame marks its place).
std::string DrawBarcode(Canvas& canvas, const sheet::Barcode& barcode);
void DrawGlyphs(Canvas& canvas, const sheet::GlyphRun& run);

}  // namespace quorvel::render
