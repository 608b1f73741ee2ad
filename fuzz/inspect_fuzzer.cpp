// Feeds arbitrary bytes to the job inspector and the sheet interpreter in both dialects, and as a
// printer's PJL reply to the reply parser and as a job to the virtual printer's PJL answers, checks
// that the listing accounts for every byte exactly once, in order, and that the sheet stays
// within its page, note and barcode limits with every item inside the job and the page, and that
// the JSON listing is JSON whatever the bytes. Crashes, hangs, out-of-bounds reads and undefined
// behaviour are caught by the sanitizers.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "inspect/listing.h"
#include "platform/net/pjl_responder.h"
#include "printing/device_id.h"
#include "printing/pjl.h"
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

// The bytes as a printer's reply: every verdict is one of the three with a reason, the messages
// come from the reply, and the virtual printer's answers to the bytes as a job stay bounded.
void CheckPjl(std::string_view bytes) {
  using quorvel::BackChannel;
  for (const BackChannel::End end : {BackChannel::End::kClosed, BackChannel::End::kCapped}) {
    const quorvel::DeviceVerdict verdict =
        quorvel::JudgePjlReply(BackChannel{std::string(bytes), end}, "Command Print 1");
    Require(!verdict.detail.empty() && verdict.source == "pjl");
  }
  const quorvel::PjlReplies replies = quorvel::ParsePjlReplies(bytes);
  std::size_t lines = 0;
  for (const quorvel::PjlMessage& message : replies.messages) {
    Require(message.command.rfind("@PJL", 0) == 0);
    lines += message.lines.size();
  }
  Require(lines <= bytes.size());
  quorvel::PjlInfoDetails(BackChannel{std::string(bytes), BackChannel::End::kClosed});
  quorvel::PjlResponder responder(
      {std::string(bytes.substr(0, 64)), quorvel::PjlFault::kNone,
       [](std::string_view body) { return static_cast<int>(body.size() % 3); }});
  std::size_t answered = 0;
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    answered += responder.Heard(bytes.substr(at, 7)).size();
  }
  Require(answered <= 200 * (bytes.size() + 1));
  quorvel::PageForDeviceId(bytes);
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
  CheckPjl(job);
  return 0;
}
