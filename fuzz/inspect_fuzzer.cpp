// Feeds arbitrary bytes to the job inspector and the sheet interpreter in both dialects, checks
// that the listing accounts for every byte exactly once, in order, and that the sheet stays
// within its page, note and barcode limits with every item inside the job and the page, and that
// the JSON listing is JSON whatever the bytes. Crashes, hangs, out-of-bounds reads and undefined
// behaviour are caught by the sanitizers.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "inspect/listing.h"
#include "sheet/listing_notes.h"
#include "sheet/page_model.h"

using quorvel::inspect::Dialect;
using quorvel::sheet::Sheet;

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

bool Within(quorvel::sheet::ByteSpan span, std::string_view job) {
  return span.offset <= job.size() && span.length <= job.size() - span.offset;
}

bool OnPage(quorvel::sheet::Position at, const quorvel::sheet::Sheet& sheet) {
  return at.page >= 0 && at.page < quorvel::sheet::kMaxPages && at.line >= 0 &&
         at.line < sheet.geometry.lines && at.column >= 0 && at.column < sheet.geometry.columns;
}

void CheckSheet(const Sheet& sheet, std::string_view job) {
  Require(sheet.pages >= 0 && sheet.pages <= quorvel::sheet::kMaxPages);
  Require(sheet.notes.size() <= quorvel::sheet::kMaxNotes + 2 &&
          sheet.barcodes.size() <= quorvel::sheet::kMaxBarcodes);
  for (const quorvel::sheet::TextRun& run : sheet.texts) {
    Require(Within(run.bytes, job) && OnPage(run.at, sheet) && run.bytes.length == run.text.size());
    Require(run.at.column + static_cast<int>(run.text.size()) <= sheet.geometry.columns);
  }
  for (const quorvel::sheet::GlyphRun& run : sheet.glyphs) {
    Require(Within(run.bytes, job) && OnPage(run.at, sheet));
  }
  for (const quorvel::sheet::Barcode& barcode : sheet.barcodes) {
    Require(Within(barcode.bytes, job) && OnPage(barcode.at, sheet) && !barcode.data.empty());
    Require(barcode.moduleInches > 0 && barcode.heightInches > 0 &&
            barcode.heightInches <= 2.0 + 1e-9);
  }
  for (const quorvel::sheet::Note& note : sheet.notes) {
    Require(Within(note.bytes, job) && !note.text.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view job(reinterpret_cast<const char*>(data), size);
  for (const Dialect dialect : {Dialect::kDotMatrix, Dialect::kPcl}) {
    const quorvel::inspect::Listing listing = quorvel::inspect::Explain(job, dialect);
    CheckCoverage(listing, job);
    Require(!quorvel::inspect::FormatText(listing).empty());
    Require(nlohmann::json::accept(quorvel::inspect::FormatJson(listing)));
    const quorvel::sheet::Sheet sheet = quorvel::sheet::Interpret(job, dialect);
    CheckSheet(sheet, job);
    quorvel::inspect::Listing annotated = listing;
    quorvel::sheet::AddSheetNotes(annotated, sheet);
    Require(nlohmann::json::accept(quorvel::inspect::FormatJson(annotated)));
  }
  quorvel::inspect::GuessDialect(job);
  return 0;
}
