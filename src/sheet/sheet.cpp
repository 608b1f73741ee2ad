#include <algorithm>
#include <cmath>

#include "sheet/guesses.h"
#include "sheet/interpreters.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

// A dot-matrix printer: the print head starts a quarter inch in and a third of an inch below the
// sheet's top edge (the usual tear-off position); 80 columns of 10 characters per inch (136 on a
// wide carriage); the form length is the sheet's.
Geometry DotMatrixGeometry(PaperSize size, int columns) {
  return {0.25,
          1.0 / 3,
          10,
          6,
          columns,
          static_cast<int>(std::floor(size.heightInches * 6 + 1e-9)),
          {kHeadStartGuess}};
}

// PCL's default page: the logical page is 2400 dots (at 300 dots per inch) wide on letter paper
// and 2338 on A4, centred on the sheet's 2550 and 2480: its left edge lies 75 and 71 dots in; the
// top margin is half an inch, and the text length is the page length less one inch.
Geometry PclGeometry(Paper paper) {
  const bool letter = paper == Paper::kLetter;
  const double left = (letter ? 75 : 71) / 300.0;
  const double width = (letter ? 2400 : 2338) / 300.0;
  const double height = SizeOf(paper).heightInches;
  return {left,
          0.5,
          10,
          6,
          static_cast<int>(std::floor(width * 10 + 1e-9)),
          static_cast<int>(std::floor((height - 1) * 6 + 1e-9)),
          {}};
}

}  // namespace

std::string SymbologyName(Symbology symbology) {
  switch (symbology) {
    case Symbology::kEan8:
      return "EAN-8";
    case Symbology::kEan13:
      return "EAN-13";
    case Symbology::kUpcA:
      return "UPC-A";
    case Symbology::kUpcE:
      return "UPC-E";
    case Symbology::kCode39:
      return "Code 39";
    case Symbology::kInterleaved2of5:
      return "Interleaved 2 of 5";
    case Symbology::kCode128:
      break;
  }
  return "Code 128";
}

std::string PowerOnGuess(const std::string& what, const std::string& value) {
  return what +
         ": the job never sets it, and no manual gives the printer's power-on value: "
         "taken as " +
         value;
}

Guesses GuessesOf(const GlyphRun& run) {
  Guesses guesses{kGlyphSizeGuess};
  if (run.approximate) {
    guesses.emplace_back(kUndefinedCodeGuess);
  }
  return guesses;
}

std::vector<std::string> Approximations(const Sheet& sheet) {
  std::vector<std::string> reasons;
  const auto add = [&reasons](const Guesses& guesses) {
    for (const std::string& reason : guesses) {
      if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end()) {
        reasons.push_back(reason);
      }
    }
  };
  add(sheet.geometry.approximate);
  for (const TextRun& run : sheet.texts) {
    add(run.approximate);
  }
  for (const Barcode& barcode : sheet.barcodes) {
    add(barcode.approximate);
  }
  for (const GlyphRun& run : sheet.glyphs) {
    add(GuessesOf(run));
  }
  return reasons;
}

PaperSize SizeOf(Paper paper) {
  return paper == Paper::kLetter ? PaperSize{8.5, 11} : PaperSize{210 / 25.4, 297 / 25.4};
}

Sheet Interpret(std::string_view job, inspect::Dialect dialect, Paper paper, int columns) {
  Sheet sheet;
  sheet.dialect = dialect;
  if (dialect == inspect::Dialect::kPcl) {
    sheet.geometry = PclGeometry(paper);
    ReadPcl(job, sheet);
  } else {
    sheet.geometry = DotMatrixGeometry(SizeOf(paper), columns);
    ReadDotMatrix(job, sheet);
  }
  CheckDescriptions(sheet);
  return sheet;
}

}  // namespace quorvel::sheet
