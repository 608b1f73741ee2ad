#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "inspect/job_item.h"

namespace quorvel::sheet {

/// The bytes of the job an item of the sheet comes from.
struct ByteSpan {
  std::size_t offset = 0;
  std::size_t length = 0;
  bool operator==(const ByteSpan&) const = default;
};

/// Where an item sits: page (0-based), line and column (0-based, in the printer's character
/// cells: 10 characters per inch, 6 lines per inch).
struct Position {
  int page = 0;
  int line = 0;
  int column = 0;
  bool operator==(const Position&) const = default;
};

/// Where an item rests on a guess rather than on a printer manual: each reason, worded for the
/// person holding the printout ("the print head's first position ... no manual fixes it").
/// Empty: the manuals settle the item. `explain` lists them under the item, `render` once.
using Guesses = std::vector<std::string>;

/// The typefaces the text is drawn in: Courier-like fixed pitch, or the sans serif face a
/// dot-matrix printer selects with ESC k 1.
enum class Typeface { kFixed, kSansSerif };

/// Printable characters laid down one per column, left to right.
struct TextRun {
  Position at;
  std::string text;  // the job's bytes; 0x80..0xFF stand for the printer's upper half
  Typeface typeface = Typeface::kFixed;
  ByteSpan bytes;
  Guesses approximate;
  bool operator==(const TextRun&) const = default;
};

enum class Symbology { kEan8, kEan13, kUpcA, kUpcE, kCode39, kInterleaved2of5, kCode128 };

/// "EAN-8", "UPC-A", "Code 128" ...
std::string SymbologyName(Symbology symbology);

/// A barcode the printer draws with its own barcode commands. `data` is what the bars encode,
/// check digit included where the symbology carries it as a character; `check` names a check the
/// printer computed ("0" for EAN-8 1234567@, "77" for a Code 128 check symbol).
struct Barcode {
  Position at;  // top left corner of the bars: the line of the print position
  Symbology symbology = Symbology::kEan8;
  std::string data;
  std::string check;        // empty: no check the printer computed
  double heightInches = 0;  // of the bars (EAN/UPC guard bars reach further, see guardInches)
  double guardInches = 0;   // extra length of EAN/UPC guard bars
  double moduleInches = 0;  // narrowest element
  double wideInches = 0;    // Code 39 / 2 of 5: the wide bar; 0 where the symbology has none
  double spaceInches = 0;   // Code 39 / 2 of 5: the narrow and the wide space
  double wideSpaceInches = 0;
  // EAN/UPC and Code 128: the printed width of a bar and of a space 1, 2, 3 and 4 modules wide
  // (a dot-matrix printer draws its bars narrower and its spaces wider than the module).
  std::array<double, 4> barWidths{};
  std::array<double, 4> spaceWidths{};
  // The widths above are the print head's; its dots spread the ink of each bar by this much
  // (half on each side) into the spaces around it.
  double inkInches = 0;
  double stopInches = 0;       // Code 128: the stop pattern's width (its characters: 11 modules)
  bool humanReadable = false;  // the text line under the bars
  // What that line reads where the printer prints it its own way, centred under the bars
  // (UPC-E: the digits without the check digit); empty: the symbology's usual layout.
  std::string humanText;
  char codeSet = 0;          // Code 128: the set the data names first, 'A', 'B' or 'C'
  std::vector<int> symbols;  // Code 128: the symbol values printed, start to stop
  double widthInches = 0;    // first bar to last: the head ends there
  ByteSpan bytes;            // the data command; `settings` names the parameter command
  ByteSpan settings;
  Guesses approximate;
  bool operator==(const Barcode&) const = default;
};

/// The barcode fonts PCL printers carry as symbol sets: 0Y (Code 39), 8Y (EAN/UPC), 15Y (POSTNET).
enum class GlyphFont { kCode39, kEanUpc, kPostnet };

/// Characters printed in a barcode font: each character is one glyph from the font, no start or
/// stop characters added. Glyph shapes are drawn from small tables; `approximate` marks runs that
/// hold a character no public reference gives a glyph for.
struct GlyphRun {
  Position at;
  GlyphFont font = GlyphFont::kCode39;
  std::string text;
  bool approximate = true;
  ByteSpan bytes;
  bool operator==(const GlyphRun&) const = default;
};

/// What the printer ignores, refuses or cannot be drawn from: "ESC k 126: no such typeface,
/// ignored".
struct Note {
  Position at;
  std::string text;
  ByteSpan bytes;
  bool operator==(const Note&) const = default;
};

/// A caption or description line that says something other than what the bytes after it ask for.
struct Disagreement {
  ByteSpan caption;  // the text line
  ByteSpan item;     // the command or data it describes
  std::string text;  // "says EAN13, the bytes select UPC-A"
  bool operator==(const Disagreement&) const = default;
};

/// Where a sheet ends: a form feed, a line feed past the last line, or a reset that ejects.
struct PageBreak {
  int page = 0;    // the sheet that ends (0-based)
  ByteSpan bytes;  // the byte that ends it
  bool operator==(const PageBreak&) const = default;
};

/// The page geometry the printer works with, in inches and character cells.
struct Geometry {
  double leftInches = 0;  // of column 0 from the sheet's left edge
  double topInches = 0;   // of line 0's top from the sheet's top edge
  double charactersPerInch = 10;
  double linesPerInch = 6;
  int columns = 80;  // characters beyond this wrap (dot matrix) or are clipped (PCL)
  int lines = 66;    // lines per page
  Guesses approximate;
  bool operator==(const Geometry&) const = default;
};

/// The sheets a printer prints from a job.
struct Sheet {
  inspect::Dialect dialect = inspect::Dialect::kDotMatrix;
  Geometry geometry;
  int pages = 0;  // sheets that come out: each form feed ends one
  std::vector<TextRun> texts;
  std::vector<Barcode> barcodes;
  std::vector<GlyphRun> glyphs;
  std::vector<Note> notes;
  std::vector<Disagreement> disagreements;
  std::vector<PageBreak> pageBreaks;
  bool cutOff = false;  // the job asked for more pages than are drawn
};

enum class Paper { kA4, kLetter };

struct PaperSize {
  double widthInches;
  double heightInches;
};

PaperSize SizeOf(Paper paper);

/// The most pages a sheet holds; what the job prints beyond is left out, with a note.
inline constexpr int kMaxPages = 100;

/// At most this many barcodes are drawn; further ones are noted.
inline constexpr std::size_t kMaxBarcodes = 1000;

/// At most this many notes are kept; a last one says how many more there were.
inline constexpr std::size_t kMaxNotes = 500;

/// The reasons a glyph run rests on a guess (every run: the fonts' sizes are the printer's own).
Guesses GuessesOf(const GlyphRun& run);

/// Every reason the sheet rests on a guess, each once, in the order the items come.
std::vector<std::string> Approximations(const Sheet& sheet);

/// A dot-matrix printer's carriage: 80 columns, or 136 on a wide-carriage model (MICROLINE 3391).
inline constexpr int kNarrowColumns = 80;
inline constexpr int kWideColumns = 136;

/// Reads `job` as a printer of `dialect` does and returns what it prints. Never fails: any bytes
/// give a sheet, bounded by kMaxPages. `columns`: the dot-matrix printer's line length (a PCL
/// page's width follows from the paper).
Sheet Interpret(std::string_view job, inspect::Dialect dialect, Paper paper = Paper::kA4,
                int columns = kNarrowColumns);

}  // namespace quorvel::sheet
