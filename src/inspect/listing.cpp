#include "inspect/listing.h"

#include <algorithm>

#include "inspect/byte_names.h"

namespace quorvel::inspect {
namespace {

void Count(Tally& tally, const std::string& name) {
  auto found = std::find_if(tally.begin(), tally.end(),
                            [&](const auto& entry) { return entry.first == name; });
  if (found == tally.end()) {
    tally.emplace_back(name, 1);
  } else {
    ++found->second;
  }
}

void CountItems(const std::vector<ListingLine>& lines, Summary& summary) {
  for (const ListingLine& line : lines) {
    for (const Item& item : line.line.items) {
      if (item.kind == ItemKind::kCommand) {
        Count(summary.commands, item.name);
        summary.warnings += item.warning.empty() ? 0 : 1;
      } else if (item.kind == ItemKind::kControl) {
        Count(summary.controls, ByteName(static_cast<std::uint8_t>(item.bytes[0])));
      } else if (item.kind == ItemKind::kUnknownEscape) {
        ++summary.unknownEscapes;
      } else if (item.kind == ItemKind::kJobControl) {
        Count(summary.jobControl, IsUel(item) ? "UEL" : item.value);
        summary.warnings += item.warning.empty() ? 0 : 1;
      }
    }
  }
}

}  // namespace

Listing Explain(std::string_view job, Dialect dialect) {
  Listing listing;
  listing.dialect = dialect;
  std::vector<JobLine> lines = SplitLines(DecodeItems(job, dialect));
  std::vector<SequenceCheck> checks = CheckSequences(lines);
  FontState font;
  auto check = checks.begin();
  for (JobLine& line : lines) {
    ListingLine entry;
    if (dialect == Dialect::kPcl) {
      for (const Item& item : line.items) {
        ApplyItem(font, item);
      }
      entry.font = font;
    }
    if (check != checks.end() && check->lastLine + 1 == line.number) {
      entry.sequence = std::move(*check++);
    }
    entry.line = std::move(line);
    listing.lines.push_back(std::move(entry));
  }
  Summary& summary = listing.summary;
  summary.bytes = job.size();
  summary.lines = listing.lines.size();
  CountItems(listing.lines, summary);
  summary.nulBytes = static_cast<std::size_t>(std::count(job.begin(), job.end(), '\0'));
  summary.endsWithFormFeed = !job.empty() && job.back() == '\x0C';
  summary.sequences = checks.size();
  for (const ListingLine& line : listing.lines) {
    summary.sequenceDifferences += line.sequence ? line.sequence->Differences() : 0;
  }
  return listing;
}

}  // namespace quorvel::inspect
