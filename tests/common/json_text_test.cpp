#include "common/json_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>

namespace quorvel::json {
namespace {

using namespace std::string_literals;

struct Case {
  std::string bytes;
  std::string characters;  // as UTF-8, worked out by hand from the UTF-8 byte patterns
};

// A name or message: valid UTF-8 stays; each byte that breaks it becomes U+0000 to U+00FF.
const Case kTextCases[] = {
    {"Q1", "Q1"},
    {"a\0b"s, "a\0b"s},
    {"caf\xC3\xA9", "caf\xC3\xA9"},                            // é
    {"\xE2\x82\xAC", "\xE2\x82\xAC"},                          // €
    {"\xF0\x9F\x96\xA8", "\xF0\x9F\x96\xA8"},                  // U+1F5A8
    {"h\xC3x:1", "h\xC3\x83x:1"},                              // lone lead byte: U+00C3
    {"\x80", "\xC2\x80"},                                      // lone continuation byte
    {"\xFF\xFE", "\xC3\xBF\xC3\xBE"},                          // never in UTF-8
    {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // overlong "/"
    {"\xE0\x80\xAF", "\xC3\xA0\xC2\x80\xC2\xAF"},              // overlong "/" in three
    {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // a surrogate
    {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
    {"\xE2\x82x", "\xC3\xA2\xC2\x82x"},                        // cut short
    {"\xE2\x82", "\xC3\xA2\xC2\x82"},                          // cut short by the end
    {"B\xFCro \xC3\xA9", "B\xC3\xBCro \xC3\xA9"},              // Latin-1 beside UTF-8
};

TEST(JsonCharacters, NamesAreReadAsUtf8AndBrokenBytesStandForThemselves) {
  for (const Case& c : kTextCases) {
    EXPECT_EQ(Characters(c.bytes, Bytes::kText), c.characters) << c.bytes;
  }
}

TEST(JsonCharacters, EachByteOfAJobIsOneCharacter) {
  const Case cases[] = {
      {"x ESC(8Y", "x ESC(8Y"},
      {"\0\x1B\x7F"s, "\0\x1B\x7F"s},
      {"\x80\xFF", "\xC2\x80\xC3\xBF"},
      {"caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},  // the two bytes of é are two characters
      {"\xE9", "\xC3\xA9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Characters(c.bytes, Bytes::kJob), c.characters) << c.bytes;
  }
}

TEST(JsonWrite, EscapesQuotesBackslashesAndControlsAndKeepsUtf8OrEscapesIt) {
  const struct {
    Value value;
    std::string spaced;
    std::string compact;
  } cases[] = {
      {"Q\"2", R"("Q\"2")", R"("Q\"2")"},
      {"a\\b", R"("a\\b")", R"("a\\b")"},
      {"not accepting\tjobs", R"("not accepting\u0009jobs")", R"("not accepting\u0009jobs")"},
      {"one\ntwo\r", R"("one\u000Atwo\u000D")", R"("one\u000Atwo\u000D")"},
      {"\x7F\x1B"s + '\0', R"("\u007F\u001B\u0000")", R"("\u007F\u001B\u0000")"},
      {"caf\xC3\xA9", "\"caf\xC3\xA9\"", R"("caf\u00E9")"},
      {"\xE2\x82\xAC", "\"\xE2\x82\xAC\"", R"("\u20AC")"},
      {"\xF0\x9F\x96\xA8", "\"\xF0\x9F\x96\xA8\"", R"("\uD83D\uDDA8")"},
      {"h\xC3x:1", "\"h\xC3\x83x:1\"", R"("h\u00C3x:1")"},
      {JobText("\xE9\x80"), "\"\xC3\xA9\xC2\x80\"", R"("\u00E9\u0080")"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Write(c.value, kSpaced), c.spaced);
    EXPECT_EQ(Write(c.value, kCompact), c.compact);
  }
}

TEST(JsonWrite, LaysOutMembersInOrderWithTwoDecimalsForFractions) {
  Value report;
  report["printers"] = 5;
  report["seconds"] = 2.5;
  report["job"] = nullptr;
  report["exists"] = true;
  report["bytes"] = {27, 40};
  report["details"] = Value::object();
  report["notes"] = Value::array();
  report["N\xC3pe"] = -1;
  EXPECT_EQ(Write(report, kSpaced),
            "{\"printers\": 5, \"seconds\": 2.50, \"job\": null, \"exists\": true, "
            "\"bytes\": [27, 40], \"details\": {}, \"notes\": [], \"N\xC3\x83pe\": -1}");
  EXPECT_EQ(Write(report, kCompact),
            "{\"printers\":5,\"seconds\":2.50,\"job\":null,\"exists\":true,"
            "\"bytes\":[27,40],\"details\":{},\"notes\":[],\"N\\u00C3pe\":-1}");
  const std::pair<double, std::string> fractions[] = {
      {0.04, "0.04"}, {1.234, "1.23"}, {0.0, "0.00"}, {2.999, "3.00"}, {12.0, "12.00"}};
  for (const auto& [number, text] : fractions) {
    EXPECT_EQ(Write(number, kSpaced), text);
  }
  EXPECT_EQ(Name("exitStatus", kSpaced), "\"exitStatus\": ");
  EXPECT_EQ(Name("dialect", kCompact), "\"dialect\":");
}

// A printer's name: U+FFFD for each byte that breaks UTF-8, and the exact bytes beside it when
// the name is not UTF-8 (each such byte \xHH, each backslash doubled).
TEST(JsonNames, ShowReplacementCharactersAndCarryTheBytes) {
  const struct {
    std::string name;
    std::string expected;  // the object PutName makes, as JSON text
  } cases[] = {
      {"B\xC3\xBCro", "{\"printer\": \"B\xC3\xBCro\"}"},  // Büro, UTF-8
      {"B\xFCro", R"({"printer": "B\uFFFDro", "printerBytes": "B\\xFCro"})"},
      {"B\xFDro", R"({"printer": "B\uFFFDro", "printerBytes": "B\\xFDro"})"},
      {"B\xEF\xBF\xBDro", R"({"printer": "B\uFFFDro"})"},  // a real U+FFFD
      {"\\\\S\\Q\xE9", R"({"printer": "\\\\S\\Q\uFFFD", "printerBytes": "\\\\\\\\S\\\\Q\\xE9"})"},
      {"h\xC3x:1", R"({"printer": "h\uFFFDx:1", "printerBytes": "h\\xC3x:1"})"},
  };
  std::set<std::string> written;  // no two names read the same
  for (const auto& c : cases) {
    Value object;
    PutName(object, "printer", c.name);
    EXPECT_EQ(Write(object, kCompact), Write(Value::parse(c.expected), kCompact)) << c.name;
    written.insert(Write(object, kSpaced));
  }
  EXPECT_EQ(written.size(), std::size(cases));
}

// Whatever the bytes, a JSON reader takes the text and reads back the characters of the rule.
TEST(JsonWrite, AReaderGetsBackTheCharactersOfTheRule) {
  for (const Layout* layout : {&kSpaced, &kCompact}) {
    for (const Case& c : kTextCases) {
      Value document;
      document[c.bytes] = c.bytes;
      const std::string text = Write(document, *layout);
      Value read;
      ASSERT_NO_THROW(read = Value::parse(text)) << text;
      ASSERT_EQ(read.size(), 1U);
      EXPECT_EQ(read.begin().key(), c.characters);
      EXPECT_EQ(read.begin().value(), c.characters);
    }
  }
}

}  // namespace
}  // namespace quorvel::json
