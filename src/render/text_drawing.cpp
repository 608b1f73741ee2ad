// Text and font glyphs, drawn the same on every platform through the canvas.

#include "render/canvas.h"
#include "sheet/glyph_tables.h"

namespace quorvel::render {
namespace {

constexpr double kAscent = 0.75;  // of the line height above the baseline

void Bars(Canvas& canvas, double left, double top, double unit, std::string_view pattern,
          double height) {
  double x = left;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const double width = (pattern[i] == '1' ? 3 : 1) * unit;
    if (i % 2 == 0) {
      canvas.Fill(x, top, width, height);
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
        canvas.Fill(left + i * cell / 7, top, cell / 7, height);
      }
    }
    return;
  }
  const std::string_view postnet = sheet::PostnetPattern(c);
  if (font == sheet::GlyphFont::kPostnet && !postnet.empty()) {
    for (std::size_t i = 0; i < postnet.size(); ++i) {
      const double barHeight = postnet[i] == '1' ? height : height * 0.4;
      canvas.Fill(left + i * cell / 5, top + height - barHeight, cell / 10, barHeight);
    }
    return;
  }
  canvas.Frame(left + cell * 0.15, top, cell * 0.7, height);
}

}  // namespace

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

void DrawText(Canvas& canvas, const sheet::TextRun& run) {
  canvas.CellText(run.text, run.typeface, canvas.Left(run.at.column),
                  canvas.Top(run.at.line) + canvas.LineHeight() * kAscent);
}

void DrawGlyphs(Canvas& canvas, const sheet::GlyphRun& run) {
  const double top = canvas.Top(run.at.line);
  for (std::size_t i = 0; i < run.text.size(); ++i) {
    Glyph(canvas, run.font, run.text[i], canvas.Left(run.at.column + static_cast<int>(i)), top);
  }
  // The label the sheet carries beside glyphs: they are font shapes, not symbols to scan.
  const std::string label =
      std::string("[font glyphs, no scanner reads them") +
      (run.approximate ? "; codes the font does not define print as spaces (approximate)"
                       : "; approximate size") +
      "]";
  canvas.Remark(label,
                canvas.Left(run.at.column + static_cast<int>(run.text.size())) + canvas.Cell() / 2,
                top + canvas.LineHeight() * kAscent);
}

}  // namespace quorvel::render
