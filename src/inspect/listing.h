#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "inspect/font_state.h"
#include "inspect/job_item.h"
#include "inspect/sequence_check.h"

namespace quorvel::inspect {

/// Counts by name, in the order the names first occur.
using Tally = std::vector<std::pair<std::string, std::size_t>>;

struct Summary {
  std::size_t bytes = 0;
  std::size_t lines = 0;
  Tally commands;    // decoded escape sequences by what they do
  Tally controls;    // control bytes outside commands, by name
  Tally jobControl;  // PCL: UEL and PJL commands ("@PJL JOB"), which print nothing
  std::size_t unknownEscapes = 0;
  std::size_t warnings = 0;
  std::size_t nulBytes = 0;  // anywhere in the job, command parameters included
  bool endsWithFormFeed = false;
  std::size_t sequences = 0;
  std::size_t sequenceDifferences = 0;
};

struct ListingLine {
  JobLine line;
  std::optional<FontState> font;          // PCL: the state after the line
  std::optional<SequenceCheck> sequence;  // on the last line of a spelled-out sequence
  std::vector<std::string> notes;         // what a reader of the line is told besides
};

/// A job decoded line by line, with what the printer makes of it.
struct Listing {
  Dialect dialect = Dialect::kDotMatrix;
  std::vector<ListingLine> lines;
  Summary summary;
};

/// Decodes `job` in `dialect`. Never fails: any bytes give a listing.
Listing Explain(std::string_view job, Dialect dialect);

/// The listing as text for a reader, line by line, then the summary.
std::string FormatText(const Listing& listing);

/// The same as one JSON object.
std::string FormatJson(const Listing& listing);

}  // namespace quorvel::inspect
