#include "sheet/listing_notes.h"

#include <algorithm>
#include <cstdio>

#include "sheet/glyph_tables.h"

namespace quorvel::sheet {
namespace {

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The listing line holding `offset`; the last line when the offset lies beyond them all.
inspect::ListingLine* LineAt(inspect::Listing& listing, std::size_t offset) {
  if (listing.lines.empty()) {
    return nullptr;
  }
  auto after = std::upper_bound(
      listing.lines.begin(), listing.lines.end(), offset,
      [](std::size_t at, const inspect::ListingLine& line) { return at < line.line.offset; });
  return after == listing.lines.begin() ? &listing.lines.front() : &*(after - 1);
}

std::string CheckText(const Barcode& barcode) {
  if (barcode.check.empty()) {
    return "";
  }
  if (barcode.symbology == Symbology::kCode128) {
    return " (check symbol " + barcode.check + " added by the printer)";
  }
  if (barcode.symbology == Symbology::kUpcE) {
    return " (number system 0; check digit " + barcode.check + " carried by the parity)";
  }
  return " (check digit " + barcode.check + " added by the printer)";
}

std::string DescribeGlyphs(const GlyphRun& run) {
  const char* const label = run.font == GlyphFont::kCode39   ? " (Code 39)"
                            : run.font == GlyphFont::kEanUpc ? " (EAN/UPC)"
                                                             : " (POSTNET)";
  const std::string font = std::string(SymbolSetOf(run.font)) + label;
  return "glyphs of the " + font + " font for " + std::to_string(run.text.size()) +
         " characters, one pattern each, no start or stop: no scanner reads them";
}

void AddGuesses(inspect::ListingLine& line, const Guesses& guesses) {
  for (const std::string& reason : guesses) {
    line.notes.push_back("approximate: " + reason);
  }
}

}  // namespace

std::string DescribeBarcode(const Barcode& barcode) {
  std::string text = "barcode " + SymbologyName(barcode.symbology) + " " + barcode.data +
                     CheckText(barcode) + ", bars " + Fixed(barcode.heightInches, 2) +
                     " in high, module " + Fixed(barcode.moduleInches, 4) + " in";
  if (barcode.wideInches > 0) {
    text += ", wide bar " + Fixed(barcode.wideInches, 4) + " in";
  }
  return text + ", human-readable line " + (barcode.humanReadable ? "on" : "off");
}

void AddSheetNotes(inspect::Listing& listing, const Sheet& sheet) {
  if (!listing.lines.empty()) {
    AddGuesses(listing.lines.front(), sheet.geometry.approximate);
  }
  // A text run's guesses are listed where they begin, not again for each run that shares them.
  const Guesses* previous = nullptr;
  for (const TextRun& run : sheet.texts) {
    inspect::ListingLine* line = LineAt(listing, run.bytes.offset);
    if (line != nullptr && !run.approximate.empty() &&
        (previous == nullptr || *previous != run.approximate)) {
      AddGuesses(*line, run.approximate);
    }
    previous = &run.approximate;
  }
  for (const Barcode& barcode : sheet.barcodes) {
    if (inspect::ListingLine* line = LineAt(listing, barcode.bytes.offset)) {
      line->notes.push_back(DescribeBarcode(barcode));
      AddGuesses(*line, barcode.approximate);
    }
  }
  for (const GlyphRun& run : sheet.glyphs) {
    if (inspect::ListingLine* line = LineAt(listing, run.bytes.offset)) {
      line->notes.push_back(DescribeGlyphs(run));
      AddGuesses(*line, GuessesOf(run));
    }
  }
  for (const Disagreement& disagreement : sheet.disagreements) {
    inspect::ListingLine* caption = LineAt(listing, disagreement.caption.offset);
    inspect::ListingLine* line = LineAt(listing, disagreement.item.offset);
    if (caption != nullptr && line != nullptr) {
      line->notes.push_back("! the text on line " + std::to_string(caption->line.number) + " " +
                            disagreement.text);
    }
  }
  for (const PageBreak& pageBreak : sheet.pageBreaks) {
    if (inspect::ListingLine* line = LineAt(listing, pageBreak.bytes.offset)) {
      line->notes.push_back("sheet " + std::to_string(pageBreak.page + 1) + " ends here");
    }
  }
  for (const Note& note : sheet.notes) {
    if (inspect::ListingLine* line = LineAt(listing, note.bytes.offset)) {
      line->notes.push_back("note: " + note.text);
    }
  }
}

}  // namespace quorvel::sheet
