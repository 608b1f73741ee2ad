// The barcode commands one by one, with values from the printer manuals' own examples where
// they give one (EAN-13 "123456789012@" -> 8). The manual's Code 39 example, "123LPJ23@", adds
// up nine values (1+2+3+25+21+19+1+2+3 = 77 -> Y) for eight characters; the eight it holds
// add up to 76, whose character is X.

#include <gtest/gtest.h>

#include <vector>

#include "fakes/hex.h"
#include "sheet/barcode_rules.h"
#include "sheet/page_model.h"

namespace quorvel::sheet {
namespace {

using testing::Hex;

TEST(CheckDigits, FollowTheManualsExamples) {
  EXPECT_EQ(Modulo10Check("123456789012"), '8');
  EXPECT_EQ(Modulo10Check("1234567"), '0');
  EXPECT_EQ(Modulo10Check("12345678901"), '2');
  EXPECT_EQ(Modulo10Check("123"), '6');
  EXPECT_EQ(Modulo43Check("123LPJ23"), 'X');
  EXPECT_EQ(Modulo43Check("123LPJ123"), 'Y');
  EXPECT_EQ(Modulo43Check("PLJ BARCODE DRUCK"), 'A');
  EXPECT_EQ(Modulo43Check("lower"), std::nullopt);
}

struct DataCase {
  const char* parameters;  // hex: the bytes after ESC DLE A, count first
  const char* data;        // hex: the bytes after ESC DLE B's length byte
  Symbology symbology;
  const char* encoded;  // empty: the printer prints nothing
  const char* check;
  double height;
  bool humanReadable;
};

std::string Job(const DataCase& c) {
  const std::string parameters = Hex(c.parameters);
  const std::string data = Hex(c.data);
  return "\x1B\x10"
         "A" +
         parameters +
         "\x1B\x10"
         "B" +
         std::string(1, static_cast<char>(data.size())) + data;
}

TEST(BarcodeCommands, EncodeTheDataAsThePrinterDoes) {
  const std::vector<DataCase> cases{
      // EAN-13 with "@": the manual's example.
      {"08 00 02 01 02 03 00 00 01", "31 32 33 34 35 36 37 38 39 30 31 32 40", Symbology::kEan13,
       "1234567890128", "8", 1.0, true},
      // Code 39 with "@": the manual's example; n8 = 0 turns the text off.
      {"08 02 00 00 06 02 02 02 00", "31 32 33 4C 50 4A 32 33 40", Symbology::kCode39, "123LPJ23X",
       "X", 0.5, false},
      // An odd 2 of 5 count gets a leading 0; no "@", no check digit.
      {"08 03 00 00 06 01 01 01 01", "31 32 33", Symbology::kInterleaved2of5, "0123", "", 0.5,
       true},
      // 2 of 5 with "@": 123 + 6 is even, so no 0 is added.
      {"08 03 00 00 06 01 01 01 01", "31 32 33 40", Symbology::kInterleaved2of5, "1236", "6", 0.5,
       true},
      // Code 128 set B, CAN asks for the check symbol: 104 + 1*40 + 2*69 + 3*76 + 4*76 + 5*79.
      {"08 04 00 00 06 01 01 01 01", "42 48 65 6C 6C 6F 18", Symbology::kCode128, "Hello", "76",
       0.5, true},
      // Code 128 set C: digit pairs, "@" asks for the check: 105 + 1*12 + 2*34 = 185 -> 82.
      {"08 04 00 00 06 01 01 01 01", "43 31 32 33 34 40", Symbology::kCode128, "1234", "82", 0.5,
       true},
      // A bar length of 30 is cut to 24 (2 inches); the high half-bytes of n1 n2 are ignored.
      {"08 F0 F1 03 00 01 01 01 01", "31 32 33 34 35 36 37 40", Symbology::kEan8, "12345670", "0",
       2.0, true},
      // Two parameters only: type chosen, the rest as before (the power-on 0.5 inch).
      {"02 01 00", "31 32 33 34 35 36 37 38 39 30 31 40", Symbology::kUpcA, "123456789012", "2",
       0.5, true},
      // Refused: EAN-8 with 7 characters, UPC-E with "@", a letter in 2 of 5, set D.
      {"08 00 01 00 06 01 01 01 01", "31 32 33 34 35 36 37", Symbology::kEan8, "", "", 0, true},
      {"08 01 04 00 02 02 01 01 01", "31 32 33 34 35 40", Symbology::kUpcE, "", "", 0, true},
      {"08 03 00 00 06 01 01 01 01", "31 41", Symbology::kInterleaved2of5, "", "", 0, true},
      {"08 04 00 00 06 01 01 01 01", "44 31 32", Symbology::kCode128, "", "", 0, true},
  };
  for (const DataCase& c : cases) {
    SCOPED_TRACE(std::string(c.parameters) + " / " + c.data);
    const Sheet sheet = Interpret(Job(c), inspect::Dialect::kDotMatrix);
    if (std::string(c.encoded).empty()) {
      EXPECT_TRUE(sheet.barcodes.empty());
      ASSERT_EQ(sheet.notes.size(), 1u);
      EXPECT_NE(sheet.notes[0].text.find("nothing printed"), std::string::npos);
      continue;
    }
    ASSERT_EQ(sheet.barcodes.size(), 1u);
    EXPECT_EQ(sheet.barcodes[0].symbology, c.symbology);
    EXPECT_EQ(sheet.barcodes[0].data, c.encoded);
    EXPECT_EQ(sheet.barcodes[0].check, c.check);
    EXPECT_NEAR(sheet.barcodes[0].heightInches, c.height, 1e-9);
    EXPECT_EQ(sheet.barcodes[0].humanReadable, c.humanReadable);
  }
}

TEST(BarcodeCommands, IgnoreInvalidParameterCommands) {
  const std::vector<const char*> jobs{
      "1B 10 41 03 00 01 00 1B 10 42 01 31",                 // count 3 is invalid
      "1B 10 41 08 05 00 00 06 01 01 01 01 1B 10 42 01 31",  // no type 5 0
      "1B 10 42 01 31",                                      // data before any type
  };
  for (const char* job : jobs) {
    const Sheet sheet = Interpret(Hex(job), inspect::Dialect::kDotMatrix);
    EXPECT_TRUE(sheet.barcodes.empty()) << job;
    EXPECT_FALSE(sheet.notes.empty()) << job;
  }
}

}  // namespace
}  // namespace quorvel::sheet
