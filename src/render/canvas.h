#pragma once

#include <string>

#include "sheet/page_model.h"

namespace quorvel::render {

/// A page being drawn at its device's resolution, positions in dots from the top left corner,
/// the sheet's own positions in inches converted by the helpers below. What a page is made of
/// comes in a few kinds of marks; each platform paints them its way (Qt's painter for PNG and
/// PDF, GDI into a DIB section on Windows), and the sheet's drawing is shared.
class Canvas {
 public:
  Canvas(double dpi, const sheet::Geometry& geometry) : dpi_(dpi), geometry_(geometry) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  virtual ~Canvas() = default;

  /// A black rectangle: a bar or a stroke of a glyph.
  virtual void Fill(double left, double top, double width, double height) = 0;
  /// A rectangle's outline, one dot wide: the place of a symbol that could not be drawn.
  virtual void Frame(double left, double top, double width, double height) = 0;
  /// 12-point text in `face`, one Latin-1 character to each cell of the pitch from `left`, on
  /// `baseline`: a fixed face keeps exactly to the cells, a proportional one has each character
  /// centred in its own.
  virtual void CellText(const std::string& latin1, sheet::Typeface face, double left,
                        double baseline) = 0;
  /// One line of sans-serif UTF-8 text, `height` dots high from `baseline` up, centred on
  /// `centre` over `width`: a symbol's human-readable line.
  virtual void Line(const std::string& utf8, double centre, double width, double baseline,
                    double height) = 0;
  /// A small italic remark (6 point, UTF-8) from `left` on `baseline`.
  virtual void Remark(const std::string& utf8, double left, double baseline) = 0;

  double Dpi() const { return dpi_; }
  double X(double inches) const { return inches * dpi_; }
  double Left(int column) const {
    return X(geometry_.leftInches + column / geometry_.charactersPerInch);
  }
  double Top(int line) const { return X(geometry_.topInches + line / geometry_.linesPerInch); }
  double Cell() const { return X(1 / geometry_.charactersPerInch); }
  double LineHeight() const { return X(1 / geometry_.linesPerInch); }

 private:
  double dpi_;
  const sheet::Geometry& geometry_;
};

// The parts of a page, each drawn at its position.
void DrawText(Canvas& canvas, const sheet::TextRun& run);
/// Returns an empty string, or why zint could not draw the symbol (a frame marks its place).
std::string DrawBarcode(Canvas& canvas, const sheet::Barcode& barcode);
void DrawGlyphs(Canvas& canvas, const sheet::GlyphRun& run);

/// Latin-1 text (the bytes a job carries) as UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);

}  // namespace quorvel::render
