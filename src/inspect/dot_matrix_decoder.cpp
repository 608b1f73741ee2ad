// Epson FX / IBM Proprinter barcode commands, as the dot-matrix page sends them:
//   ESC DLE "A" n P1..Pn  barcode parameters, n (the count byte) parameter bytes follow
//   ESC DLE "B" L d1..dL  barcode data, L data characters follow
//   ESC "k" n             select typeface n
//   ESC "x" n             select print quality: draft (0, "0") or letter quality (1, "1")
//   ESC "@"               initialize printer
// Any other escape sequence is left undecoded.

#include <cstdint>
#include <string>

#include "inspect/byte_names.h"
#include "inspect/job_item.h"

namespace quorvel::inspect {
namespace {

Item Command(std::string_view job, std::size_t at, std::size_t codeLength, std::string name) {
  Item item;
  item.kind = ItemKind::kCommand;
  item.offset = at;
  item.bytes = std::string(job.substr(at, codeLength));
  item.code = QuoteBytes(item.bytes);
  item.name = std::move(name);
  return item;
}

std::string Decimals(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    text += std::string(text.empty() ? "" : " ") + std::to_string(static_cast<std::uint8_t>(c));
  }
  return text;
}

// Takes up to `wanted` bytes after the item; says how many were missing when the job ends first.
std::string TakePayload(std::string_view job, Item& item, std::size_t wanted) {
  const std::size_t start = item.offset + item.bytes.size();
  const std::string payload(job.substr(start, wanted));
  item.bytes += payload;
  if (payload.size() < wanted) {
    item.truncated = true;

    item.warning = "cut off: the job ends " + std::to_string(wanted - payload.size()) + " of " +
                   std::to_string(wanted) + " bytes early";
  }
  return payload;
}

// ESC DLE "A" and ESC DLE "B": a count or length byte, then that many bytes.
Item CountedCommand(std::string_view job, std::size_t at, bool isData) {
  Item item = Command(job, at, 3, isData ? "barcode data" : "barcode parameters");
  if (at + 3 >= job.size()) {
    item.truncated = true;

    item.warning = isData ? "cut off before the length byte" : "cut off before the count byte";
    return item;
  }
  // The parameter count's upper half-byte is ignored, as the parameters' own are.
  const auto count = static_cast<std::uint8_t>(job[at + 3] & (isData ? 0xFF : 0x0F));
  item.bytes += job[at + 3];
  const std::string payload = TakePayload(job, item, count);
  if (!isData) {
    item.detail = std::string("count ") + std::to_string(count) + ", bytes " + Decimals(payload);
    return item;
  }
  item.detail = "length " + std::to_string(count) + ", " +
                (payload.empty() ? std::string("no data") : QuoteBytes(payload));
  std::size_t text = at + 4;
  while (text < job.size() && IsPrintable(static_cast<std::uint8_t>(job[text]))) {
    ++text;
  }
  const std::size_t following = text - (at + 4);
  if (following != count && item.warning.empty()) {
    item.warning = "the length byte says " + std::to_string(count) + " but " +
                   std::to_string(following) + " data characters follow";
  }
  return item;
}

}  // namespace

std::optional<Item> DecodeDotMatrixEscape(std::string_view job, std::size_t at) {
  if (at + 1 >= job.size()) {
    return std::nullopt;
  }
  const char second = job[at + 1];
  if (second == '@') {
    return Command(job, at, 2, "initialize printer");
  }
  if (second == 'k' || second == 'x') {
    Item item = Command(job, at, 2, second == 'k' ? "select typeface" : "select print quality");
    if (at + 2 >= job.size()) {
      item.truncated = true;

      item.warning = "cut off before n";
      return item;
    }
    item.bytes += job[at + 2];
    item.detail = "n " + std::to_string(static_cast<std::uint8_t>(job[at + 2]));
    return item;
  }
  if (second == '\x10' && at + 2 < job.size() && (job[at + 2] == 'A' || job[at + 2] == 'B')) {
    return CountedCommand(job, at, job[at + 2] == 'B');
  }
  return std::nullopt;
}

}  // namespace quorvel::inspect
