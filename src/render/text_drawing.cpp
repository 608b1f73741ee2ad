#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

#include "render/canvas.h"
#include "sheet/glyph_tables.h"

namespace quorvel::render {
namespace {

// 12 point type is 10 characters per inch in Courier's 0.6 em pitch.
constexpr double kTextPoints = 12;
constexpr double kAscent = 0.75;  // of the line height above the baseline

QString Characters(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The face, with its advance stretched to exactly one cell so a run keeps to its columns.
QFont CellFont(Canvas& canvas, sheet::Typeface face) {
  QFont font(face == sheet::Typeface::kFixed ? "Nimbus Mono PS" : "Nimbus Sans");
  font.setStyleHint(face == sheet::Typeface::kFixed ? QFont::TypeWriter : QFont::SansSerif);
  font.setPointSizeF(kTextPoints);
  if (face != sheet::Typeface::kFixed) {
    return font;
  }
  const QFontMetricsF metrics(font, canvas.painter.device());
  font.setLetterSpacing(QFont::AbsoluteSpacing,
                        canvas.Cell() - metrics.horizontalAdvance(QLatin1Char('M')));
  return font;
}

void Bars(Canvas& canvas, double left, double top, double unit, std::string_view pattern,
          double height) {
  double x = left;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const double width = (pattern[i] == '1' ? 3 : 1) * unit;
    if (i % 2 == 0) {
      canvas.painter.fillRect(QRectF(x, top, width, height), Qt::black);
    }
    x += width;
  }
}

void Glyph(Canvas& canvas, sheet::GlyphFont font, char c, double left, double top) {
  const double cell = canvas.Cell();
  const double height = canvas.LineHeight() * 0.9;
  const std::string_view code39 = sheet::Code39Pattern(c);
  if (font == sheet::GlyphFont::kCode39 && !code39.empty()) {
    Bars(canvas, left, top, cell / 16, code39, height);  // 6 narrow + 3 wide + 1 gap = 16 units
    return;
  }
  const std::string_view ean = sheet::EanPattern(c);
  if (font == sheet::GlyphFont::kEanUpc && !ean.empty()) {
    for (std::size_t i = 0; i < ean.size(); ++i) {
      if (ean[i] == '1') {
        canvas.painter.fillRect(QRectF(left + i * cell / 7, top, cell / 7, height), Qt::black);
      }
    }
    return;
  }
  const std::string_view postnet = sheet::PostnetPattern(c);
  if (font == sheet::GlyphFont::kPostnet && !postnet.empty()) {
    for (std::size_t i = 0; i < postnet.size(); ++i) {
      const double barHeight = postnet[i] == '1' ? height : height * 0.4;
      canvas.painter.fillRect(
          QRectF(left + i * cell / 5, top + height - barHeight, cell / 10, barHeight), Qt::black);
    }
    return;
  }
  canvas.painter.drawRect(QRectF(left + cell * 0.15, top, cell * 0.7, height));
}

}  // namespace

void DrawText(Canvas& canvas, const sheet::TextRun& run) {
  canvas.painter.setFont(CellFont(canvas, run.typeface));
  const double baseline = canvas.Top(run.at.line) + canvas.LineHeight() * kAscent;
  double indent = 0;  // half the spacing, so the first and last character sit alike in cells
  if (run.typeface != sheet::Typeface::kFixed) {
    // A proportional face still prints in the pitch's cells. The run is drawn as one string,
    // stretched to fill its cells, so that a PDF reader finds its words ("Bar code", not
    // "Ba r code" from glyphs placed one by one); the stretch's rounding is spread between the
    // characters.
    QFont font = canvas.painter.font();
    const QString text = Characters(run.text);
    const double cells = canvas.Cell() * static_cast<double>(text.size());
    const double natural = QFontMetricsF(font, canvas.painter.device()).horizontalAdvance(text);
    if (natural > 0) {
      font.setStretch(std::clamp(static_cast<int>(std::lround(100 * cells / natural)), 1, 4000));
    }
    const double stretched = QFontMetricsF(font, canvas.painter.device()).horizontalAdvance(text);
    const double spacing =
        text.isEmpty() ? 0 : (cells - stretched) / static_cast<double>(text.size());
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    canvas.painter.setFont(font);
    indent = spacing / 2;
  }
  canvas.painter.drawText(QPointF(canvas.Left(run.at.column) + indent, baseline),
                          Characters(run.text));
}

void DrawGlyphs(Canvas& canvas, const sheet::GlyphRun& run) {
  const double top = canvas.Top(run.at.line);
  for (std::size_t i = 0; i < run.text.size(); ++i) {
    Glyph(canvas, run.font, run.text[i], canvas.Left(run.at.column + static_cast<int>(i)), top);
  }
  // The label the sheet carries beside glyphs: they are font shapes, not symbols to scan.
  QFont label("Nimbus Sans");
  label.setPointSizeF(6);
  label.setItalic(true);
  canvas.painter.setFont(label);
  const QString text =
      QString("[font glyphs, no scanner reads them%1]")
          .arg(run.approximate ? "; codes the font does not define print as spaces (approximate)"
                               : "; approximate size");
  canvas.painter.drawText(
      QPointF(canvas.Left(run.at.column + static_cast<int>(run.text.size())) + canvas.Cell() / 2,
              top + canvas.LineHeight() * kAscent),
      text);
}

}  // namespace quorvel::render
