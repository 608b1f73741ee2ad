// Barcodes are encoded and laid out by zint (its vector output: rectangles and text), then
// painted at the print position with the module width and bar height the printer uses.

#include <zint.h>

#include <QFont>
#include <QString>
#include <memory>

#include "render/canvas.h"

namespace quorvel::render {
namespace {

using sheet::Symbology;

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// zint's vector output measures 2 units per module at scale 1.
constexpr float kUnitsPerModule = 2;

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

void Paint(Canvas& canvas, const zint_vector& vector, double x0, double y0, double unit) {
  QPainter& painter = canvas.painter;
  for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
    painter.fillRect(QRectF(x0 + r->x * unit, y0 + r->y * unit, r->width * unit, r->height * unit),
                     Qt::black);
  }
  for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
    QFont font("Nimbus Sans");
    font.setPixelSize(std::max(1, static_cast<int>(s->fsize * unit)));
    painter.setFont(font);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length);
    const double width = std::max<double>(s->width * unit, canvas.X(0.01));
    const double left = s->halign == 1   ? x0 + s->x * unit
                        : s->halign == 2 ? x0 + s->x * unit - width
                                         : x0 + s->x * unit - width / 2;
    const double height = s->fsize * unit;
    painter.drawText(QRectF(left, y0 + s->y * unit - height, width, height * 1.2),
                     Qt::AlignHCenter | Qt::AlignTop, text);
  }
}

}  // namespace

std::string DrawBarcode(Canvas& canvas, const sheet::Barcode& barcode) {
  Symbol symbol(ZBarcode_Create());
  symbol->symbology = ZintType(barcode.symbology);
  symbol->scale = 1;
  symbol->height = static_cast<float>(barcode.heightInches / barcode.moduleInches);
  symbol->guard_descent = static_cast<float>(barcode.guardInches / barcode.moduleInches);
  symbol->show_hrt = barcode.humanReadable ? 1 : 0;
  symbol->input_mode = DATA_MODE;
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
  Paint(canvas, *symbol->vector, x0, y0, canvas.X(barcode.moduleInches) / kUnitsPerModule);
  return {};
}

}  // namespace quorvel::render
