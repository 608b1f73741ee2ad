// The barcode commands one by one, with values from the printer manuals' own examples where
// they give one (EAN-13 "123456789012@" -> 8). The manual's Code 39 example, "123LPJ23@", adds
// up nine values (1+2+3+25+21+19+1+2+3 = 77 -> Y) for eight characters; the eight it holds
// add up to 76, whose character is X.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fakes/hex.h"
#include "sheet/barcode_rules.h"
#include "sheet/page_model.h"
#include "sheet/symbol_data.h"

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
      // The upper half-bytes of the count and of every parameter are ignored: 38 = 8 parameters,
      // 30 31 = 0 1 (EAN-8), 31 32 = length 12 (1 inch), 35 = n5 5, 30 = text off.
      {"38 30 31 31 32 35 31 31 30", "31 32 33 34 35 36 37 40", Symbology::kEan8, "12345670", "0",
       1.0, false},
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

struct Code128Case {
  const char* data;  // hex: the bytes after ESC DLE B's length byte
  char codeSet;
  std::string encoded;
  std::vector<int> symbols;  // start to stop
  std::size_t modules;
};

// Symbol values from the Code 128 character table of the printer manual (Table 6): set A and B
// space = 0, digits 16-25, "A" = 33; set C digit pairs; start A 103, B 104, C 105, stop 106.
TEST(Code128, EncodesInTheSetTheDataNamesAndChangesOnlyWhereTheDataSays) {
  const std::vector<Code128Case> cases{
      // The page's block 6: ten digits as ten set-A characters, "g" asks for the check:
      // 103 + 1*16 + 2*17 + ... + 10*25 = 1313, 1313 mod 103 = 77.
      {"41 30 31 32 33 34 35 36 37 38 39 67", 'A', "0123456789",
       {103, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 77, 106}, 145},
      // The manual's example: set C 12 34, change to set A (101), X Y Z: 1345 mod 103 = 6.
      {"43 31 32 33 34 3B 58 59 5A 67", 'C', "1234XYZ", {105, 12, 34, 101, 56, 57, 58, 6, 106},
       9 * 11 + 2},
      // Set B, no check code: no check symbol.
      {"42 41 61", 'B', "Aa", {104, 33, 65, 106}, 3 * 11 + 13},
      // Set A control characters (NUL = 64) and a SHIFT (98) to set B for one lower-case "a":
      // 103 + 1*64 + 2*98 + 3*65 + 4*33 = 690, 690 mod 103 = 72.
      {"41 00 62 61 41 67", 'A', std::string("\0aA", 3), {103, 64, 98, 65, 33, 72, 106},
       6 * 11 + 13},
  };
  for (const Code128Case& c : cases) {
    SCOPED_TRACE(c.data);
    const std::string data = Hex(c.data);
    BarcodeSettings settings;
    ApplyParameters(settings, 8, Hex("04 00 00 06 01 01 01 01"));
    const DataOutcome outcome = ReadBarcodeData(settings, data);
    ASSERT_TRUE(outcome.barcode.has_value()) << outcome.note;
    EXPECT_EQ(outcome.barcode->codeSet, c.codeSet);
    EXPECT_EQ(outcome.barcode->data, c.encoded);
    EXPECT_EQ(outcome.barcode->symbols, c.symbols);
    EXPECT_EQ(Code128Modules(outcome.barcode->symbols).size(), c.modules);
  }
}

// Start A, "0", check 103 + 16 = 119 mod 103 = 16, stop: 211412, 123122 (twice) and 2331112
// as bars and spaces of 1 to 4 modules, written out by hand.
TEST(Code128, DrawsEachSymbolFromTheModuleTable) {
  EXPECT_EQ(Code128Modules({103, 16, 16, 106}),
            "11010000100"
            "10011101100"
            "10011101100"
            "1100011101011");
}

struct WidthCase {
  const char* parameters;  // hex: the bytes after ESC DLE A, count first
  const char* data;
  std::array<int, 4> bars;  // 1/360 inch: bars of 1 to 4 modules, or narrow bar, wide bar
  std::array<int, 4> spaces;  // spaces of 1 to 4 modules, or narrow space, wide space
};

// The 24-pin width tables in 1/360 inch: EAN/UPC and Code 128 bars and spaces by module count
// and n5 (OKI ML3390 Table 2); Code 39 and 2 of 5 narrow and wide bars by n5 and n7 (Table 3),
// narrow spaces by n6 (OKI ML591 Table 85), wide spaces approximate (wide bar of n7 and n6
// plus narrow space less narrow bar of n6).
TEST(BarcodeCommands, TakeBarAndSpaceWidthsFromTheirOwnTables) {
  const std::vector<WidthCase> cases{
      {"08 00 01 00 06 01 00 00 01", "31 32 33 34 35 36 37 40", {3, 9, 13, 19}, {9, 14, 19, 24}},
      {"08 01 00 00 06 04 00 00 01", "31 32 33 34 35 36 37 38 39 30 31 40", {9, 21, 33, 45},
       {15, 27, 39, 51}},
      {"08 04 00 00 06 07 00 00 01", "42 41", {17, 37, 57, 77}, {23, 43, 63, 83}},
      {"08 02 00 00 06 02 02 02 01", "41", {4, 14, 0, 0}, {10, 20, 0, 0}},
      {"08 02 00 00 06 01 07 03 01", "41", {3, 14, 0, 0}, {23, 57 + 23 - 17, 0, 0}},
      {"08 03 00 00 06 04 04 04 01", "31 32", {9, 39, 0, 0}, {15, 45, 0, 0}},
      {"08 03 00 00 06 07 01 07 01", "31 32", {17, 97, 0, 0}, {8, 26 + 8 - 3, 0, 0}},
  };
  for (const WidthCase& c : cases) {
    SCOPED_TRACE(c.parameters);
    const std::string parameters = Hex(c.parameters);
    BarcodeSettings settings;
    ApplyParameters(settings, parameters[0], parameters.substr(1));
    const DataOutcome outcome = ReadBarcodeData(settings, Hex(c.data));
    ASSERT_TRUE(outcome.barcode.has_value()) << outcome.note;
    const Barcode& got = *outcome.barcode;
    std::array<double, 4> bars = got.barWidths;
    std::array<double, 4> spaces = got.spaceWidths;
    if (got.wideInches > 0) {
      bars = {got.moduleInches, got.wideInches, 0, 0};
      spaces = {got.spaceInches, got.wideSpaceInches, 0, 0};
    }
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_NEAR(bars[i] * 360, c.bars[i], 1e-9) << i;
      EXPECT_NEAR(spaces[i] * 360, c.spaces[i], 1e-9) << i;
    }
    EXPECT_NEAR(got.inkInches * 360, 3, 1e-9);  // every table widens a space by 6/360
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
