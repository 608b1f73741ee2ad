#pragma once

#include <map>
#include <string>
#include <vector>

#include "verify/grade.h"
#include "verify/scan_findings.h"

namespace quorvel::verify {

enum class Verdict {
  kAsExpected,      // the symbol the block should hold, with its data
  kOtherData,       // the block's symbology with other data
  kOtherSymbology,  // a symbol of another symbology where the block belongs
  kUnreadable,      // ink where the symbol belongs, but nothing decodes
  kNotFound,        // blank where the symbol belongs
  kUnexpected,      // a symbol the sheet does not hold
  kGlyphs,          // a glyph run printed in its barcode font
  kText,            // a glyph run printed as letters: the printer lacks the font
  kBlank,           // nothing where a glyph run belongs
  kSizeDiffers,     // the symbol the block should hold, but its height or module is off
};

/// What a verdict means: its name in reports, whether it counts as a difference, its colour on
/// the annotated scan and a sentence for the report's reader.
struct VerdictRow {
  Verdict verdict;
  const char* name;
  bool differs;
  const char* colour;  // "green", "amber" or "red"
  const char* meaning;
};

const VerdictRow& RowOf(Verdict verdict);

/// Every verdict, in the enumeration's order.
const std::vector<VerdictRow>& VerdictTable();

/// Above this share of dark dots a region holds ink; below it, the region is blank paper.
inline constexpr double kInkShare = 0.02;
/// A glyph run's region whose column profile matches the font's this well (a correlation) holds
/// the glyphs; letters printed instead match far less.
inline constexpr double kGlyphMatch = 0.4;
/// How far, in columns, the measured profile may be off the expected one (a 32nd of a cell each).
inline constexpr int kGlyphShift = 6;
/// A measured bar height differs past this share of the expected one, or 0.03 in if that is more.
inline constexpr double kHeightTolerance = 0.10;
inline constexpr double kHeightToleranceInches = 0.03;
/// A measured module differs past this share of the expected one.
inline constexpr double kModuleTolerance = 0.25;

/// A symbol outside every block that fewer scan lines than this read is print speckle the
/// decoder took for a short symbol, not a symbol on the sheet.
inline constexpr int kLeastReads = 3;

/// A barcode block's verdict: from the symbol read in its region (nullptr when none) and the
/// share of ink in the region.
Verdict JudgeBarcode(const ExpectedBlock& block, const FoundSymbol* found, double ink);

/// A glyph run's verdict, from what its region holds.
Verdict JudgeGlyphs(const ExpectedBlock& block, const RegionFinding& region);

/// Whether a measured length differs from the expected one past its tolerance (a length not
/// measured, 0, never differs).
bool HeightDiffers(double expected, double measured);
bool ModuleDiffers(double expected, double measured);

/// How a measured size stands against the sheet's: within its tolerance, past it by more than
/// the measure's uncertainty, or not measured (the picture cannot tell, and why).
enum class SizeState { kWithin, kDiffers, kNotMeasured };
struct SizeCheck {
  SizeState state = SizeState::kWithin;
  double expected = 0;     // inches
  double measured = 0;     // inches; 0 when nothing was measured
  double tolerance = 0;    // inches either way
  double uncertainty = 0;  // inches either way, from the picture's resolution and the placement
  std::string why;         // for a size not measured
};

/// A bar height measured `dotsAlong` dots an inch along the bars, where the placement's scale may
/// be off by the share `scaleError` (0, 0: a measure taken as exact). Each end is found to within
/// a dot. Not measured where that uncertainty passes the tolerance; differs only past both.
SizeCheck CheckHeight(double expected, double measured, double dotsAlong, double scaleError);

/// A module measured `dotsAcross` dots an inch across the bars, over `modulesSpanned` modules
/// (1 where it is taken from the narrow bars themselves): a span's two edges each to within a
/// dot, a narrow bar's width (the median of many) to within one.
SizeCheck CheckModule(double expected, double measured, double dotsAcross, double scaleError,
                      int modulesSpanned);

/// The modules a block's module is measured over: its whole width for the symbologies measured
/// from their span, 1 for Code 39 and 2 of 5 (measured from their narrow bars).
int ModulesSpanned(const ExpectedBlock& block);

/// One line of the result: an expected block (or, with block 0, an unexpected symbol).
struct BlockResult {
  int block = 0;
  const ExpectedBlock* expected = nullptr;
  const FoundSymbol* found = nullptr;
  Verdict verdict = Verdict::kNotFound;
  bool heightDiffers = false;
  bool moduleDiffers = false;
  SymbolGrade grade;  // of the symbol found; not graded when there is none
  SizeCheck height{};
  SizeCheck module{};
  bool gradeWithheld = false;  // a photo: the light is not controlled, no grade is given
};

/// The verdict on each of the page's blocks (a symbol whose size differs is `size differs`; a
/// photo's symbols are not graded), then each symbol no block holds (speckle left out).
std::vector<BlockResult> JudgePage(const ExpectedPage& page, const PageFindings& findings);

/// How many blocks got each verdict, by the verdict's name.
std::map<std::string, int> Summary(const std::vector<BlockResult>& results);

/// True when any block differs from the sheet: a verdict that differs, or a measured height or
/// module out of tolerance.
bool AnyDifference(const std::vector<BlockResult>& results);

}  // namespace quorvel::verify
