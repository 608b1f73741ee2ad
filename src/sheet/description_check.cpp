// Sets the sheet's own words beside what its bytes ask for. A dot-matrix description line reads
// "Barcode EAN8, 0.5 Zoll high, smallest width, plaintext LQ" and describes the next barcode; a
// PCL caption reads "Barcode 3 of 9: ESC(0Y" and describes the next line of data.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

#include "sheet/glyph_tables.h"
#include "sheet/interpreters.h"

namespace quorvel::sheet {
namespace {

constexpr std::string_view kPrefix = "Barcode ";

std::string Squeezed(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '/') {
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

std::optional<Symbology> NamedSymbology(std::string_view name) {
  const std::string s = Squeezed(name);
  const std::pair<std::string_view, Symbology> names[] = {{"ean8", Symbology::kEan8},
                                                          {"ean13", Symbology::kEan13},
                                                          {"upca", Symbology::kUpcA},
                                                          {"upce", Symbology::kUpcE},
                                                          {"39", Symbology::kCode39},
                                                          {"2/5", Symbology::kInterleaved2of5},
                                                          {"2of5", Symbology::kInterleaved2of5},
                                                          {"128", Symbology::kCode128}};
  for (const auto& [key, symbology] : names) {
    if (s.find(key) != std::string::npos) {
      return symbology;
    }
  }
  return std::nullopt;
}

// "0.5", "1", "1/6" before " Zoll high" or " inch high".
std::optional<double> NamedHeight(std::string_view text) {
  std::size_t end = text.find(" Zoll high");
  end = end == std::string_view::npos ? text.find(" inch high") : end;
  if (end == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t start = text.rfind(' ', end - 1) + 1;
  const std::string number(text.substr(start, end - start));
  double a = 0;
  double b = 0;
  if (std::sscanf(number.c_str(), "%lf/%lf", &a, &b) == 2 && b > 0) {
    return a / b;
  }
  return std::sscanf(number.c_str(), "%lf", &a) == 1 ? std::optional<double>(a) : std::nullopt;
}

std::string Inches(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f in", value);
  return text;
}

void CheckBarcode(const TextRun& line, const Barcode& barcode, Sheet& sheet) {
  const std::string_view text(line.text);
  const std::string_view name = text.substr(kPrefix.size(), text.find(',') - kPrefix.size());
  auto add = [&](std::string what) {
    sheet.disagreements.push_back({line.bytes, barcode.bytes, std::move(what)});
  };
  const std::optional<Symbology> named = NamedSymbology(name);
  if (named && *named != barcode.symbology) {
    add("says " + std::string(name) + ", the bytes select " + SymbologyName(barcode.symbology));
  }
  const std::optional<double> height = NamedHeight(text);
  if (height && std::abs(*height - barcode.heightInches) > 0.01) {
    add("says " + Inches(*height) + " high, the bytes ask for " + Inches(barcode.heightInches));
  }
  const bool namesText = text.find("plaintext") != std::string_view::npos &&
                         text.find("no plaintext") == std::string_view::npos;
  if (namesText != barcode.humanReadable) {
    add(namesText ? "names a human-readable line, the bytes turn it off"
                  : "names no human-readable line, the bytes turn it on");
  }
}

void CheckDotMatrix(Sheet& sheet) {
  // Text runs and barcodes are both in the order of their bytes.
  const std::vector<TextRun>& texts = sheet.texts;
  std::size_t next = 0;
  const std::vector<Barcode> barcodes = sheet.barcodes;
  for (const Barcode& barcode : barcodes) {
    const TextRun* description = nullptr;
    for (; next < texts.size() && texts[next].bytes.offset < barcode.bytes.offset; ++next) {
      if (std::string_view(texts[next].text).starts_with(kPrefix)) {
        description = &texts[next];
      }
    }
    if (description != nullptr) {
      CheckBarcode(*description, barcode, sheet);
    }
  }
}

// What the first characters after a caption print in: the glyph font's set, or text.
struct Printed {
  ByteSpan bytes;
  std::string set;  // "0Y", "8Y", "15Y", or "text"
};

// The first run whose bytes start after `offset`, in runs kept in the order of their bytes.
template <typename Run>
const Run* FirstAfter(const std::vector<Run>& runs, std::size_t offset) {
  auto found =
      std::upper_bound(runs.begin(), runs.end(), offset,
                       [](std::size_t at, const Run& run) { return at < run.bytes.offset; });
  return found == runs.end() ? nullptr : &*found;
}

std::optional<Printed> PrintedAfter(const Sheet& sheet, std::size_t offset) {
  const GlyphRun* glyph = FirstAfter(sheet.glyphs, offset);
  const TextRun* text = FirstAfter(sheet.texts, offset);
  if (glyph != nullptr && (text == nullptr || glyph->bytes.offset < text->bytes.offset)) {
    return Printed{glyph->bytes, std::string(SymbolSetOf(glyph->font))};
  }
  if (text != nullptr) {
    return Printed{text->bytes, "text"};
  }
  return std::nullopt;
}

void CheckPcl(Sheet& sheet) {
  for (const TextRun& caption : sheet.texts) {
    const std::string_view text(caption.text);
    const std::size_t esc = text.rfind("ESC(");
    if (!text.starts_with(kPrefix) || esc == std::string_view::npos) {
      continue;
    }
    const std::string named(text.substr(esc + 4));
    const std::optional<Printed> printed =
        PrintedAfter(sheet, caption.bytes.offset + caption.bytes.length - 1);
    if (!printed || printed->set == named) {
      continue;
    }
    const std::string how =
        printed->set == "text" ? "as text" : "in the " + printed->set + " barcode font";
    const std::string wanted =
        FontForSymbolSet(named) ? "the " + named + " barcode font" : named + ", a text set";
    sheet.disagreements.push_back({caption.bytes, printed->bytes,
                                   "names " + wanted + ", the data line below it prints " + how});
  }
}

}  // namespace

void CheckDescriptions(Sheet& sheet) {
  if (sheet.dialect == inspect::Dialect::kPcl) {
    CheckPcl(sheet);
  } else {
    CheckDotMatrix(sheet);
  }
}

}  // namespace quorvel::sheet
