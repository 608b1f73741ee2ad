#include <cstdint>

#include "common/json_text.h"
#include "inspect/byte_names.h"
#include "inspect/listing.h"

namespace quorvel::inspect {
namespace {

using json::Value;

// The listing's own layout: compact, one line of the job per line of JSON.
constexpr const json::Layout& kLayout = json::kCompact;

Value Numbers(std::string_view bytes) {
  Value numbers = Value::array();
  for (const char c : bytes) {
    numbers.push_back(static_cast<std::uint8_t>(c));
  }
  return numbers;
}

// The text, code and value of an item and the symbol sets of a font are the job's own bytes;
// names, details, warnings and notes are our words (in which a job's bytes may be quoted).
Value ItemJson(const Item& item) {
  Value object;
  object["offset"] = item.offset;
  const auto byte = static_cast<std::uint8_t>(item.bytes[0]);
  switch (item.kind) {
    case ItemKind::kText:
      object["kind"] = "text";
      object["text"] = json::JobText(item.bytes);
      return object;
    case ItemKind::kControl:
    case ItemKind::kUnknownEscape:
      object["kind"] = item.kind == ItemKind::kControl ? "control" : "unknown-escape";
      object["name"] = ByteName(byte);
      object["byte"] = byte;
      return object;
    case ItemKind::kCommand:
    case ItemKind::kJobControl:
      break;
  }
  object["kind"] = item.kind == ItemKind::kJobControl ? "job-control" : "command";
  object["code"] = json::JobText(item.code);
  object["name"] = item.name;
  object["detail"] = item.detail;
  object["bytes"] = Numbers(item.bytes);
  if (!item.value.empty()) {
    object["value"] = json::JobText(item.value);
  }
  if (!item.warning.empty()) {
    object["warning"] = item.warning;
  }
  return object;
}

Value NameOrNull(std::optional<std::uint8_t> byte) {
  return byte ? Value(ByteName(*byte)) : Value(nullptr);
}

Value SequenceJson(const SequenceCheck& check) {
  Value differences = Value::array();
  std::size_t position = 0;
  for (const SequenceStep& step : check.steps) {
    position += step.sent ? 1 : 0;
    if (check.found && step.Differs()) {
      Value difference;
      difference["position"] = position;
      difference["named"] = NameOrNull(step.named);
      difference["sent"] = NameOrNull(step.sent);
      differences.push_back(std::move(difference));
    }
  }
  Value object;
  object["firstLine"] = check.firstLine + 1;
  object["named"] = Numbers(check.named);
  object["sent"] = check.found ? Numbers(check.sent) : Value(nullptr);
  object["differences"] = std::move(differences);
  return object;
}

Value LineJson(const ListingLine& entry) {
  Value items = Value::array();
  for (const Item& item : entry.line.items) {
    items.push_back(ItemJson(item));
  }
  Value object;
  object["line"] = entry.line.number;
  object["offset"] = entry.line.offset;
  object["length"] = entry.line.length;
  object["items"] = std::move(items);
  if (entry.font) {
    Value font;
    font["active"] = entry.font->active;
    font["primary"] = json::JobText(entry.font->primary);
    font["secondary"] = json::JobText(entry.font->secondary);
    object["font"] = std::move(font);
  }
  if (entry.sequence) {
    object["sequence"] = SequenceJson(*entry.sequence);
  }
  if (!entry.notes.empty()) {
    object["notes"] = entry.notes;
  }
  return object;
}

Value TallyJson(const Tally& tally) {
  Value object = Value::object();
  for (const auto& [name, count] : tally) {
    object[json::KeyOf(name)] = count;  // "secondary symbol set" is secondarySymbolSet
  }
  return object;
}

Value SummaryJson(const Summary& s) {
  Value object;
  object["bytes"] = s.bytes;
  object["lines"] = s.lines;
  object["commands"] = TallyJson(s.commands);
  object["controls"] = TallyJson(s.controls);
  if (!s.jobControl.empty()) {  // PCL jobs with a UEL or PJL lines only
    object["jobControl"] = TallyJson(s.jobControl);
  }
  object["unknownEscapes"] = s.unknownEscapes;
  object["warnings"] = s.warnings;
  object["nulBytes"] = s.nulBytes;
  object["endsWithFormFeed"] = s.endsWithFormFeed;
  object["sequences"] = s.sequences;
  object["sequenceDifferences"] = s.sequenceDifferences;
  return object;
}

}  // namespace

// Written piece by piece so that each line of the job is a line of its own.
std::string FormatJson(const Listing& listing) {
  std::string text = "{" + json::Name("dialect", kLayout) +
                     json::Write(std::string(DialectName(listing.dialect)), kLayout) + ",\n" +
                     json::Name("lines", kLayout) + "[\n";
  for (std::size_t i = 0; i < listing.lines.size(); ++i) {
    text += json::Write(LineJson(listing.lines[i]), kLayout) +
            (i + 1 < listing.lines.size() ? ",\n" : "\n");
  }
  return text + "],\n" + json::Name("summary", kLayout) +
         json::Write(SummaryJson(listing.summary), kLayout) + "}\n";
}

}  // namespace quorvel::inspect
