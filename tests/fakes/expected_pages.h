#pragma once

// The two test jobs written out by hand from the printer command tables, for tests at every
// level (composers, command line, spooler adapters, end to end). Never built by the code under
// test.

#include <string>
#include <vector>

#include "fakes/hex.h"

namespace quorvel::testing {

// The page's 60 lines without their CR LF, as the printed sheet and the printer manual give them.
inline std::vector<std::string> ExpectedDotMatrixLines() {
  const std::string blank;
  std::vector<std::string> lines{
      "Quorvelprint",
      blank,
      blank,
      "ESC-Sequence: ESC SYN A BS NUL SOH NUL ACK SOH SOH SOH SOH ESC SYN B BS 1234567@:",
      "Barcode EAN8, 0.5 Zoll high, smallest width, plaintext LQ",
      Hex("1B 10 41 08 00 01 00 06 01 01 01 01 1B 10 42 08 31 32 33 34 35 36 37 40"),
      Hex("1B 6B 7E"),
  };
  lines.insert(lines.end(), 5, blank);
  lines.insert(lines.end(),
               {
                   "ESC-Sequence: ESC SYN A BS SOH NUL STX EOT BEL SOH SOH NUL ESC SYN B DC2",
                   "12345678901@:",
                   "Barcode EAN13, 1 Zoll high, middle width, small plaintext",
                   Hex("1B 10 41 08 01 00 02 04 07 01 01 00 1B 10 42 0C 31 32 33 34 35 36 37 38 39 "
                       "30 31 40"),
                   Hex("1B 6B 01"),
               });
  lines.insert(lines.end(), 12, blank);
  lines.insert(
      lines.end(),
      {
          "ESC-Sequence: ESC SYN A BS SOH EOT NUL STX STX SOH SOH SOH ESC SYN B ACK 123456:",
          "Barcode UPC-E, 1/6 Zoll high, small width, plaintext LQ",
          Hex("1B 10 41 08 01 04 00 02 02 01 01 01 1B 10 42 06 31 32 33 34 35 36"),
          Hex("1B 6B 7E"),
      });
  lines.insert(lines.end(), 3, blank);
  lines.insert(lines.end(),
               {
                   "ESC-Sequence: ESC SYN A BS STX NUL NUL ACK STX STX STX SOH ESC SYN B CAN PLJ",
                   "BARCODE DRUCK@:",
                   "Barcode Code 39, 0.5 Zoll high, middle width, plaintext LQ",
                   Hex("1B 10 41 08 02 00 00 06 02 02 02 01 1B 10 42 12 "
                       "50 4C 4A 20 42 41 52 43 4F 44 45 20 44 52 55 43 4B 40"),
                   Hex("1B 6B 7E"),
               });
  lines.insert(lines.end(), 4, blank);
  lines.insert(lines.end(),
               {
                   "ESC-Sequence: ESC SYN A BS ETX NUL SOH STX EOT EOT EOT NUL ESC SYN B EOT 123@:",
                   "Barcode Interleaved 2/5, 1 Zoll high, large width, small plaintext",
                   Hex("1B 10 41 08 03 00 01 02 04 04 04 00 1B 10 42 04 31 32 33 40"),
                   Hex("1B 6B 7E"),
               });
  lines.insert(lines.end(), 7, blank);
  lines.insert(lines.end(),
               {
                   "ESC-Sequence: ESC SYN A BS EOT NUL NUL ACK SOH SOH ESC SYN B FF A0123456789g:",
                   "Barcode 128 Set A, 0.5 Zoll high, smallest width, plaintext LQ",
                   Hex("1B 10 41 08 04 00 00 06 01 01 01 01 1B 10 42 0C 41 30 31 32 33 34 35 36 37 "
                       "38 39 67"),
                   Hex("1B 6B 7E"),
               });
  return lines;
}

struct PclLine {
  std::size_t offset;  // where the line starts in the page
  std::string bytes;   // without its CR LF
};

// The 33 lines with their offsets. SI 0F, SO 0E, ESC 1B.
inline std::vector<PclLine> ExpectedPclLines() {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string digits = "1234567890";
  const std::string both = digits + alphabet;
  std::vector<PclLine> lines{
      {0, "Quorvelprint"},
      {14, "(Just for test, not scannable!)"},
      {47, ""},
      {49, ""},
      {51, ""},
      {53, Hex("0F") + "Barcode 3 of 9: ESC(0Y"},
      {78, Hex("0E 1B 29 30 59") + alphabet},
      {111, Hex("0F") + alphabet},
      {140, ""},
      {142, ""},
      {144, ""},
      {146, ""},
      {148, "Barcode 2 of 5: ESC(10U"},
      {173, Hex("0E 1B 28 31 30 55") + digits},
      {191, Hex("0F") + digits},
      {204, ""},
      {206, ""},
      {208, ""},
      {210, ""},
      {212, "Barcode EAN/UPC: ESC(8Y"},
      {237, Hex("0E 1B 29 38 59") + both},
      {280, Hex("0F") + both},
      {319, ""},
      {321, ""},
      {323, ""},
      {325, ""},
      {327, "Barcode ZIP: ESC(15Y"},
      {349, ""},
      {351, ""},
      {353, ""},
      {355, ""},
      {357, Hex("0E 1B 29 31 35 59") + both},
      {401, Hex("0F") + both},
  };
  return lines;
}

// The whole jobs as they reach the printer: every line with its CR LF, then one form feed.
inline std::string ExpectedDotMatrixJob() {
  std::string job;
  for (const std::string& line : ExpectedDotMatrixLines()) {
    job += line + "\r\n";
  }
  return job + "\x0C";  // 1,154 bytes
}

inline std::string ExpectedPclJob() {
  std::string job;
  for (const PclLine& line : ExpectedPclLines()) {
    job += line.bytes + "\r\n";
  }
  return job + "\x0C";  // 441 bytes
}

}  // namespace quorvel::testing
