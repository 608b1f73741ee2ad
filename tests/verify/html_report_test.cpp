// The HTML report: what reaches the page from a scan or a file name is escaped, every verdict's
// meaning is there, the pictures are embedded and nothing is fetched. Expected texts by hand.

#include <gtest/gtest.h>

#include "verify/html_report.h"

namespace quorvel::verify {
namespace {

TEST(HtmlEscape, MakesEveryTextSafeInsideAnElementOrAQuotedAttribute) {
  struct Case {
    const char* text;
    const char* html;
  };
  const Case cases[] = {
      {"scan.png", "scan.png"},
      {"<b>&\"'", "&lt;b&gt;&amp;&quot;&#39;"},
      {"a&amp;b", "a&amp;amp;b"},
      {"tab\there\n", "tab&#x2409;here&#x240A;"},
      {"\x7f", "&#x2421;"},
      {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},  // UTF-8 passes whole
      {"\xff\xc3", "&#xFFFD;&#xFFFD;"},                          // a stray byte, a cut sequence
      {"\xc0\xaf", "&#xFFFD;&#xFFFD;"},                          // an overlong '/'
      {"\xed\xa0\x80", "&#xFFFD;&#xFFFD;&#xFFFD;"},              // a surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HtmlEscape(c.text), c.html);
  }
  EXPECT_EQ(HtmlEscape(std::string("a\0b", 3)), "a&#x2400;b");
}

TEST(Base64, EncodesAsRfc4648Does) {
  // The RFC's own test vectors.
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Base64(bytes), text);
  }
  EXPECT_EQ(Base64("\x89PNG"), "iVBORw==");
}

BlockResult Result(int block, const ExpectedBlock* expected, const FoundSymbol* found,
                   Verdict verdict) {
  BlockResult result;
  result.block = block;
  result.expected = expected;
  result.found = found;
  result.verdict = verdict;
  return result;
}

// A page with one block read as expected, one with other data, and an unexpected symbol whose
// data and the scan's name carry markup.
struct Fixture {
  ExpectedPage expected;
  PageFindings findings;
  PageResult page;

  Fixture() {
    expected.sheet = "dot-matrix";
    ExpectedBlock ean8;
    ean8.number = 1;
    ean8.symbology = sheet::Symbology::kEan8;
    ean8.data = "12345670";
    ean8.heightInches = 0.5;
    ean8.moduleInches = 0.0159;
    ExpectedBlock code39 = ean8;
    code39.number = 2;
    code39.symbology = sheet::Symbology::kCode39;
    code39.data = "A<B";
    expected.blocks = {ean8, code39};
    findings.placement.scale = 300;
    FoundSymbol one;
    one.known = true;
    one.symbology = sheet::Symbology::kEan8;
    one.data = "12345670";
    one.heightInches = 0.5;
    one.moduleInches = 0.0159;
    FoundSymbol two = one;
    two.symbology = sheet::Symbology::kCode39;
    two.data = "A&B";
    FoundSymbol stray = one;
    stray.symbology = sheet::Symbology::kCode128;
    stray.data = "\"><script>";
    findings.symbols = {one, two, stray};
    page.findings = &findings;
    page.expected = &expected;
    page.blocks = {Result(1, &expected.blocks[0], &findings.symbols[0], Verdict::kAsExpected),
                   Result(2, &expected.blocks[1], &findings.symbols[1], Verdict::kOtherData),
                   Result(0, nullptr, &findings.symbols[2], Verdict::kUnexpected)};
    page.blocks[0].grade = {true, 3.1, 'B', 0.8, 0.7, 0.05, 0.9, 10};
  }
};

bool Has(const std::string& html, const std::string& part) {
  return html.find(part) != std::string::npos;
}

TEST(HtmlReport, EscapesTheFileNameAndTheSymbolsData) {
  const Fixture f;
  const std::string html =
      HtmlReport("<scan & \"1\">.png", {f.page}, {{{"\x89PNG", ""}, {"", "not drawn"}}}, 7);
  const char* shown[] = {
      "Quorvel verify: &lt;scan &amp; &quot;1&quot;&gt;.png</h1>",
      "<td class=\"data\">A&lt;B</td>",   // the expected data
      "<td class=\"data\">A&amp;B</td>",  // the data read
      "<td class=\"data\">&quot;&gt;&lt;script&gt;</td>",
      "alt=\"The scan, each block outlined in its verdict&#39;s colour\"",
  };
  for (const char* part : shown) {
    EXPECT_TRUE(Has(html, part)) << part;
  }
  for (const char* raw : {"<scan", "A<B", "A&B", "<script>"}) {
    EXPECT_FALSE(Has(html, raw)) << raw;
  }
}

TEST(HtmlReport, ShowsEachBlocksVerdictAndGrade) {
  const Fixture f;
  const std::string html = HtmlReport("scan.png", {f.page}, {}, 7);
  const char* shown[] = {
      "<tr id=\"block-1\"><td>1</td><td>EAN-8</td><td class=\"data\">12345670</td>"
      "<td class=\"verdict green\">as expected</td><td>EAN-8</td>"
      "<td class=\"data\">12345670</td><td>B (3.1)</td><td>0.80</td><td>0.70</td><td>0.05</td>"
      "<td>0.90</td><td>0.50 in</td><td>0.0159 in</td></tr>",
      "<tr id=\"block-2\"><td>2</td><td>Code 39</td>",
      "<td class=\"verdict amber\">other data</td>",
      "<tr class=\"unexpected\"><td>symbol</td>",
      "<td class=\"verdict amber\">unexpected</td>",
      "2 blocks: 1 as expected, 1 other data, 1 unexpected",
      "Exit status 7",
  };
  for (const char* part : shown) {
    EXPECT_TRUE(Has(html, part)) << part;
  }
}

TEST(HtmlReport, SaysWhatEveryVerdictMeansAndThatGradesAreIndicativeOnce) {
  const Fixture f;
  const std::string html = HtmlReport("scan.png", {f.page, f.page}, {}, 0);
  for (const VerdictRow& row : VerdictTable()) {
    EXPECT_TRUE(Has(html, std::string(">") + row.name + "</span></dt><dd>" +
                              HtmlEscape(row.meaning)))
        << row.name;
  }
  const std::string note = HtmlEscape(kGradeNote);
  const std::size_t first = html.find(note);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(html.find(note, first + 1), std::string::npos);
}

TEST(HtmlReport, EmbedsItsPicturesAndFetchesNothing) {
  const Fixture f;
  const std::string html = HtmlReport("scan.png", {f.page}, {{{"\x89PNG", ""}, {"", "no sheet"}}}, 0);
  EXPECT_TRUE(Has(html, "<img src=\"data:image/png;base64,iVBORw==\""));
  EXPECT_TRUE(Has(html, "<p>no sheet</p>"));
  EXPECT_TRUE(Has(html, "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"));
  EXPECT_TRUE(Has(html, "default-src 'none'; img-src data:"));
  for (const char* fetch : {"http:", "https:", "<link", "<script", "url("}) {
    EXPECT_FALSE(Has(html, fetch)) << fetch;
  }
}

}  // namespace
}  // namespace quorvel::verify
