#include <gtest/gtest.h>

#include <string>

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
"summary":{"bytes":18,"lines":3,"commands":{"secondary symbol set":1},"controls":{"CR":2,"LF":2,"SO":1,"FF":1},"unknownEscapes":0,"warnings":0,"nulBytes":0,"endsWithFormFeed":true,"sequences":1,"sequenceDifferences":1}}
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

}  // namespace
}  // namespace quorvel::inspect
