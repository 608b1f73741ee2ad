#include <cstdint>

#include "inspect/byte_names.h"
#include "inspect/listing.h"
#include "inspect/sequence_rows.h"

namespace quorvel::inspect {
namespace {

constexpr std::size_t kIndent = 14;  // LINE and OFFSET columns

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string PadRight(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string RenderItem(const Item& item) {
  switch (item.kind) {
    case ItemKind::kText:
      return QuoteBytes(item.bytes);
    case ItemKind::kControl:
    case ItemKind::kUnknownEscape:
      return ByteName(static_cast<std::uint8_t>(item.bytes[0]));
    case ItemKind::kCommand:
    case ItemKind::kJobControl:
      break;
  }
  std::string text = "[" + item.code + " " + item.name;
  text += item.detail.empty() ? "]" : ": " + item.detail + "]";
  return item.warning.empty() ? text : text + " (! " + item.warning + ")";
}

std::string LineRow(const ListingLine& entry) {
  std::string row = PadLeft(std::to_string(entry.line.number), 4) + "  " +
                    PadLeft(std::to_string(entry.line.offset), 6) + "  ";
  if (entry.font) {
    row += PadRight(entry.font->active, 9) + "  " + PadRight(entry.font->primary, 7) + "  " +
           PadRight(entry.font->secondary, 7) + "  ";
  }
  std::string content;
  for (const Item& item : entry.line.items) {
    content += std::string(content.empty() ? "" : " ") + RenderItem(item);
  }
  return row + content + "\n";
}

std::string TallyText(const Tally& tally) {
  std::string text;
  for (const auto& [name, count] : tally) {
    text += (text.empty() ? "" : ", ") + name + " " + std::to_string(count);
  }
  return text.empty() ? "none" : text;
}

std::string SummaryText(const Summary& summary) {
  std::string text = "\nsummary\n";
  auto add = [&text](const std::string& label, const std::string& value) {
    text += "  " + PadRight(label, 13) + value + "\n";
  };
  add("bytes", std::to_string(summary.bytes));
  add("lines", std::to_string(summary.lines));
  add("commands", TallyText(summary.commands));
  add("controls", TallyText(summary.controls));
  if (!summary.jobControl.empty()) {
    add("job control", TallyText(summary.jobControl) + " (nothing printed)");
  }
  add("unknown ESC", std::to_string(summary.unknownEscapes));
  add("warnings", std::to_string(summary.warnings));
  add("NUL bytes", std::to_string(summary.nulBytes));
  add("ends in FF", summary.endsWithFormFeed ? "yes" : "no");
  add("sequences", std::to_string(summary.sequences) + " spelled out, " +
                       std::to_string(summary.sequenceDifferences) + " bytes differ");
  return text;
}

}  // namespace

std::string FormatText(const Listing& listing) {
  std::string text = std::to_string(listing.summary.bytes) + " bytes, read as " +
                     (listing.dialect == Dialect::kPcl ? "PCL" : "dot-matrix commands") + "\n\n";
  text += listing.dialect == Dialect::kPcl ? "LINE  OFFSET  FONT       PRI      SEC      CONTENT\n"
                                           : "LINE  OFFSET  CONTENT\n";
  for (const ListingLine& entry : listing.lines) {
    text += LineRow(entry);
    if (entry.sequence) {
      for (const std::string& row : SequenceRows(*entry.sequence)) {
        text += std::string(kIndent, ' ') + row + "\n";
      }
    }
    for (const std::string& note : entry.notes) {
      text += std::string(kIndent, ' ') + note + "\n";
    }
  }
  return text + SummaryText(listing.summary);
}

}  // namespace quorvel::inspect
