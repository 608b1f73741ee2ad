#pragma once

#include <string>
#include <vector>

#include "common/json_text.h"
#include "verify/scan_findings.h"
#include "verify/scan_module.h"
#include "verify/verdicts.h"

namespace quorvel::verify {

/// A page of the scan with the sheet it was matched with and the verdicts on its blocks.
struct PageResult {
  const PageFindings* findings = nullptr;
  const ExpectedPage* expected = nullptr;
  std::vector<BlockResult> blocks;
};

/// Said once in every report that carries grades.
inline constexpr char kGradeNote[] =
    "Grades are indicative, computed the way ISO/IEC 15416 grades linear symbols from 10 scan "
    "lines each: a scan is not a calibrated verifier (its aperture, light and reflectance are not "
    "measured).";

/// Said instead for a photo, whose symbols are not graded.
inline constexpr char kPhotoGradeNote[] =
    "Not graded: the picture is a photo. ISO/IEC 15416's reflectance parameters need controlled "
    "light, which a photo does not have; a photo says whether each symbol decodes and, where it "
    "resolves them, its sizes. Scan the sheet for a grade.";

/// "block 1 EAN-8 12345670: as expected, grade A (4.0), 0.50 in high"; an unexpected symbol is
/// "symbol".
std::string BlockLine(const BlockResult& result);

/// The page's heading: "scan.png page 1: the dot-matrix sheet, 300 dpi, turned 90, skewed 0.4";
/// for a photo "..., a photo, about 250 dpi, placed to 0.012 in" (the fit's error).
std::string PageHeading(const std::string& file, const PageResult& page);

/// "6 blocks: 5 as expected, 1 not found".
std::string SummaryLine(const std::vector<BlockResult>& results);

/// The whole text report: each page's heading, its block lines and its summary.
std::string TextReport(const std::string& file, const std::vector<PageResult>& pages);

/// One page as JSON: scan, sheet, blocks, summary, exitStatus.
json::Value PageJson(const std::string& file, const PageResult& page, int exitStatus);

/// Each block's region on the annotated scan, outlined in its verdict's colour.
std::vector<Label> LabelsOf(const PageResult& page);

/// The JSON report: the page's object for a one-page scan, else {"pages": [...], "exitStatus"}.
std::string JsonReport(const std::string& file, const std::vector<PageResult>& pages,
                       int exitStatus);

}  // namespace quorvel::verify
