#include "verify/html_report.h"

#include <cstdio>

#include "sheet/glyph_tables.h"

namespace quorvel::verify {
namespace {

// Phone first: the pictures side by side where there is room, one above the other where not;
// the table scrolls sideways on its own instead of widening the page.
constexpr char kStyle[] = R"(
body { font-family: system-ui, sans-serif; margin: 0 auto; padding: 0.8em; max-width: 80em;
       line-height: 1.4; color: #222; background: #fff; }
h1 { font-size: 1.4em; overflow-wrap: anywhere; }
h2 { font-size: 1.15em; overflow-wrap: anywhere; }
.pictures { display: flex; flex-wrap: wrap; gap: 1em; }
figure { flex: 1 1 18em; margin: 0; }
figure img { width: 100%; height: auto; border: 1px solid #bbb; }
figcaption { font-size: 0.9em; color: #555; }
.table { overflow-x: auto; margin: 1em 0; }
table { border-collapse: collapse; font-size: 0.9em; }
th, td { border: 1px solid #ccc; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
th { background: #f2f2f2; }
td.data { font-family: ui-monospace, monospace; overflow-wrap: anywhere; }
.green { background: #d8f0dd; }
.amber { background: #fbe9c4; }
.red { background: #f8d3d3; }
.differs { font-weight: bold; }
dt { font-weight: bold; margin-top: 0.4em; }
dt span { padding: 0 0.4em; }
)";

std::string Fixed(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Cell(const std::string& text, const std::string& classes = {}) {
  return (classes.empty() ? "<td>" : "<td class=\"" + classes + "\">") + HtmlEscape(text) +
         "</td>";
}

std::string FoundName(const FoundSymbol& found) {
  return found.known ? sheet::SymbologyName(found.symbology) : found.typeName;
}

std::string ExpectedName(const ExpectedBlock& block) {
  return block.glyphs ? std::string(sheet::SymbolSetOf(block.font)) + " glyphs"
                      : sheet::SymbologyName(block.symbology);
}

// A measured length against the expected one: "0.50 in", "0.41 in (0.50 in expected)".
std::string Length(double measured, double expected, bool differs, const char* format) {
  if (measured <= 0) {
    return {};
  }
  std::string text = Fixed(format, measured) + " in";
  if (differs) {
    text += " (" + Fixed(format, expected) + " in expected)";
  }
  return text;
}

std::string Row(const BlockResult& r) {
  const VerdictRow& verdict = RowOf(r.verdict);
  std::string row = r.expected != nullptr
                        ? "<tr id=\"block-" + std::to_string(r.block) + "\">" +
                              Cell(std::to_string(r.block)) + Cell(ExpectedName(*r.expected)) +
                              Cell(r.expected->data, "data")
                        : std::string("<tr class=\"unexpected\">") + Cell("symbol") + Cell("") +
                              Cell("");
  row += Cell(verdict.name, std::string("verdict ") + verdict.colour);
  if (r.found != nullptr) {
    row += Cell(FoundName(*r.found)) + Cell(r.found->data, "data");
  } else {
    row += Cell("") + Cell("");
  }
  const SymbolGrade& g = r.grade;
  if (g.graded) {
    row += Cell(std::string(1, g.letter) + Fixed(" (%.1f)", g.value)) +
           Cell(Fixed("%.2f", g.contrast)) + Cell(Fixed("%.2f", g.modulation)) +
           Cell(Fixed("%.2f", g.defects)) + Cell(Fixed("%.2f", g.decodability));
  } else {
    row += Cell("") + Cell("") + Cell("") + Cell("") + Cell("");
  }
  if (r.found != nullptr && r.expected != nullptr) {
    row += Cell(Length(r.found->heightInches, r.expected->heightInches, r.heightDiffers, "%.2f"),
                r.heightDiffers ? "differs" : "") +
           Cell(Length(r.found->moduleInches, r.expected->moduleInches, r.moduleDiffers, "%.4f"),
                r.moduleDiffers ? "differs" : "");
  } else {
    row += Cell("") + Cell("");
  }
  return row + "</tr>\n";
}

std::string Figure(const ReportPicture& picture, const std::string& caption) {
  std::string html = "<figure>";
  if (!picture.png.empty()) {
    html += "<img src=\"data:image/png;base64," + Base64(picture.png) + "\" alt=\"" +
            HtmlEscape(caption) + "\">";
  } else {
    html += "<p>" + HtmlEscape(picture.note) + "</p>";
  }
  return html + "<figcaption>" + HtmlEscape(caption) + "</figcaption></figure>\n";
}

std::string PageSection(const std::string& file, const PageResult& page,
                        const PagePictures* pictures) {
  std::string html = "<section>\n<h2>" + HtmlEscape(PageHeading(file, page)) + "</h2>\n";
  if (pictures != nullptr) {
    html += "<div class=\"pictures\">\n" +
            Figure(pictures->scan, "The scan, each block outlined in its verdict's colour") +
            Figure(pictures->sheet,
                   "The expected sheet: what a printer following its manual prints") +
            "</div>\n";
  }
  html +=
      "<div class=\"table\"><table>\n<thead><tr><th>Block</th><th>Expected</th><th>Data</th>"
      "<th>Verdict</th><th>Read</th><th>Data read</th><th>Grade</th><th>Contrast</th>"
      "<th>Modulation</th><th>Defects</th><th>Decodability</th><th>Bar height</th>"
      "<th>Module</th></tr></thead>\n<tbody>\n";
  for (const BlockResult& r : page.blocks) {
    html += Row(r);
  }
  html += "</tbody></table></div>\n<p class=\"summary\">" + HtmlEscape(SummaryLine(page.blocks)) +
          "</p>\n</section>\n";
  return html;
}

std::string Meanings() {
  std::string html = "<section>\n<h2>What each verdict means</h2>\n<dl>\n";
  for (const VerdictRow& row : VerdictTable()) {
    html += "<dt><span class=\"" + std::string(row.colour) + "\">" + HtmlEscape(row.name) +
            "</span></dt><dd>" + HtmlEscape(row.meaning) +
            (row.differs ? "" : " (the block is as it should be)") + "</dd>\n";
  }
  return html + "</dl>\n</section>\n";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '\'': out += "&#39;"; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7f) {
      char reference[16];
      std::snprintf(reference, sizeof reference, "&#x%X;", c == 0x7f ? 0x2421u : 0x2400u + c);
      out += reference;
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // A UTF-8 sequence passes whole (shortest form, no surrogates, up to U+10FFFF); any other
    // byte is one replacement character.
    const std::size_t length = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 ? 2 : 0;
    bool valid = length != 0 && c <= 0xf4 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
    }
    if (valid && length >= 3) {
      const unsigned char next = static_cast<unsigned char>(text[i + 1]);
      valid = !(c == 0xe0 && next < 0xa0) && !(c == 0xed && next >= 0xa0) &&
              !(c == 0xf0 && next < 0x90) && !(c == 0xf4 && next >= 0x90);
    }
    if (!valid) {
      out += "&#xFFFD;";
      continue;
    }
    out.append(text.substr(i, length));
    i += length - 1;
  }
  return out;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += kDigits[(v >> 6) & 63];
    out += kDigits[v & 63];
  }
  const std::size_t left = bytes.size() - i;
  if (left > 0) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       (left == 2 ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
    out += kDigits[v >> 18];
    out += kDigits[(v >> 12) & 63];
    out += left == 2 ? kDigits[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string HtmlReport(const std::string& file, const std::vector<PageResult>& pages,
                       const std::vector<PagePictures>& pictures, int exitStatus) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; "
      "style-src 'unsafe-inline'\">\n<title>" +
      HtmlEscape("Quorvel verify: " + file) + "</title>\n<style>" + kStyle +
      "</style>\n</head>\n<body>\n<h1>" + HtmlEscape("Quorvel verify: " + file) + "</h1>\n";
  for (std::size_t i = 0; i < pages.size(); ++i) {
    html += PageSection(file, pages[i], i < pictures.size() ? &pictures[i] : nullptr);
  }
  html += "<p class=\"status\">Exit status " + std::to_string(exitStatus) +
          (exitStatus == 0 ? ": every block is as it should be." : ": the scan differs from the expected sheet.") +
          "</p>\n" + Meanings() + "<section>\n<h2>Grades</h2>\n<p class=\"grade-note\">" +
          HtmlEscape(kGradeNote) +
          " A is the best grade, F a symbol that fails; the columns give the lines' means of "
          "symbol contrast, modulation, defects and decodability.</p>\n</section>\n"
          "</body>\n</html>\n";
  return html;
}

}  // namespace quorvel::verify
