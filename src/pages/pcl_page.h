#pragma once

#include "pages/page_text.h"

namespace quorvel {

/// The PCL barcode symbol-set page: 440 bytes ending in CR LF, no form feed.
PageText ComposePclPage();

}  // namespace quorvel
