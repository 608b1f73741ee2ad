#include "render/qt_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace quorvel::render {
namespace {

// 12 point type is 10 characters per inch in Courier's 0.6 em pitch.
constexpr double kTextPoints = 12;

}  // namespace

void QtCanvas::Fill(double left, double top, double width, double height) {
  painter_.fillRect(QRectF(left, top, width, height), Qt::black);
}

void QtCanvas::Frame(double left, double top, double width, double height) {
  painter_.drawRect(QRectF(left, top, width, height));
}

// The face, with its advance stretched to exactly one cell so a run keeps to its columns.
QFont QtCanvas::CellFont(sheet::Typeface face) const {
  QFont font(face == sheet::Typeface::kFixed ? "Nimbus Mono PS" : "Nimbus Sans");
  font.setStyleHint(face == sheet::Typeface::kFixed ? QFont::TypeWriter : QFont::SansSerif);
  font.setPointSizeF(kTextPoints);
  if (face != sheet::Typeface::kFixed) {
    return font;
  }
  const QFontMetricsF metrics(font, painter_.device());
  font.setLetterSpacing(QFont::AbsoluteSpacing,
                        Cell() - metrics.horizontalAdvance(QLatin1Char('M')));
  return font;
}

void QtCanvas::CellText(const std::string& latin1, sheet::Typeface face, double left,
                        double baseline) {
  painter_.setFont(CellFont(face));
  const QString text = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
  if (face == sheet::Typeface::kFixed) {
    painter_.drawText(QPointF(left, baseline), text);
    return;
  }
  // A proportional face still prints in the pitch's cells. The run is drawn as one string,
  // stretched to fill its cells, so that a PDF reader finds its words ("Bar code", not
  // "Ba r code" from glyphs placed one by one); the stretch's rounding is spread between the
  // characters, and half of it starts the run so its first and last characters sit alike.
  QFont font = painter_.font();
  const double cells = Cell() * static_cast<double>(text.size());
  const double natural = QFontMetricsF(font, painter_.device()).horizontalAdvance(text);
  if (natural > 0) {
    font.setStretch(std::clamp(static_cast<int>(std::lround(100 * cells / natural)), 1, 4000));
  }
  const double stretched = QFontMetricsF(font, painter_.device()).horizontalAdvance(text);
  const double spacing =
      text.isEmpty() ? 0 : (cells - stretched) / static_cast<double>(text.size());
  font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  painter_.setFont(font);
  painter_.drawText(QPointF(left + spacing / 2, baseline), text);
}

void QtCanvas::Line(const std::string& utf8, double centre, double width, double baseline,
                    double height) {
  QFont font("Nimbus Sans");
  font.setPixelSize(std::max(1, static_cast<int>(height)));
  painter_.setFont(font);
  painter_.drawText(QRectF(centre - width / 2, baseline - height, width, height * 1.2),
                    Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(utf8));
}

void QtCanvas::Remark(const std::string& utf8, double left, double baseline) {
  QFont font("Nimbus Sans");
  font.setPointSizeF(6);
  font.setItalic(true);
  painter_.setFont(font);
  painter_.drawText(QPointF(left, baseline), QString::fromStdString(utf8));
}

}  // namespace quorvel::render
