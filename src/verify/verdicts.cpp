#include "verify/verdicts.h"

#include <algorithm>
#include <cmath>

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
};

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
  if (measured <= 0 || expected <= 0) {
    return false;
  }
  return std::abs(measured - expected) >
         std::max(expected * kHeightTolerance, kHeightToleranceInches);
}

bool ModuleDiffers(double expected, double measured) {
  if (measured <= 0 || expected <= 0) {
    return false;
  }
  return std::abs(measured - expected) > expected * kModuleTolerance;
}

std::vector<BlockResult> JudgePage(const ExpectedPage& page, const PageFindings& findings) {
  std::vector<BlockResult> results;
  for (const ExpectedBlock& block : page.blocks) {
    BlockResult result;
    result.block = block.number;
    result.expected = &block;
    const auto region = std::find_if(findings.regions.begin(), findings.regions.end(),
                                     [&block](const RegionFinding& r) {
                                       return r.block == block.number;
                                     });
    const RegionFinding finding = region != findings.regions.end() ? *region : RegionFinding{};
    if (block.glyphs) {
      result.verdict = JudgeGlyphs(block, finding);
      results.push_back(result);
      continue;
    }
    const auto symbol = std::find_if(findings.symbols.begin(), findings.symbols.end(),
                                     [&block](const FoundSymbol& s) {
                                       return s.block == block.number;
                                     });
    result.found = symbol != findings.symbols.end() ? &*symbol : nullptr;
    result.verdict = JudgeBarcode(block, result.found, finding.ink);
    if (result.found != nullptr) {
      result.heightDiffers = HeightDiffers(block.heightInches, result.found->heightInches);
      result.moduleDiffers = ModuleDiffers(block.moduleInches, result.found->moduleInches);
      result.grade = GradeSymbol(result.found->profiles, result.found->symbology);
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
      result.grade = GradeSymbol(symbol.profiles, symbol.symbology);
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
