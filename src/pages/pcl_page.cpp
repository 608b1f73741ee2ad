#include "pages/pcl_page.h"

#include <string_view>

namespace quorvel {
namespace {

// SI selects the primary font, SO the secondary. ESC ")" id designates the secondary font's
// symbol set, ESC "(" id the primary's. The captions spell "ESC(" in plain letters, whatever the
// line below them sends: the 2 of 5 block really sends ESC "(10U" (primary, PC-8), the others
// ESC ")" (secondary).
constexpr std::string_view kPage =
    "Quorvelprint\r\n"
    "(Just for test, not scannable!)\r\n"
    "\r\n\r\n\r\n"
    "\x0F"
    "Barcode 3 of 9: ESC(0Y\r\n"
    "\x0E\x1B"
    ")0Y"
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
    "\x0F"
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
    "\r\n\r\n\r\n\r\n"
    "Barcode 2 of 5: ESC(10U\r\n"
    "\x0E\x1B"
    "(10U"
    "1234567890\r\n"
    "\x0F"
    "1234567890\r\n"
    "\r\n\r\n\r\n\r\n"
    "Barcode EAN/UPC: ESC(8Y\r\n"
    "\x0E\x1B"
    ")8Y"
    "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
    "\x0F"
    "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
    "\r\n\r\n\r\n\r\n"
    "Barcode ZIP: ESC(15Y\r\n"
    "\r\n\r\n\r\n\r\n"
    "\x0E\x1B"
    ")15Y"
    "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
    "\x0F"
    "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n";

}  // namespace

PageText ComposePclPage() {
  return PageText(kPage);
}

}  // namespace quorvel
