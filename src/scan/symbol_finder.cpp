#include "scan/symbol_finder.h"

#include <zbar.h>

#include <algorithm>

namespace quorvel::scan {
namespace {

using sheet::Symbology;

struct Known {
  zbar::zbar_symbol_type_t type;
  Symbology symbology;
};

constexpr Known kKnown[] = {
    {zbar::ZBAR_EAN8, Symbology::kEan8},       {zbar::ZBAR_EAN13, Symbology::kEan13},
    {zbar::ZBAR_UPCA, Symbology::kUpcA},       {zbar::ZBAR_UPCE, Symbology::kUpcE},
    {zbar::ZBAR_CODE39, Symbology::kCode39},   {zbar::ZBAR_I25, Symbology::kInterleaved2of5},
    {zbar::ZBAR_CODE128, Symbology::kCode128},
};

void Configure(zbar::ImageScanner& scanner, int interleavedDigits) {
  // Only the linear symbologies the sheets hold: the others (QR above all) cost time and find
  // nothing on a test sheet.
  scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  for (const Known& known : kKnown) {
    scanner.set_config(known.type, zbar::ZBAR_CFG_ENABLE, 1);
  }
  scanner.set_config(zbar::ZBAR_I25, zbar::ZBAR_CFG_MIN_LEN, std::max(2, interleavedDigits));
  scanner.set_config(zbar::ZBAR_CODE39, zbar::ZBAR_CFG_MIN_LEN, 1);
}

verify::FoundSymbol ToFinding(const zbar::Symbol& symbol) {
  verify::FoundSymbol found;
  found.typeName = symbol.get_type_name();
  found.data = symbol.get_data();
  found.reads = symbol.get_quality();
  for (const Known& known : kKnown) {
    if (known.type == symbol.get_type()) {
      found.known = true;
      found.symbology = known.symbology;
    }
  }
  for (int i = 0; i < symbol.get_location_size(); ++i) {
    found.outline.push_back({static_cast<double>(symbol.get_location_x(static_cast<unsigned>(i))),
                             static_cast<double>(symbol.get_location_y(static_cast<unsigned>(i)))});
  }
  const int orientation = symbol.get_orientation();
  found.quarterTurns = orientation >= 0 && orientation <= 3 ? orientation : -1;
  return found;
}

}  // namespace

std::vector<verify::FoundSymbol> FindSymbols(const GreyPicture& grey, int interleavedDigits) {
  std::vector<verify::FoundSymbol> found;
  if (grey.empty()) {
    return found;
  }
  zbar::ImageScanner scanner;
  Configure(scanner, interleavedDigits);
  // zbar reads the packed rows where they lie.
  zbar::Image image(static_cast<unsigned>(grey.width()), static_cast<unsigned>(grey.height()),
                    "Y800", grey.data(), static_cast<unsigned long>(grey.size()));
  if (scanner.scan(image) <= 0) {
    return found;
  }
  for (zbar::Image::SymbolIterator symbol = image.symbol_begin(); symbol != image.symbol_end();
       ++symbol) {
    found.push_back(ToFinding(*symbol));
  }
  return found;
}

}  // namespace quorvel::scan
