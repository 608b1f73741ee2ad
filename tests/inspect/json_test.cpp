#include <gtest/gtest.h>

#include <string>

#include "common/json_text.h"
#include "fakes/expected_pages.h"
#include "fakes/hex.h"
#include "inspect/listing.h"

namespace quorvel::inspect {
namespace {

using testing::Hex;

TEST(JsonListing, WritesItemsFontStateSequencesAndSummary) {
  const std::string job = "x ESC(8Y" + Hex("0D 0A 0E 1B 29 38 59 0D 0A 0C");
  const std::string expected =
      R"JSON({"dialect":"pcl",
"lines":[
{"line":1,"offset":0,"length":10,"items":[{"offset":0,"kind":"text","text":"x ESC(8Y"},{"offset":8,"kind":"control","name":"CR","byte":13},{"offset":9,"kind":"control","name":"LF","byte":10}],"font":{"active":"held","primary":"held","secondary":"held"},"sequence":{"firstLine":1,"named":[27,40,56,89],"sent":[27,41,56,89],"differences":[{"position":2,"named":"(","sent":")"}]}},
{"line":2,"offset":10,"length":7,"items":[{"offset":10,"kind":"control","name":"SO","byte":14},{"offset":11,"kind":"command","code":"ESC \")8Y\"","name":"secondary symbol set","detail":"8Y, EAN/UPC barcode","bytes":[27,41,56,89],"value":"8Y"},{"offset":15,"kind":"control","name":"CR","byte":13},{"offset":16,"kind":"control","name":"LF","byte":10}],"font":{"active":"secondary","primary":"held","secondary":"8Y"}},
{"line":3,"offset":17,"length":1,"items":[{"offset":17,"kind":"control","name":"FF","byte":12}],"font":{"active":"secondary","primary":"held","secondary":"8Y"}}
],
"summary":{"bytes":18,"lines":3,"commands":{"secondarySymbolSet":1},"controls":{"CR":2,"LF":2,"SO":1,"FF":1},"unknownEscapes":0,"warnings":0,"nulBytes":0,"endsWithFormFeed":true,"sequences":1,"sequenceDifferences":1}}
)JSON";
  EXPECT_EQ(FormatJson(Explain(job, Dialect::kPcl)), expected);
}

TEST(JsonListing, EscapesBytesThatAreNotPrintableAndWarnings) {
  const std::string json = FormatJson(Explain(Hex("1B 10 42 03 22 5C 00"), Dialect::kDotMatrix));
  EXPECT_NE(json.find(R"("detail":"length 3, \"\\\"\\\\\" NUL")"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("warning":"the length byte says 3 but 2 data characters follow")"),
            std::string::npos)
      << json;
  const std::string pageJson =
      FormatJson(Explain(testing::ExpectedDotMatrixJob(), Dialect::kDotMatrix));
  EXPECT_NE(pageJson.find(R"("sequences":6,"sequenceDifferences":16})"), std::string::npos);
}

// Bytes above 127 in a job are control items, named by number; the listing stays JSON.
TEST(JsonListing, BytesAboveAsciiAreNamedAndTheListingParses) {
  const std::string job = "caf" + Hex("E9 20 C3 A9 0C");
  json::Value listing;
  ASSERT_NO_THROW(listing = json::Value::parse(FormatJson(Explain(job, Dialect::kPcl))));
  EXPECT_EQ(listing["lines"][0]["items"], json::Value::parse(R"([
      {"offset":0,"kind":"text","text":"caf"},
      {"offset":3,"kind":"control","name":"0xE9","byte":233},
      {"offset":4,"kind":"text","text":" "},
      {"offset":5,"kind":"control","name":"0xC3","byte":195},
      {"offset":6,"kind":"control","name":"0xA9","byte":169},
      {"offset":7,"kind":"control","name":"FF","byte":12}])"));
  EXPECT_EQ(listing["summary"]["bytes"], 8);
}

// A job's bytes are one character each, even where they would make UTF-8 (C3 A9 stays two);
// a note is read as UTF-8, and a byte that breaks it (E9) is the character of its number.
TEST(JsonListing, JobBytesAreCharactersAndNotesAreUtf8) {
  Listing listing;
  listing.dialect = Dialect::kPcl;
  ListingLine line;
  line.line = {1, 0, 3, {}};
  Item text;
  text.bytes = "\xC3\xA9!";
  line.line.items.push_back(text);
  line.notes = {"prints \xC3\xA9 as \"\xE9\""};
  listing.lines.push_back(line);
  const std::string expected =
      R"JSON({"dialect":"pcl",
"lines":[
{"line":1,"offset":0,"length":3,"items":[{"offset":0,"kind":"text","text":"\u00C3\u00A9!"}],"notes":["prints \u00E9 as \"\u00E9\""]}
],
"summary":{"bytes":0,"lines":0,"commands":{},"controls":{},"unknownEscapes":0,"warnings":0,"nulBytes":0,"endsWithFormFeed":false,"sequences":0,"sequenceDifferences":0}}
)JSON";
  const std::string written = FormatJson(listing);
  EXPECT_EQ(written, expected);
  const json::Value read = json::Value::parse(written);
  EXPECT_EQ(read["lines"][0]["items"][0]["text"], "\xC3\x83\xC2\xA9!");
  EXPECT_EQ(read["lines"][0]["notes"][0], "prints \xC3\xA9 as \"\xC3\xA9\"");
}

TEST(JsonListing, BothPagesParse) {
  const struct {
    std::string job;
    Dialect dialect;
    std::size_t bytes;
  } pages[] = {{testing::ExpectedDotMatrixJob(), Dialect::kDotMatrix, 1154},
               {testing::ExpectedPclJob(), Dialect::kPcl, 441}};
  for (const auto& page : pages) {
    const Listing listing = Explain(page.job, page.dialect);
    json::Value read;
    ASSERT_NO_THROW(read = json::Value::parse(FormatJson(listing)));
    EXPECT_EQ(read["summary"]["bytes"], page.bytes);
    EXPECT_EQ(read["lines"].size(), listing.lines.size());
  }
}

}  // namespace
}  // namespace quorvel::inspect
