#pragma once

#include "pages/page_text.h"

namespace quorvel {

/// The dot-matrix barcode page (Epson FX / IBM Proprinter barcode commands): 1,153 bytes ending in
/// CR LF, no form feed.
PageText ComposeDotMatrixPage();

}  // namespace quorvel
