#include "verify/glyph_profile.h"

#include <algorithm>
#include <cmath>

#include "sheet/glyph_tables.h"

namespace quorvel::verify {
namespace {

void Fill(std::vector<double>& cell, double from, double to, double value) {
  const int first = std::max(0, static_cast<int>(std::lround(from * kColumnsPerCell)));
  const int last = std::min(kColumnsPerCell, static_cast<int>(std::lround(to * kColumnsPerCell)));
  for (int i = first; i < last; ++i) {
    cell[static_cast<std::size_t>(i)] = std::max(cell[static_cast<std::size_t>(i)], value);
  }
}

// One character cell, positions as shares of the cell's width.
std::vector<double> Cell(sheet::GlyphFont font, char c) {
  std::vector<double> cell(kColumnsPerCell, 0.0);
  const std::string_view code39 = sheet::Code39Pattern(c);
  const std::string_view ean = sheet::EanPattern(c);
  const std::string_view postnet = sheet::PostnetPattern(c);
  if (font == sheet::GlyphFont::kCode39 && !code39.empty()) {
    double x = 0;
    for (std::size_t i = 0; i < code39.size(); ++i) {
      const double width = (code39[i] == '1' ? 3 : 1) / 16.0;
      if (i % 2 == 0) {
        Fill(cell, x, x + width, 1);
      }
      x += width;
    }
  } else if (font == sheet::GlyphFont::kEanUpc && !ean.empty()) {
    for (std::size_t i = 0; i < ean.size(); ++i) {
      if (ean[i] == '1') {
        Fill(cell, i / 7.0, (i + 1) / 7.0, 1);
      }
    }
  } else if (font == sheet::GlyphFont::kPostnet && !postnet.empty()) {
    for (std::size_t i = 0; i < postnet.size(); ++i) {
      Fill(cell, i / 5.0, i / 5.0 + 0.1, postnet[i] == '1' ? 1 : 0.4);
    }
  } else {
    // An outlined box, its sides solid, its top and bottom thin.
    Fill(cell, 0.15, 0.85, 0.05);
    Fill(cell, 0.15, 0.15 + 1.0 / kColumnsPerCell, 1);
    Fill(cell, 0.85 - 1.0 / kColumnsPerCell, 0.85, 1);
  }
  return cell;
}

std::vector<double> Smoothed(const std::vector<double>& values) {
  std::vector<double> out(values.size(), 0);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double before = i > 0 ? values[i - 1] : values[i];
    const double after = i + 1 < values.size() ? values[i + 1] : values[i];
    out[i] = (before + values[i] + after) / 3;
  }
  return out;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b, int shift) {
  double sumA = 0, sumB = 0, sumAB = 0, sumAA = 0, sumBB = 0;
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const long j = static_cast<long>(i) + shift;
    if (j < 0 || j >= static_cast<long>(b.size())) {
      continue;
    }
    const double x = a[i], y = b[static_cast<std::size_t>(j)];
    sumA += x;
    sumB += y;
    sumAB += x * y;
    sumAA += x * x;
    sumBB += y * y;
    ++n;
  }
  if (n < 2) {
    return 0;
  }
  const double covariance = sumAB - sumA * sumB / n;
  const double spread = (sumAA - sumA * sumA / n) * (sumBB - sumB * sumB / n);
  return spread > 1e-12 ? covariance / std::sqrt(spread) : 0;
}

}  // namespace

std::vector<double> ExpectedColumns(sheet::GlyphFont font, const std::string& text) {
  std::vector<double> columns;
  for (char c : text) {
    const std::vector<double> cell = Cell(font, c);
    columns.insert(columns.end(), cell.begin(), cell.end());
  }
  return columns;
}

double ProfileMatch(const std::vector<double>& expected, const std::vector<double>& measured,
                    int maxShift) {
  const std::vector<double> a = Smoothed(expected), b = Smoothed(measured);
  double best = 0;
  for (int shift = -maxShift; shift <= maxShift; ++shift) {
    best = std::max(best, Correlation(a, b, shift));
  }
  return best;
}

}  // namespace quorvel::verify
