#pragma once

#include <QPainter>

#include "render/canvas.h"

namespace quorvel::render {

/// The canvas over a QPainter: a PNG page's image or a PDF writer.
class QtCanvas final : public Canvas {
 public:
  QtCanvas(QPainter& painter, double dpi, const sheet::Geometry& geometry)
      : Canvas(dpi, geometry), painter_(painter) {}

  void Fill(double left, double top, double width, double height) override;
  void Frame(double left, double top, double width, double height) override;
  void CellText(const std::string& latin1, sheet::Typeface face, double left,
                double baseline) override;
  void Line(const std::string& utf8, double centre, double width, double baseline,
            double height) override;
  void Remark(const std::string& utf8, double left, double baseline) override;

 private:
  QFont CellFont(sheet::Typeface face) const;

  QPainter& painter_;
};

}  // namespace quorvel::render
