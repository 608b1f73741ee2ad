// Feeds arbitrary bytes to the job inspector in both dialects and checks that the listing
// accounts for every byte exactly once, in order. Crashes, hangs, out-of-bounds reads and
// undefined behaviour are caught by the sanitizers.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "inspect/listing.h"

using quorvel::inspect::Dialect;

namespace {

void Require(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

void CheckCoverage(const quorvel::inspect::Listing& listing, std::string_view job) {
  std::size_t next = 0;
  for (const auto& entry : listing.lines) {
    Require(entry.line.offset == next);
    for (const auto& item : entry.line.items) {
      Require(item.offset == next && !item.bytes.empty());
      Require(job.substr(item.offset, item.bytes.size()) == item.bytes);
      next += item.bytes.size();
    }
  }
  Require(next == job.size() && listing.summary.bytes == job.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view job(reinterpret_cast<const char*>(data), size);
  for (const Dialect dialect : {Dialect::kDotMatrix, Dialect::kPcl}) {
    const quorvel::inspect::Listing listing = quorvel::inspect::Explain(job, dialect);
    CheckCoverage(listing, job);
    Require(!quorvel::inspect::FormatText(listing).empty());
    Require(!quorvel::inspect::FormatJson(listing).empty());
  }
  quorvel::inspect::GuessDialect(job);
  return 0;
}
