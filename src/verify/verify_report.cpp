#include "verify/verify_report.h"

#include <cmath>
#include <cstdio>

#include "sheet/glyph_tables.h"
#include "verify/placement.h"

namespace quorvel::verify {
namespace {

std::string Inches(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f in", value);
  return text;
}

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string FoundName(const FoundSymbol& found) {
  return found.known ? sheet::SymbologyName(found.symbology) : found.typeName;
}

// What was read where it differs from what the block should hold.
std::string Reading(const BlockResult& r) {
  switch (r.verdict) {
    case Verdict::kOtherData:
      return " (reads " + r.found->data + ")";
    case Verdict::kOtherSymbology:
      return " (reads " + FoundName(*r.found) + " " + r.found->data + ")";
    default:
      return {};
  }
}

std::string Measures(const BlockResult& r) {
  std::string text;
  if (r.found == nullptr || r.expected == nullptr) {
    return text;
  }
  if (r.found->heightInches > 0 && r.height.state == SizeState::kNotMeasured) {
    text += ", height not measured (" + r.height.why + ")";
  } else if (r.found->heightInches > 0) {
    text += ", " + Inches(r.found->heightInches) + " high";
    if (r.heightDiffers) {
      text += " (differs: " + Inches(r.expected->heightInches) + " expected)";
    }
  }
  if (r.found->moduleInches > 0 && r.module.state == SizeState::kNotMeasured) {
    text += ", module not measured (" + r.module.why + ")";
  } else if (r.moduleDiffers) {
    char module[96];
    std::snprintf(module, sizeof module, ", module %.4f in (differs: %.4f in expected)",
                  r.found->moduleInches, r.expected->moduleInches);
    text += module;
  }
  return text;
}

// "EAN-8", or for a glyph run its font's symbol set: "0Y glyphs".
std::string ExpectedName(const ExpectedBlock& block) {
  return block.glyphs ? std::string(sheet::SymbolSetOf(block.font)) + " glyphs"
                      : sheet::SymbologyName(block.symbology);
}

json::Value BoxJson(const Box& box) {
  return {{"left", box.left}, {"top", box.top}, {"width", box.width}, {"height", box.height}};
}

json::Value ExpectedJson(const ExpectedBlock& block) {
  json::Value expected;
  expected["symbology"] = ExpectedName(block);
  expected["data"] = json::JobText(block.data);
  expected["height"] = block.heightInches;
  expected["module"] = block.glyphs ? json::Value(nullptr) : json::Value(block.moduleInches);
  return expected;
}

json::Value FoundJson(const FoundSymbol* found) {
  if (found == nullptr) {
    return nullptr;
  }
  json::Value value;
  value["symbology"] = FoundName(*found);
  value["data"] = json::JobText(found->data);
  value["box"] = BoxJson(found->box);
  value["height"] = found->heightInches > 0 ? json::Value(found->heightInches) : nullptr;
  value["module"] = found->moduleInches > 0 ? json::Value(found->moduleInches) : nullptr;
  return value;
}

const char* StateName(SizeState state) {
  switch (state) {
    case SizeState::kWithin:
      return "within";
    case SizeState::kDiffers:
      return "differs";
    case SizeState::kNotMeasured:
      break;
  }
  return "not measured";
}

// Each size against the sheet's: measured, expected, by how much and how sure.
json::Value SizesJson(const BlockResult& r) {
  if (r.found == nullptr || r.expected == nullptr) {
    return nullptr;
  }
  json::Value sizes;
  for (const auto& [name, check] : {std::pair{"height", &r.height}, {"module", &r.module}}) {
    json::Value size{{"state", StateName(check->state)},
                     {"expected", check->expected},
                     {"tolerance", check->tolerance},
                     {"uncertainty", check->uncertainty}};
    size["measured"] = check->measured > 0 ? json::Value(check->measured) : nullptr;
    size["by"] = check->measured > 0 ? json::Value(check->measured - check->expected) : nullptr;
    size["why"] = check->why.empty() ? json::Value(nullptr) : json::Value(check->why);
    sizes[name] = size;
  }
  return sizes;
}

// How the sheet was placed on the picture: the kind of picture, the fit and its error.
json::Value FitJson(const Placement& p) {
  json::Value fit;
  fit["model"] = p.perspective ? "perspective" : "scale and turn";
  if (p.perspective) {
    fit["homography"] = json::Value::array();
    for (double m : p.homography) {
      fit["homography"].push_back(m);
    }
  }
  fit["points"] = p.perspective ? p.fitAnchors : p.anchors;
  fit["held"] = p.perspective ? p.fitInliers : p.anchors;
  fit["errorInches"] = p.errorInches;
  return fit;
}

json::Value GradeJson(const SymbolGrade& grade) {
  if (!grade.graded) {
    return nullptr;
  }
  return {{"letter", std::string(1, grade.letter)},
          {"value", grade.value},
          {"contrast", grade.contrast},
          {"modulation", grade.modulation},
          {"defects", grade.defects},
          {"decodability", grade.decodability}};
}

bool AnyGraded(const std::vector<PageResult>& pages) {
  for (const PageResult& page : pages) {
    for (const BlockResult& r : page.blocks) {
      if (r.grade.graded) {
        return true;
      }
    }
  }
  return false;
}

bool AnyPhoto(const std::vector<PageResult>& pages) {
  for (const PageResult& page : pages) {
    if (page.findings->placement.photo) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string BlockLine(const BlockResult& r) {
  std::string line;
  if (r.expected == nullptr) {
    line = "symbol " + FoundName(*r.found) + " " + r.found->data;
  } else {
    const ExpectedBlock& e = *r.expected;
    line = "block " + std::to_string(e.number) + " " + ExpectedName(e) + " " + e.data;
  }
  const std::string grade = r.grade.graded    ? ", " + GradeText(r.grade)
                            : r.gradeWithheld ? std::string(", not graded (a photo)")
                                              : std::string();
  return line + ": " + RowOf(r.verdict).name + Reading(r) + grade + Measures(r);
}

std::string PageHeading(const std::string& file, const PageResult& page) {
  const PageFindings& f = *page.findings;
  std::string heading =
      file + " page " + std::to_string(f.page + 1) + ": the " + page.expected->sheet + " sheet";
  if (page.expected->page > 0) {
    heading += " (page " + std::to_string(page.expected->page + 1) + ")";
  }
  if (f.placement.photo) {
    heading += ", a photo, about ";
  } else {
    heading += ", ";
  }
  heading += std::to_string(static_cast<int>(std::lround(f.placement.scale))) + " dpi";
  if (f.placement.photo) {
    char fit[48];
    std::snprintf(fit, sizeof fit, ", placed to %.3f in", f.placement.errorInches);
    heading += fit;
  }
  const int turns = QuarterTurns(f.placement.rotationDegrees);
  if (turns != 0) {
    heading += ", turned " + std::to_string(turns * 90);
  }
  const double skew = Skew(f.placement.rotationDegrees);
  if (std::abs(skew) >= 0.05) {
    heading += ", skewed " + Degrees(skew);
  }
  return heading;
}

std::string SummaryLine(const std::vector<BlockResult>& results) {
  int blocks = 0;
  for (const BlockResult& r : results) {
    blocks += r.expected != nullptr ? 1 : 0;
  }
  std::string line = std::to_string(blocks) + (blocks == 1 ? " block" : " blocks");
  const char* separator = ": ";
  for (const VerdictRow& row : VerdictTable()) {
    const auto counts = Summary(results);
    const auto count = counts.find(row.name);
    if (count != counts.end()) {
      line += separator + std::to_string(count->second) + " " + row.name;
      separator = ", ";
    }
  }
  return line;
}

std::string TextReport(const std::string& file, const std::vector<PageResult>& pages) {
  std::string text;
  for (const PageResult& page : pages) {
    text += PageHeading(file, page) + "\n";
    for (const BlockResult& r : page.blocks) {
      text += BlockLine(r) + "\n";
    }
    text += SummaryLine(page.blocks) + "\n";
  }
  if (AnyGraded(pages)) {
    text += std::string(kGradeNote) + "\n";
  }
  if (AnyPhoto(pages)) {
    text += std::string(kPhotoGradeNote) + "\n";
  }
  return text;
}

json::Value PageJson(const std::string& file, const PageResult& page, int exitStatus) {
  const PageFindings& f = *page.findings;
  json::Value value;
  value["scan"] = {{"file", file},
                   {"page", f.page + 1},
                   {"dpi", f.placement.scale},
                   {"rotation", QuarterTurns(f.placement.rotationDegrees) * 90},
                   {"skew", Skew(f.placement.rotationDegrees)},
                   {"kind", f.placement.photo ? "photo" : "scan"},
                   {"fit", FitJson(f.placement)}};
  value["sheet"] = page.expected->sheet;
  value["blocks"] = json::Value::array();
  for (const BlockResult& r : page.blocks) {
    json::Value block;
    block["block"] = r.expected != nullptr ? json::Value(r.block) : json::Value(nullptr);
    block["expected"] = r.expected != nullptr ? ExpectedJson(*r.expected) : json::Value(nullptr);
    block["verdict"] = RowOf(r.verdict).name;
    block["found"] = FoundJson(r.found);
    block["grade"] = GradeJson(r.grade);
    block["sizes"] = SizesJson(r);
    value["blocks"].push_back(block);
  }
  value["summary"] = json::Value::object();
  for (const VerdictRow& row : VerdictTable()) {
    const auto counts = Summary(page.blocks);
    if (counts.count(row.name) != 0) {
      value["summary"][row.name] = counts.at(row.name);
    }
  }
  value["gradeNote"] = f.placement.photo ? kPhotoGradeNote : kGradeNote;
  value["exitStatus"] = exitStatus;
  return value;
}

std::string JsonReport(const std::string& file, const std::vector<PageResult>& pages,
                       int exitStatus) {
  if (pages.size() == 1) {
    return json::Write(PageJson(file, pages[0], exitStatus), json::kSpacedFine) + "\n";
  }
  json::Value value;
  value["pages"] = json::Value::array();
  for (const PageResult& page : pages) {
    value["pages"].push_back(PageJson(file, page, exitStatus));
  }
  value["exitStatus"] = exitStatus;
  return json::Write(value, json::kSpacedFine) + "\n";
}

}  // namespace quorvel::verify

namespace quorvel::verify {

std::vector<Label> LabelsOf(const PageResult& page) {
  std::vector<Label> labels;
  for (const BlockResult& r : page.blocks) {
    const VerdictRow& row = RowOf(r.verdict);
    const Box box = r.expected != nullptr ? r.expected->box : r.found->box;
    const std::string name =
        r.expected != nullptr ? "block " + std::to_string(r.block) : std::string("symbol");
    labels.push_back({box, name + ": " + row.name, row.colour});
  }
  return labels;
}

}  // namespace quorvel::verify
