// Barcodes are encoded and laid out by zint (its vector output: rectangles and text), then
// painted at the print position with the module width and bar height the printer uses. Code 128
// comes encoded in the sheet (the code set the data names) and is drawn from its modules.

#include <zint.h>

#include <QFont>
#include <QString>
#include <algorithm>
#include <memory>
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
void PaintLine(Canvas& canvas, const QString& text, double centre, double width, double baseline,
               double height) {
  QFont font("Nimbus Sans");
  font.setPixelSize(std::max(1, static_cast<int>(height)));
  canvas.painter.setFont(font);
  width = std::max(width, canvas.X(0.01));
  canvas.painter.drawText(QRectF(centre - width / 2, baseline - height, width, height * 1.2),
                          Qt::AlignHCenter | Qt::AlignTop, text);
}

// One line of zint's human-readable text.
void PaintString(Canvas& canvas, const zint_vector_string& s, double centre, double width,
                 double baseline, double unit) {
  PaintLine(canvas, QString::fromUtf8(reinterpret_cast<const char*>(s.text), s.length), centre,
            width, baseline, s.fsize * unit);
}

// Code 128 from the module pattern of the symbols the sheet encoded, the first bar at the print
// position; the human-readable line is the data, centred under the bars.
void PaintCode128(Canvas& canvas, const sheet::Barcode& barcode, double x0, double y0) {
  const std::string modules = sheet::Code128Modules(barcode.symbols);
  const double module = canvas.X(barcode.moduleInches);
  const double height = canvas.X(barcode.heightInches);
  for (std::size_t i = 0; i < modules.size();) {
    std::size_t end = i;
    while (end < modules.size() && modules[end] == modules[i]) {
      ++end;
    }
    if (modules[i] == '1') {
      canvas.painter.fillRect(QRectF(x0 + i * module, y0, (end - i) * module, height), Qt::black);
    }
    i = end;
  }
  if (barcode.humanReadable) {
    const double width = modules.size() * module;
    const double text = canvas.X(kTextInches);
    PaintLine(canvas, QString::fromLatin1(barcode.data.data(), barcode.data.size()),
              x0 + width / 2, width, y0 + height + text * 1.1, text);
  }
}

// The printer draws from the print position: the first bar lies at x0. zint leaves room for
// UPC's outside digits even without quiet zones; those digits stay left of the first bar.
void Paint(Canvas& canvas, const zint_vector& vector, double x0, double y0, double unit) {
  float first = vector.width;
  for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
    first = std::min(first, r->x);
  }
  x0 -= first * unit;
  for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
    canvas.painter.fillRect(
        QRectF(x0 + r->x * unit, y0 + r->y * unit, r->width * unit, r->height * unit), Qt::black);
  }
  for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
    const double width = s->width * unit;
    const double centre = s->halign == 1   ? x0 + s->x * unit + width / 2
                          : s->halign == 2 ? x0 + s->x * unit - width / 2
                                           : x0 + s->x * unit;
    PaintString(canvas, *s, centre, width, y0 + s->y * unit, unit);
  }
}

// Code 39 and 2 of 5: zint draws a narrow element one module wide and a wide one two or three;
// the printer has its own width for each narrow and wide bar and space (n5, n6, n7). The
// elements zint encodes are laid down again at the printer's widths.
void PaintElements(Canvas& canvas, const zint_vector& vector, const sheet::Barcode& barcode,
                   double x0, double y0, double unit) {
  std::vector<const zint_vector_rect*> bars;
  for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
    bars.push_back(r);
  }
  std::sort(bars.begin(), bars.end(), [](auto* a, auto* b) { return a->x < b->x; });
  const auto wide = [](float units) { return units > kUnitsPerModule * 1.5f; };
  double x = x0;
  float end = bars.empty() ? 0 : bars.front()->x;
  for (const zint_vector_rect* r : bars) {
    if (r->x > end) {
      x += canvas.X(wide(r->x - end) ? barcode.wideSpaceInches : barcode.spaceInches);
    }
    const double width = canvas.X(wide(r->width) ? barcode.wideInches : barcode.moduleInches);
    canvas.painter.fillRect(QRectF(x, y0 + r->y * unit, width, r->height * unit), Qt::black);
    x += width;
    end = r->x + r->width;
  }
  // The line under the bars is the data the printer encodes (no Code 39 asterisks).
  for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
    PaintLine(canvas, QString::fromLatin1(barcode.data.data(), barcode.data.size()),
              (x0 + x) / 2, x - x0, y0 + s->y * unit, s->fsize * unit);
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
    canvas.painter.drawRect(QRectF(x0, y0, canvas.X(1), canvas.X(barcode.heightInches)));
    return sheet::SymbologyName(barcode.symbology) + " " + barcode.data +
           ": cannot be drawn: " + symbol->errtxt;
  }
  const double unit = canvas.X(barcode.moduleInches) / kUnitsPerModule;
  if (barcode.wideInches > 0) {
    PaintElements(canvas, *symbol->vector, barcode, x0, y0, unit);
  } else {
    Paint(canvas, *symbol->vector, x0, y0, unit);
  }
  return {};
}

}  // namespace quorvel::render
