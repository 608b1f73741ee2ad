#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/hex.h"
#include "inspect/listing.h"

namespace quorvel::inspect {
namespace {

using testing::Hex;

struct Case {
  const char* hex;
  const char* content;  // the listing's content column of line 1
};

// The content column of the first listing row.
std::string FirstRow(const std::string& job, Dialect dialect) {
  const std::string text = FormatText(Explain(job, dialect));
  const std::size_t header = text.find("CONTENT\n") + 8;
  const std::size_t contentColumn = dialect == Dialect::kPcl ? 43 : 14;
  const std::size_t end = text.find('\n', header);
  return text.substr(header + contentColumn, end - header - contentColumn);
}

void ExpectRows(const std::vector<Case>& cases, Dialect dialect) {
  for (const Case& c : cases) {
    EXPECT_EQ(FirstRow(Hex(c.hex), dialect), c.content) << c.hex;
  }
}

TEST(DotMatrixDecoder, DecodesKnownCommandsAndShowsTheRestRaw) {
  ExpectRows(
      {
          {"1B 40", R"([ESC "@" initialize printer])"},
          {"1B 6B 7E 0D 0A", R"([ESC "k" select typeface: n 126] CR LF)"},
          {"1B 6B", R"([ESC "k" select typeface] (! cut off before n))"},
          {"1B 78 30 0D 0A", R"([ESC "x" select print quality: n 48] CR LF)"},
          // The count's upper half-byte is ignored: 0x32 is 2 parameters.
          {"1B 10 41 32 30 31", R"([ESC DLE "A" barcode parameters: count 2, bytes 48 49])"},
          {"1B 10 41 03 01 02",
           R"([ESC DLE "A" barcode parameters: count 3, bytes 1 2] (! cut off: the job ends 1 of 3 bytes early))"},
          {"1B 10 41", R"([ESC DLE "A" barcode parameters] (! cut off before the count byte))"},
          {"1B 10 42 05 31 32 33 0D 0A",
           R"([ESC DLE "B" barcode data: length 5, "123" CR LF] (! the length byte says 5 but 3 data characters follow))"},
          {"1B 10 42 02 31 32 33",
           R"([ESC DLE "B" barcode data: length 2, "12"] (! the length byte says 2 but 3 data characters follow) "3")"},
          {"1B 10 42 00", R"([ESC DLE "B" barcode data: length 0, no data])"},
          {"1B 51 78", R"(ESC "Qx")"},
          {"1B 10 43 0D 0A", R"(ESC DLE "C" CR LF)"},
          {"1B 45", R"(ESC "E")"},
          {"41 1B", R"("A" ESC)"},
          {"80 FF 7F 00 22 5C", R"(0x80 0xFF DEL NUL "\"\\")"},
      },
      Dialect::kDotMatrix);
}

TEST(PclDecoder, ParsesEscapeSequencesByTheGeneralGrammar) {
  ExpectRows(
      {
          {"1B 45", R"([ESC "E" printer reset])"},
          {"1B 26 6C 30 4F", R"([ESC "&l0O" orientation: 0])"},
          {"1B 26 6C 31 6F 32 41",
           R"([ESC "&l1o2A" combined command: orientation 1; page size 2])"},
          {"1B 28 38 55", R"([ESC "(8U" primary symbol set: 8U, Roman-8])"},
          {"1B 29 35 37 39 4C", R"([ESC ")579L" secondary symbol set: 579L, Wingdings])"},
          {"1B 28 39 39 51", R"([ESC "(99Q" primary symbol set: 99Q])"},
          {"1B 28 73 31 30 48", R"([ESC "(s10H" primary pitch: 10])"},
          {"1B 2A 62 33 57 01 02 03 41", R"([ESC "*b3W" raster row data: 3 (3 data bytes)] "A")"},
          {"1B 2A 62 35 57 01",
           R"([ESC "*b5W" raster row data: 5 (1 data bytes)] (! cut off: the job ends 4 of 5 data bytes early))"},
          {"1B 26 70 32 58 0D 0A 41",
           R"([ESC "&p2X" transparent print data: 2 (2 data bytes)] "A")"},
          {"1B 25 2D 31 32 33 34 35 58", R"([ESC "%-12345X" universal exit language: -12345])"},
          // After a UEL, "@PJL" lines are job control up to their LF (HP PJL Technical
          // Reference 4-2; Lexmark PJL 3-2: the @PJL prefix is upper case); without one, text.
          {"1B 25 2D 31 32 33 34 35 58 40 50 4A 4C 20 4A 4F 42 0D 0A 41",
           R"([ESC "%-12345X" universal exit language: -12345] ["@PJL JOB" PJL job control])"},
          {"40 50 4A 4C 20 4A 4F 42 0A", R"("@PJL JOB" LF)"},
          {"1B 25 2D 31 32 33 34 35 58 40 70 6A 6C 0A",
           R"([ESC "%-12345X" universal exit language: -12345] "@pjl" LF)"},
          {"1B 26 7A 35 51", R"([ESC "&z5Q" parameter &zQ: 5])"},
          {"1B 26 6C 4F", R"([ESC "&lO" orientation: 0])"},
          {"1B 7E", R"([ESC "~" two-character command])"},
          {"1B 26 0D 0A", R"(ESC "&" CR LF)"},
          {"1B 28 59", R"(ESC "(Y")"},
          {"1B 26 6C 31 6F",
           R"([ESC "&l1o" orientation: 1] (! cut off: the job ends inside the command))"},
          {"1B 10 41", R"(ESC DLE "A")"},
      },
      Dialect::kPcl);
}

TEST(Decoder, LineFeedsInsideCommandDataDoNotEndLines) {
  const Listing listing = Explain(Hex("1B 10 42 02 0D 0A 0D 0A 41"), Dialect::kDotMatrix);
  ASSERT_EQ(listing.lines.size(), 2u);
  EXPECT_EQ(listing.lines[0].line.length, 8u);
  EXPECT_EQ(listing.lines[1].line.offset, 8u);
}

}  // namespace
}  // namespace quorvel::inspect
