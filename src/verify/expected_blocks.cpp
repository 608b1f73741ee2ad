#include "verify/expected_blocks.h"

#include <algorithm>
#include <vector>

namespace quorvel::verify {
namespace {

// Code 39: each character is five bars and four spaces, three of the nine wide, and a narrow
// space after it; the data is framed by the start and stop character '*'.
double Code39Width(const sheet::Barcode& b) {
  const double characters = static_cast<double>(b.data.size()) + 2;
  // On average a character has one wide space and two wide bars.
  const double character = 2 * b.wideInches + 3 * b.moduleInches + b.wideSpaceInches +
                           3 * b.spaceInches;
  return characters * (character + b.spaceInches) - b.spaceInches;
}

// Interleaved 2 of 5: each pair of digits is five bars and five spaces, two of each wide; the
// start is four narrow elements and the stop a wide bar, a narrow space and a narrow bar.
double Interleaved2of5Width(const sheet::Barcode& b) {
  const double pairs = static_cast<double>((b.data.size() + 1) / 2);
  const double pair = 2 * b.wideInches + 3 * b.moduleInches + 2 * b.wideSpaceInches +
                      3 * b.spaceInches;
  const double start = 2 * b.moduleInches + 2 * b.spaceInches;
  const double stop = b.wideInches + b.spaceInches + b.moduleInches;
  return pairs * pair + start + stop;
}

// Code 128: eleven modules a character (start, data, check) and thirteen for the stop; digits
// in pairs (code set C) where the data is all digits.
double Code128Width(const sheet::Barcode& b) {
  const bool digits = std::all_of(b.data.begin(), b.data.end(),
                                  [](char c) { return c >= '0' && c <= '9'; });
  const std::size_t data = digits ? (b.data.size() + 1) / 2 : b.data.size();
  return (11.0 * static_cast<double>(data + 2) + 13) * b.moduleInches;
}

ExpectedPage& PageOf(std::vector<ExpectedPage>& pages, int page) {
  return pages[static_cast<std::size_t>(std::clamp(page, 0, static_cast<int>(pages.size()) - 1))];
}

// Narrow bars of a symbology with wide and narrow ones: the mean of the runs nearer the
// narrowest than the widest.
double NarrowMean(const std::vector<double>& runs) {
  const auto [low, high] = std::minmax_element(runs.begin(), runs.end());
  const double split = (*low + *high) / 2.0;
  double sum = 0;
  int count = 0;
  for (double run : runs) {
    if (run <= split) {
      sum += run;
      ++count;
    }
  }
  return count > 0 ? sum / count : 0;
}

}  // namespace

double MeasuredModule(const std::vector<double>& bars, double spanDots, double dotsPerInch,
                      sheet::Symbology symbology, double inkInches) {
  if (bars.empty() || spanDots <= 0 || dotsPerInch <= 0) {
    return 0;
  }
  // The span runs from the first bar's left edge to the last bar's right one: the ink of both
  // reaches half its spread beyond the head's width.
  const double span = std::max(0.0, spanDots / dotsPerInch - inkInches);
  if (const int modules = FixedModules(symbology); modules > 0) {
    return span / modules;
  }
  if (symbology == sheet::Symbology::kCode128) {
    if (bars.size() < 7) {
      return 0;
    }
    // Three bars each eleven-module character, four in the thirteen-module stop.
    const double characters = (static_cast<double>(bars.size()) - 4) / 3;
    return span / (11 * characters + 13);
  }
  // Code 39 and 2 of 5: the narrow bar as printed is the head's narrow bar and the ink's spread.
  return std::max(0.0, NarrowMean(bars) / dotsPerInch - inkInches);
}

int FixedModules(sheet::Symbology symbology) {
  switch (symbology) {
    case sheet::Symbology::kEan8:
      return 67;
    case sheet::Symbology::kEan13:
    case sheet::Symbology::kUpcA:
      return 95;
    case sheet::Symbology::kUpcE:
      return 51;
    default:
      return 0;
  }
}

double SymbolWidthInches(const sheet::Barcode& barcode) {
  if (barcode.widthInches > 0) {  // the sheet's own: first bar to last, as the head draws it
    return barcode.widthInches;
  }
  switch (barcode.symbology) {
    case sheet::Symbology::kCode39:
      return Code39Width(barcode);
    case sheet::Symbology::kInterleaved2of5:
      return Interleaved2of5Width(barcode);
    case sheet::Symbology::kCode128:
      return Code128Width(barcode);
    default:
      return FixedModules(barcode.symbology) * barcode.moduleInches;
  }
}

std::vector<ExpectedPage> ExpectedPages(const sheet::Sheet& sheet, const std::string& name,
                                        sheet::Paper paper) {
  const sheet::PaperSize size = sheet::SizeOf(paper);
  const sheet::Geometry& g = sheet.geometry;
  std::vector<ExpectedPage> pages(static_cast<std::size_t>(std::max(sheet.pages, 1)));
  for (std::size_t i = 0; i < pages.size(); ++i) {
    pages[i] = {name, static_cast<int>(i), size.widthInches, size.heightInches, {}, {}};
  }
  const auto left = [&g](int column) { return g.leftInches + column / g.charactersPerInch; };
  const auto top = [&g](int line) { return g.topInches + line / g.linesPerInch; };
  for (const sheet::Barcode& barcode : sheet.barcodes) {
    ExpectedPage& page = PageOf(pages, barcode.at.page);
    ExpectedBlock block;
    block.number = static_cast<int>(page.blocks.size()) + 1;
    block.symbology = barcode.symbology;
    block.data = barcode.data;
    block.box = {left(barcode.at.column),
                 top(barcode.at.line), SymbolWidthInches(barcode), barcode.heightInches};
    block.heightInches = barcode.heightInches;
    block.moduleInches = barcode.moduleInches;
    block.inkInches = barcode.inkInches;
    page.blocks.push_back(block);
  }
  for (const sheet::TextRun& run : sheet.texts) {
    const std::size_t first = run.text.find_first_not_of(' ');
    if (first == std::string::npos) {
      continue;
    }
    const std::size_t last = run.text.find_last_not_of(' ');
    // The line's letters, their ascenders to their baseline: the upper three quarters of it.
    PageOf(pages, run.at.page)
        .texts.push_back({left(run.at.column + static_cast<int>(first)), top(run.at.line),
                          static_cast<double>(last - first + 1) / g.charactersPerInch,
                          0.75 / g.linesPerInch});
  }
  for (const sheet::GlyphRun& run : sheet.glyphs) {
    ExpectedPage& page = PageOf(pages, run.at.page);
    ExpectedBlock block;
    block.number = static_cast<int>(page.blocks.size()) + 1;
    block.glyphs = true;
    block.font = run.font;
    block.data = run.text;
    // A glyph fills its character cell's width and nine tenths of the line.
    block.box = {left(run.at.column), top(run.at.line),
                 static_cast<double>(run.text.size()) / g.charactersPerInch,
                 0.9 / g.linesPerInch};
    block.heightInches = block.box.height;
    page.blocks.push_back(block);
  }
  return pages;
}

}  // namespace quorvel::verify
