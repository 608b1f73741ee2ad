// Feeds verify's portable core what a scan's reading could report, made up from arbitrary bytes:
// anchors to fit a placement to, symbols of any symbology with any data, outline, sizes and
// reflectance profiles, and block regions with any ink. Against the real sheets of both test
// pages it checks that the placement carries points there and back, that every expected block
// gets exactly one verdict in the sheet's order, that grades stay in range, that the text, JSON
// and HTML reports are written whatever the data (JSON parses, HTML carries no markup from the
// data) and that the summary counts every result. The sanitizers catch the rest.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "sheet/page_model.h"
#include "verify/expected_blocks.h"
#include "verify/html_report.h"
#include "verify/placement.h"
#include "verify/verdicts.h"
#include "verify/verify_report.h"

namespace verify = quorvel::verify;
using quorvel::sheet::Symbology;

namespace {

void Require(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

const std::vector<verify::ExpectedPage>& Candidates() {
  static const std::vector<verify::ExpectedPage> pages = [] {
    std::vector<verify::ExpectedPage> all;
    for (const auto& [name, job, dialect] :
         {std::tuple{"dot-matrix", quorvel::ComposeDotMatrixPage() + "\x0C",
                     quorvel::inspect::Dialect::kDotMatrix},
          std::tuple{"pcl", quorvel::ComposePclPage() + "\x0C", quorvel::inspect::Dialect::kPcl}}) {
      const quorvel::sheet::Sheet sheet = quorvel::sheet::Interpret(job, dialect);
      for (verify::ExpectedPage& page :
           verify::ExpectedPages(sheet, name, quorvel::sheet::Paper::kA4)) {
        all.push_back(std::move(page));
      }
    }
    return all;
  }();
  return pages;
}

double Coordinate(FuzzedDataProvider& in, double range) {
  return in.ConsumeFloatingPointInRange(-range, range);
}

verify::Point PointIn(FuzzedDataProvider& in, double range) {
  const double x = Coordinate(in, range);
  return {x, Coordinate(in, range)};
}

verify::FoundSymbol Symbol(FuzzedDataProvider& in, const verify::ExpectedPage& page,
                           const verify::Placement& placement) {
  verify::FoundSymbol s;
  s.known = in.ConsumeBool();
  s.symbology = static_cast<Symbology>(in.ConsumeIntegralInRange<int>(0, 6));
  // The decoder names its symbologies in ASCII.
  s.typeName = in.PickValueInArray({"DataBar", "QR-Code", "ISBN-13", "Codabar"});
  s.data = in.ConsumeRandomLengthString(48);
  for (int corner = 0; corner < 4; ++corner) {
    s.outline.push_back(PointIn(in, 20000));
  }
  s.box = placement.found ? verify::SheetBox(placement, s.outline)
                          : verify::Box{Coordinate(in, 20), Coordinate(in, 20),
                                        in.ConsumeFloatingPointInRange(0.0, 10.0),
                                        in.ConsumeFloatingPointInRange(0.0, 10.0)};
  s.block = in.ConsumeBool() ? verify::BlockAt(page, s.box)
                             : in.ConsumeIntegralInRange<int>(-1, 8);
  s.heightInches = in.ConsumeFloatingPointInRange(-1.0, 4.0);
  s.moduleInches = in.ConsumeFloatingPointInRange(-0.1, 0.2);
  s.reads = in.ConsumeIntegralInRange<int>(0, 200);
  s.quarterTurns = in.ConsumeIntegralInRange<int>(-1, 3);
  s.fromRegion = in.ConsumeBool();
  const int profiles = in.ConsumeIntegralInRange<int>(0, 4);
  for (int p = 0; p < profiles; ++p) {
    verify::Profile profile;
    profile.decodes = in.ConsumeBool();
    const int samples = in.ConsumeIntegralInRange<int>(0, 160);
    for (int k = 0; k < samples; ++k) {
      profile.samples.push_back(in.ConsumeProbability<double>());
    }
    s.profiles.push_back(std::move(profile));
  }
  return s;
}

// Markup from the data must not survive: no < > " ' and every & opens a reference.
void CheckEscaped(const std::string& html) {
  for (std::size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    Require(c != '<' && c != '>' && c != '"' && c != '\'');
    if (c == '&') {
      const std::size_t end = html.find(';', i);
      Require(end != std::string::npos && end - i <= 9);
    }
  }
}

void CheckPlacement(const verify::Placement& placement, FuzzedDataProvider& in) {
  if (!placement.found) {
    return;
  }
  Require(std::isfinite(placement.scale) && placement.scale >= 30 && placement.scale <= 5000);
  Require(placement.rotationDegrees > -180 - 1e-9 && placement.rotationDegrees <= 180 + 1e-9);
  const int turns = verify::QuarterTurns(placement.rotationDegrees);
  const double skew = verify::Skew(placement.rotationDegrees);
  Require(turns >= 0 && turns <= 3 && skew > -45 - 1e-9 && skew <= 45 + 1e-9);
  const verify::Point p = PointIn(in, 20);
  const verify::Point back = verify::ToSheet(placement, verify::ToPicture(placement, p));
  Require(std::abs(back.x - p.x) < 1e-6 && std::abs(back.y - p.y) < 1e-6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::vector<verify::ExpectedPage>& candidates = Candidates();
  const verify::ExpectedPage& page =
      candidates[in.ConsumeIntegralInRange<std::size_t>(0, candidates.size() - 1)];

  verify::PageFindings findings;
  findings.widthPixels = in.ConsumeIntegralInRange<int>(0, 20000);
  findings.heightPixels = in.ConsumeIntegralInRange<int>(0, 20000);
  std::vector<verify::Anchor> anchors(in.ConsumeIntegralInRange<std::size_t>(0, 6));
  for (verify::Anchor& anchor : anchors) {
    anchor.sheet = PointIn(in, 20);
    anchor.picture = PointIn(in, 20000);
  }
  findings.placement = verify::FitPlacement(anchors);
  CheckPlacement(findings.placement, in);
  if (findings.placement.found) {
    Require(std::isfinite(verify::LargestMiss(findings.placement, anchors)));
  }
  const int symbols = in.ConsumeIntegralInRange<int>(0, 8);
  for (int i = 0; i < symbols; ++i) {
    findings.symbols.push_back(Symbol(in, page, findings.placement));
  }
  for (const verify::ExpectedBlock& block : page.blocks) {
    if (in.ConsumeBool()) {
      continue;  // no region measured
    }
    verify::RegionFinding region;
    region.block = block.number;
    region.ink = in.ConsumeProbability<double>();
    const int columns = in.ConsumeIntegralInRange<int>(0, 400);
    for (int c = 0; c < columns; ++c) {
      region.columns.push_back(in.ConsumeProbability<double>());
    }
    findings.regions.push_back(std::move(region));
  }

  const std::vector<verify::BlockResult> results = verify::JudgePage(page, findings);
  Require(results.size() >= page.blocks.size());
  for (std::size_t i = 0; i < results.size(); ++i) {
    const verify::BlockResult& r = results[i];
    if (i < page.blocks.size()) {
      Require(r.expected == &page.blocks[i] && r.block == page.blocks[i].number);
      Require(!page.blocks[i].glyphs || r.found == nullptr);
    } else {
      Require(r.expected == nullptr && r.found != nullptr &&
              r.verdict == verify::Verdict::kUnexpected);
    }
    if (r.grade.graded) {
      Require(r.grade.value >= 0 && r.grade.value <= 4);
      Require(r.grade.letter == verify::GradeLetter(r.grade.value));
    }
    Require(verify::RowOf(r.verdict).verdict == r.verdict);
  }
  int counted = 0;
  for (const auto& [name, count] : verify::Summary(results)) {
    counted += count;
  }
  Require(counted == static_cast<int>(results.size()));

  const verify::PageResult result{&findings, &page, results};
  const int status = verify::AnyDifference(results) ? 7 : 0;
  Require(!verify::TextReport("scan.png", {result}).empty());
  Require(nlohmann::json::accept(verify::JsonReport("scan.png", {result}, status)));
  const std::string name = in.ConsumeRandomLengthString(32);
  CheckEscaped(verify::HtmlEscape(name));
  for (const verify::FoundSymbol& s : findings.symbols) {
    CheckEscaped(verify::HtmlEscape(s.data));
  }
  const verify::PagePictures pictures{{in.ConsumeRemainingBytesAsString(), ""}, {"", "none"}};
  const std::string html = verify::HtmlReport(name, {result}, {pictures}, status);
  Require(html.find("</html>") != std::string::npos);
  return 0;
}
