#include "pages/dot_matrix_page.h"

#include <array>
#include <string_view>

namespace quorvel {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kCrLf = "\r\n";

// One barcode block: the text lines printed above the barcode, the command bytes, and the blank
// lines that follow. The text lines are fixed wording and differ from the bytes sent on purpose:
// they name the second command byte "SYN" where DLE is sent, among other points.
struct BarcodeBlock {
  std::string_view sequenceLine;
  std::string_view continuationLine;  // empty: the block has none
  std::string_view descriptionLine;
  std::string_view barcodeLine;  // parameter command, data command, CR LF
  std::string_view escKLine;     // ESC k n, CR LF
  int blankLinesAfter;
};

// ESC DLE "A" 8 P2..P9 sets the barcode parameters; ESC DLE "B" L data prints L data characters.
// ESC "k" n follows every barcode.
constexpr std::array<BarcodeBlock, 6> kBlocks{{
    {"ESC-Sequence: ESC SYN A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC SYN B BS 1234567@:", "",
     "Barcode EAN8, 0.5 Zoll high, smallest width, plaintext LQ",
     "\x1B\x10"
     "A"
     "\x08\x00\x01\x00\x06\x01\x01\x01\x01"
     "\x1B\x10"
     "B"
     "\x08"
     "1234567@"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x7E"
     "\r\n",
     5},
    {"ESC-Sequence: ESC SYN A BS SOH NUL STX EOT BEL SOH SOH NUL ESC SYN B DC2",
     "12345678901@:", "Barcode EAN13, 1 Zoll high, middle width, small plaintext",
     "\x1B\x10"
     "A"
     "\x08\x01\x00\x02\x04\x07\x01\x01\x00"
     "\x1B\x10"
     "B"
     "\x0C"
     "12345678901@"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x01"
     "\r\n",
     12},
    {"ESC-Sequence: ESC SYN A BS SOH EOT NUL STX STX SOH SOH SOH ESC SYN B ACK 123456:", "",
     "Barcode UPC-E, 1/6 Zoll high, small width, plaintext LQ",
     "\x1B\x10"
     "A"
     "\x08\x01\x04\x00\x02\x02\x01\x01\x01"
     "\x1B\x10"
     "B"
     "\x06"
     "123456"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x7E"
     "\r\n",
     3},
    {"ESC-Sequence: ESC SYN A BS STX NUL NUL ACK STX STX STX SOH ESC SYN B CAN PLJ",
     "BARCODE DRUCK@:", "Barcode Code 39, 0.5 Zoll high, middle width, plaintext LQ",
     "\x1B\x10"
     "A"
     "\x08\x02\x00\x00\x06\x02\x02\x02\x01"
     "\x1B\x10"
     "B"
     "\x12"
     "PLJ BARCODE DRUCK@"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x7E"
     "\r\n",
     4},
    {"ESC-Sequence: ESC SYN A BS ETX NUL SOH STX EOT EOT EOT NUL ESC SYN B EOT 123@:", "",
     "Barcode Interleaved 2/5, 1 Zoll high, large width, small plaintext",
     "\x1B\x10"
     "A"
     "\x08\x03\x00\x01\x02\x04\x04\x04\x00"
     "\x1B\x10"
     "B"
     "\x04"
     "123@"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x7E"
     "\r\n",
     7},
    {"ESC-Sequence: ESC SYN A BS EOT NUL NUL ACK SOH SOH ESC SYN B FF A0123456789g:", "",
     "Barcode 128 Set A, 0.5 Zoll high, smallest width, plaintext LQ",
     "\x1B\x10"
     "A"
     "\x08\x04\x00\x00\x06\x01\x01\x01\x01"
     "\x1B\x10"
     "B"
     "\x0C"
     "A0123456789g"
     "\r\n"sv,
     "\x1B"
     "k"
     "\x7E"
     "\r\n",
     0},
}};

void AppendLine(PageText& page, std::string_view text) {
  page.append(text);
  page.append(kCrLf);
}

}  // namespace

PageText ComposeDotMatrixPage() {
  PageText page;
  page.reserve(1153);
  AppendLine(page, "Quorvelprint");
  page.append(kCrLf);
  page.append(kCrLf);
  for (const BarcodeBlock& block : kBlocks) {
    AppendLine(page, block.sequenceLine);
    if (!block.continuationLine.empty()) {
      AppendLine(page, block.continuationLine);
    }
    AppendLine(page, block.descriptionLine);
    page.append(block.barcodeLine);
    page.append(block.escKLine);
    for (int i = 0; i < block.blankLinesAfter; ++i) {
      page.append(kCrLf);
    }
  }
  return page;
}

}  // namespace quorvel
