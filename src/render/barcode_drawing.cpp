// Barcodes are encoded and laid out by zint (its vector output: rectangles and text), then
// painted at the print position with the module width and bar height the printer uses. Code 128
// comes encoded in the sheet (the code set the data names) and is drawn from its modules.

#include <zint.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "render/canvas.h"
#include "sheet/symbol_data.h"

namespace quorvel::render {
namespace {

using sheet::Symbology;

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// zint's vector output measures 2 units per module at scale 1.
constexpr float kUnitsPerModule = 2;
// The height of a human-readable line the sheet draws itself.
constexpr double kTextInches = 0.08;
constexpr int kCode128Stop = 106;

int ZintType(Symbology symbology) {
  switch (symbology) {
    case Symbology::kEan8:
    case Symbology::kEan13:
      return BARCODE_EANX_CHK;
    case Symbology::kUpcA:
      return BARCODE_UPCA_CHK;
    case Symbology::kUpcE:
      return BARCODE_UPCE_CHK;
    case Symbology::kCode39:
      return BARCODE_CODE39;
    case Symbology::kInterleaved2of5:
      return BARCODE_C25INTER;
    case Symbology::kCode128:
      break;
  }
  return BARCODE_CODE128;
}

// One line of human-readable text, `height` high, centred on `centre` and at most `width` wide.
void PaintLine(Canvas& canvas, const std::string& utf8, double centre, double width,
               double baseline, double height) {
  canvas.Line(utf8, centre, std::max(width, canvas.X(0.01)), baseline, height);
}

// One line of zint's human-readable text.
void PaintString(Canvas& canvas, const zint_vector_string& s, double centre, double width,
                 double baseline, double unit) {
  PaintLine(canvas, std::string(reinterpret_cast<const char*>(s.text), s.length), centre, width,
            baseline, s.fsize * unit);
}

// The width of a bar or space `modules` modules wide (1 to 4), from the printer's table.
double ElementWidth(const std::array<double, 4>& table, std::size_t modules) {
  return table[std::clamp<std::size_t>(modules, 1, table.size()) - 1];
}

// Code 128 from the module pattern of the symbols the sheet encoded, the first bar at the print
// position. Each symbol takes the printer's character width (the stop its own); its bars and
// spaces share it as the widths for their module counts do. The human-readable line is the
// data, centred under the bars.
void PaintCode128(Canvas& canvas, const sheet::Barcode& barcode, double x0, double y0) {
  const double height = canvas.X(barcode.heightInches);
  const double ink = canvas.X(barcode.inkInches);
  double x = x0;
  for (const int value : barcode.symbols) {
    const std::string modules = sheet::Code128Modules({value});
    std::vector<std::pair<bool, double>> elements;
    double sum = 0;
    for (std::size_t i = 0; i < modules.size();) {
      std::size_t end = i;
      while (end < modules.size() && modules[end] == modules[i]) {
        ++end;
      }
      const bool bar = modules[i] == '1';
      elements.emplace_back(bar,
                            ElementWidth(bar ? barcode.barWidths : barcode.spaceWidths, end - i));
      sum += elements.back().second;
      i = end;
    }
    const double character = value == kCode128Stop ? barcode.stopInches : barcode.moduleInches * 11;
    const double scale = sum > 0 ? character / sum : 1;
    for (const auto& [bar, width] : elements) {
      const double printed = canvas.X(width * scale);
      if (bar) {
        canvas.Fill(x - ink / 2, y0, printed + ink, height);
      }
      x += printed;
    }
  }
  if (barcode.humanReadable) {
    const double text = canvas.X(kTextInches);
    PaintLine(canvas, Latin1ToUtf8(barcode.data), (x0 + x) / 2, x - x0, y0 + height + text * 1.1,
              text);
  }
}

std::vector<const zint_vector_rect*> SortedBars(const zint_vector& vector) {
  std::vector<const zint_vector_rect*> bars;
  for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
    bars.push_back(r);
  }
  std::sort(bars.begin(), bars.end(), [](auto* a, auto* b) { return a->x < b->x; });
  return bars;
}

// Lays zint's bars down again from x0 at the printer's widths: `width(units, bar)` gives the
// head's width of a bar, or of the space before one, that zint draws `units` wide; each bar's
// ink reaches `ink` beyond it, half on each side. Returns where the head leaves the last bar.
template <typename Width>
double Relay(Canvas& canvas, const std::vector<const zint_vector_rect*>& bars, double x0, double y0,
             double unit, double ink, Width width) {
  double x = x0;
  float end = bars.empty() ? 0 : bars.front()->x;
  for (const zint_vector_rect* r : bars) {
    if (r->x > end) {
      x += canvas.X(width(r->x - end, false));
    }
    const double printed = canvas.X(width(r->width, true));
    canvas.Fill(x - ink / 2, y0 + r->y * unit, printed + ink, r->height * unit);
    x += printed;
    end = r->x + r->width;
  }
  return x;
}

// EAN and UPC: each bar and space at the printer's width for its module count (n5), the first
// bar at x0. zint's text keeps its place relative to the bars, stretched with them; UPC's
// outside digits stay left and right of the bars.
void PaintModules(Canvas& canvas, const zint_vector& vector, const sheet::Barcode& barcode,
                  double x0, double y0, double unit) {
  const std::vector<const zint_vector_rect*> bars = SortedBars(vector);
  if (bars.empty()) {
    return;
  }
  const auto modules = [](float units) {
    return static_cast<std::size_t>(units / kUnitsPerModule + 0.5f);
  };
  const double ink = canvas.X(barcode.inkInches);
  const double x = Relay(canvas, bars, x0, y0, unit, ink, [&](float units, bool bar) {
    return ElementWidth(bar ? barcode.barWidths : barcode.spaceWidths, modules(units));
  });
  float last = 0;
  for (const zint_vector_rect* r : bars) {
    last = std::max(last, r->x + r->width);
  }
  const float first = bars.front()->x;
  const double stretch = last > first ? (x - x0) / ((last - first) * unit) : 1;
  if (!barcode.humanText.empty() && vector.strings != nullptr) {  // the printer's own line
    const zint_vector_string* widest = vector.strings;            // zint's widest: under the bars
    for (const zint_vector_string* s = widest->next; s != nullptr; s = s->next) {
      widest = s->width > widest->width ? s : widest;
    }
    const zint_vector_string& s = *widest;
    PaintLine(canvas, Latin1ToUtf8(barcode.humanText), (x0 + x) / 2, x - x0, y0 + s.y * unit,
              s.fsize * unit);
    return;
  }
  for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
    const double width = s->width * unit * stretch;
    const double left = x0 + (s->x - first) * unit * stretch;
    const double centre = s->halign == 1   ? left + width / 2
                          : s->halign == 2 ? left - width / 2
                                           : left;
    PaintString(canvas, *s, centre, width, y0 + s->y * unit, unit);
  }
}

// Code 39 and 2 of 5: zint draws a narrow element one module wide and a wide one two or three;
// the printer has its own width for each narrow and wide bar and space (n5, n6, n7).
void PaintElements(Canvas& canvas, const zint_vector& vector, const sheet::Barcode& barcode,
                   double x0, double y0, double unit) {
  const auto wide = [](float units) { return units > kUnitsPerModule * 1.5f; };
  const double ink = canvas.X(barcode.inkInches);
  const double x = Relay(canvas, SortedBars(vector), x0, y0, unit, ink, [&](float units, bool bar) {
    return bar ? (wide(units) ? barcode.wideInches : barcode.moduleInches)
               : (wide(units) ? barcode.wideSpaceInches : barcode.spaceInches);
  });
  // The line under the bars is the data the printer encodes (no Code 39 asterisks).
  for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
    PaintLine(canvas, Latin1ToUtf8(barcode.data), (x0 + x) / 2, x - x0, y0 + s->y * unit,
              s->fsize * unit);
  }
}

}  // namespace

std::string DrawBarcode(Canvas& canvas, const sheet::Barcode& barcode) {
  if (barcode.symbology == Symbology::kCode128) {
    PaintCode128(canvas, barcode, canvas.Left(barcode.at.column), canvas.Top(barcode.at.line));
    return {};
  }
  Symbol symbol(ZBarcode_Create());
  symbol->symbology = ZintType(barcode.symbology);
  symbol->scale = 1;
  symbol->height = static_cast<float>(barcode.heightInches / barcode.moduleInches);
  symbol->guard_descent = static_cast<float>(barcode.guardInches / barcode.moduleInches);
  symbol->show_hrt = barcode.humanReadable ? 1 : 0;
  symbol->input_mode = DATA_MODE;
  symbol->output_options |= BARCODE_NO_QUIET_ZONES;  // the quiet zone is the page's business
  const int status =
      ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(barcode.data.data()),
                      static_cast<int>(barcode.data.size()));
  const double x0 = canvas.Left(barcode.at.column);
  const double y0 = canvas.Top(barcode.at.line);
  if (status >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR) {
    canvas.Frame(x0, y0, canvas.X(1), canvas.X(barcode.heightInches));
    return sheet::SymbologyName(barcode.symbology) + " " + barcode.data +
           ": cannot be drawn: " + symbol->errtxt;
  }
  const double unit = canvas.X(barcode.moduleInches) / kUnitsPerModule;
  if (barcode.wideInches > 0) {
    PaintElements(canvas, *symbol->vector, barcode, x0, y0, unit);
  } else {
    PaintModules(canvas, *symbol->vector, barcode, x0, y0, unit);
  }
  return {};
}

}  // namespace quorvel::render
