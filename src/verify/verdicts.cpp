#include "verify/verdicts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "verify/glyph_profile.h"

namespace quorvel::verify {
namespace {

const std::vector<VerdictRow> kVerdicts{
    {Verdict::kAsExpected, "as expected", false, "green",
     "the block holds the symbol the printer's manual says the bytes print, with its data"},
    {Verdict::kOtherData, "other data", true, "amber",
     "the right symbology with other data: often a check digit the printer computed differently"},
    {Verdict::kOtherSymbology, "other symbology", true, "amber",
     "a symbol of another symbology where the block belongs (EAN-13 where the bytes select "
     "UPC-A)"},
    {Verdict::kUnreadable, "unreadable", true, "red",
     "ink where the symbol belongs, but no symbol decodes from it"},
    {Verdict::kNotFound, "not found", true, "red",
     "blank paper where the symbol belongs: the printer printed nothing there"},
    {Verdict::kUnexpected, "unexpected", true, "amber", "a symbol the sheet does not hold"},
    {Verdict::kGlyphs, "glyphs", false, "green",
     "the run is printed in the barcode font: its region shows the font's bars"},
    {Verdict::kText, "text", true, "red",
     "the run is printed as letters: the printer lacks the barcode font"},
    {Verdict::kBlank, "blank", true, "red", "nothing is printed where the run belongs"},
    {Verdict::kSizeDiffers, "size differs", true, "amber",
     "the right symbol with its data, but its bars' height or module is off the sheet's by more "
     "than the tolerance and what the picture can tell"},
};

std::string Fixed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A size against its tolerance, given how far the picture lets it be measured.
SizeCheck Check(double expected, double measured, double tolerance, double uncertainty) {
  SizeCheck check;
  check.expected = expected;
  check.measured = measured;
  check.tolerance = tolerance;
  check.uncertainty = uncertainty;
  if (measured <= 0 || expected <= 0) {
    check.state = SizeState::kNotMeasured;
    check.why = "its bars could not be measured";
  } else if (uncertainty > tolerance) {
    check.state = SizeState::kNotMeasured;
  } else {
    check.state = std::abs(measured - expected) > tolerance + uncertainty ? SizeState::kDiffers
                                                                          : SizeState::kWithin;
  }
  return check;
}

// Each edge found to within a dot.
constexpr double kEdgeDots = 1;

}  // namespace

const std::vector<VerdictRow>& VerdictTable() {
  return kVerdicts;
}

const VerdictRow& RowOf(Verdict verdict) {
  return kVerdicts[static_cast<std::size_t>(verdict)];
}

Verdict JudgeBarcode(const ExpectedBlock& block, const FoundSymbol* found, double ink) {
  if (found == nullptr) {
    return ink > kInkShare ? Verdict::kUnreadable : Verdict::kNotFound;
  }
  if (!found->known || found->symbology != block.symbology) {
    return Verdict::kOtherSymbology;
  }
  return found->data == block.data ? Verdict::kAsExpected : Verdict::kOtherData;
}

Verdict JudgeGlyphs(const ExpectedBlock& block, const RegionFinding& region) {
  if (region.ink <= kInkShare) {
    return Verdict::kBlank;
  }
  const double match =
      ProfileMatch(ExpectedColumns(block.font, block.data), region.columns, kGlyphShift);
  return match >= kGlyphMatch ? Verdict::kGlyphs : Verdict::kText;
}

bool HeightDiffers(double expected, double measured) {
  return CheckHeight(expected, measured, 0, 0).state == SizeState::kDiffers;
}

bool ModuleDiffers(double expected, double measured) {
  return CheckModule(expected, measured, 0, 0, 1).state == SizeState::kDiffers;
}

SizeCheck CheckHeight(double expected, double measured, double dotsAlong, double scaleError) {
  const double edges = dotsAlong > 0 ? 2 * kEdgeDots / dotsAlong : 0;
  SizeCheck check =
      Check(expected, measured, std::max(expected * kHeightTolerance, kHeightToleranceInches),
            edges + scaleError * expected);
  if (check.state == SizeState::kNotMeasured && check.why.empty()) {
    check.why = edges > check.tolerance
                    ? Fixed("%.0f dots an inch here", dotsAlong)
                    : Fixed("the placement's scale is uncertain by %.0f %%", scaleError * 100);
  }
  return check;
}

SizeCheck CheckModule(double expected, double measured, double dotsAcross, double scaleError,
                      int modulesSpanned) {
  // A span has two edges, each to within a dot; a narrow bar's width, the median of many, to
  // within one.
  const double dots = modulesSpanned > 1 ? 2 * kEdgeDots : kEdgeDots;
  const double edges = dotsAcross > 0 ? dots / (dotsAcross * std::max(1, modulesSpanned)) : 0;
  SizeCheck check =
      Check(expected, measured, expected * kModuleTolerance, edges + scaleError * expected);
  if (check.state == SizeState::kNotMeasured && check.why.empty()) {
    check.why = edges > check.tolerance
                    ? Fixed("%.1f dots a module here", dotsAcross * expected)
                    : Fixed("the placement's scale is uncertain by %.0f %%", scaleError * 100);
  }
  return check;
}

int ModulesSpanned(const ExpectedBlock& block) {
  if (block.glyphs || block.symbology == sheet::Symbology::kCode39 ||
      block.symbology == sheet::Symbology::kInterleaved2of5 || block.moduleInches <= 0) {
    return 1;
  }
  return std::max(1, static_cast<int>(std::lround(block.box.width / block.moduleInches)));
}

namespace {

// The reflectance a grade is made from means nothing under light nobody controlled: a photo's
// symbols are not graded at all, a scan's are.
void Grade(const Placement& placement, BlockResult& result) {
  if (placement.photo) {
    result.gradeWithheld = true;
    return;
  }
  result.grade = GradeSymbol(result.found->profiles, result.found->symbology);
}

}  // namespace

std::vector<BlockResult> JudgePage(const ExpectedPage& page, const PageFindings& findings) {
  std::vector<BlockResult> results;
  for (const ExpectedBlock& block : page.blocks) {
    BlockResult result;
    result.block = block.number;
    result.expected = &block;
    const auto region =
        std::find_if(findings.regions.begin(), findings.regions.end(),
                     [&block](const RegionFinding& r) { return r.block == block.number; });
    const RegionFinding finding = region != findings.regions.end() ? *region : RegionFinding{};
    if (block.glyphs) {
      result.verdict = JudgeGlyphs(block, finding);
      results.push_back(result);
      continue;
    }
    const auto symbol =
        std::find_if(findings.symbols.begin(), findings.symbols.end(),
                     [&block](const FoundSymbol& s) { return s.block == block.number; });
    result.found = symbol != findings.symbols.end() ? &*symbol : nullptr;
    result.verdict = JudgeBarcode(block, result.found, finding.ink);
    if (result.found != nullptr) {
      const FoundSymbol& f = *result.found;
      result.height = CheckHeight(block.heightInches, f.heightInches, f.dotsAlong, f.scaleError);
      result.module = CheckModule(block.moduleInches, f.moduleInches, f.dotsAcross, f.scaleError,
                                  ModulesSpanned(block));
      result.heightDiffers = result.height.state == SizeState::kDiffers;
      result.moduleDiffers = result.module.state == SizeState::kDiffers;
      Grade(findings.placement, result);
    }
    if (result.verdict == Verdict::kAsExpected && (result.heightDiffers || result.moduleDiffers)) {
      result.verdict = Verdict::kSizeDiffers;
    }
    results.push_back(result);
  }
  for (const FoundSymbol& symbol : findings.symbols) {
    const bool held = std::any_of(results.begin(), results.end(),
                                  [&symbol](const BlockResult& r) { return r.found == &symbol; });
    if (!held && symbol.reads >= kLeastReads) {
      BlockResult result;
      result.found = &symbol;
      result.verdict = Verdict::kUnexpected;
      Grade(findings.placement, result);
      results.push_back(result);
    }
  }
  return results;
}

std::map<std::string, int> Summary(const std::vector<BlockResult>& results) {
  std::map<std::string, int> counts;
  for (const BlockResult& result : results) {
    ++counts[RowOf(result.verdict).name];
  }
  return counts;
}

bool AnyDifference(const std::vector<BlockResult>& results) {
  return std::any_of(results.begin(), results.end(), [](const BlockResult& r) {
    return RowOf(r.verdict).differs || r.heightDiffers || r.moduleDiffers;
  });
}

}  // namespace quorvel::verify
