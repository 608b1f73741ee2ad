#include <cstdint>
#include <cstdio>

#include "inspect/byte_names.h"
#include "inspect/listing.h"

namespace quorvel::inspect {
namespace {

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte > 0x7E) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Numbers(std::string_view bytes) {
  std::string text = "[";
  for (const char c : bytes) {
    text += std::string(text.size() > 1 ? "," : "") + std::to_string(static_cast<std::uint8_t>(c));
  }
  return text + "]";
}

std::string Field(std::string_view name, const std::string& value) {
  return Quote(name) + ":" + value;
}

std::string ItemJson(const Item& item) {
  const std::string head = std::string("{") + Field("offset", std::to_string(item.offset)) + ",";
  const auto byte = static_cast<std::uint8_t>(item.bytes[0]);
  switch (item.kind) {
    case ItemKind::kText:
      return head + Field("kind", "\"text\"") + std::string(",") +
             Field("text", Quote(item.bytes)) + "}";
    case ItemKind::kControl:
    case ItemKind::kUnknownEscape:
      return head +
             Field("kind", item.kind == ItemKind::kControl ? "\"control\"" : "\"unknown-escape\"") +
             std::string(",") + Field("name", Quote(ByteName(byte))) + "," +
             Field("byte", std::to_string(byte)) + "}";
    case ItemKind::kCommand:
      break;
  }
  std::string json = head + Field("kind", "\"command\"") + std::string(",") +
                     Field("code", Quote(item.code)) + std::string(",") +
                     Field("name", Quote(item.name)) + "," + Field("detail", Quote(item.detail)) +
                     "," + Field("bytes", Numbers(item.bytes));
  if (!item.value.empty()) {
    json += std::string(",") + Field("value", Quote(item.value));
  }
  if (!item.warning.empty()) {
    json += std::string(",") + Field("warning", Quote(item.warning));
  }
  return json + "}";
}

std::string NameOrNull(std::optional<std::uint8_t> byte) {
  return byte ? Quote(ByteName(*byte)) : "null";
}

std::string SequenceJson(const SequenceCheck& check) {
  std::string differences;
  std::size_t position = 0;
  for (const SequenceStep& step : check.steps) {
    position += step.sent ? 1 : 0;
    if (check.found && step.Differs()) {
      differences += (differences.empty() ? "{" : ",{") +
                     Field("position", std::to_string(position)) + "," +
                     Field("named", NameOrNull(step.named)) + std::string(",") +
                     Field("sent", NameOrNull(step.sent)) + "}";
    }
  }
  return std::string("{") + Field("firstLine", std::to_string(check.firstLine + 1)) + "," +
         Field("named", Numbers(check.named)) + "," +
         Field("sent", check.found ? Numbers(check.sent) : "null") + "," +
         Field("differences", "[" + differences + "]") + "}";
}

std::string LineJson(const ListingLine& entry) {
  std::string items;
  for (const Item& item : entry.line.items) {
    items += std::string(items.empty() ? "" : ",") + ItemJson(item);
  }
  std::string json = std::string("{") + Field("line", std::to_string(entry.line.number)) + "," +
                     Field("offset", std::to_string(entry.line.offset)) + "," +
                     Field("length", std::to_string(entry.line.length)) + "," +
                     Field("items", "[" + items + "]");
  if (entry.font) {
    json += std::string(",") +
            Field("font", std::string("{") + Field("active", Quote(entry.font->active)) + "," +
                              Field("primary", Quote(entry.font->primary)) + "," +
                              Field("secondary", Quote(entry.font->secondary)) + "}");
  }
  if (entry.sequence) {
    json += std::string(",") + Field("sequence", SequenceJson(*entry.sequence));
  }
  if (!entry.notes.empty()) {
    std::string notes;
    for (const std::string& note : entry.notes) {
      if (!notes.empty()) {
        notes += ',';
      }
      notes += Quote(note);
    }
    json += std::string(",") + Field("notes", "[" + notes + "]");
  }
  return json + "}";
}

std::string TallyJson(const Tally& tally) {
  std::string json;
  for (const auto& [name, count] : tally) {
    json += std::string(json.empty() ? "" : ",") + Field(name, std::to_string(count));
  }
  return "{" + json + "}";
}

std::string SummaryJson(const Summary& s) {
  return std::string("{") + Field("bytes", std::to_string(s.bytes)) + "," +
         Field("lines", std::to_string(s.lines)) + std::string(",") +
         Field("commands", TallyJson(s.commands)) + std::string(",") +
         Field("controls", TallyJson(s.controls)) + "," +
         Field("unknownEscapes", std::to_string(s.unknownEscapes)) + "," +
         Field("warnings", std::to_string(s.warnings)) + "," +
         Field("nulBytes", std::to_string(s.nulBytes)) + "," +
         Field("endsWithFormFeed", s.endsWithFormFeed ? "true" : "false") + "," +
         Field("sequences", std::to_string(s.sequences)) + "," +
         Field("sequenceDifferences", std::to_string(s.sequenceDifferences)) + "}";
}

}  // namespace

std::string FormatJson(const Listing& listing) {
  std::string json = std::string("{") + Field("dialect", Quote(DialectName(listing.dialect))) +
                     ",\n" + Quote("lines") + ":[\n";
  for (std::size_t i = 0; i < listing.lines.size(); ++i) {
    json += LineJson(listing.lines[i]) + (i + 1 < listing.lines.size() ? ",\n" : "\n");
  }
  return json + "],\n" + Field("summary", SummaryJson(listing.summary)) + "}\n";
}

}  // namespace quorvel::inspect
