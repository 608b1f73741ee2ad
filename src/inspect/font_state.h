#pragma once

#include <string>

#include "inspect/job_item.h"

namespace quorvel::inspect {

/// The fonts a PCL printer holds: which one prints (SO selects the secondary font, SI the
/// primary), and the symbol set designated for each. "held" is whatever the printer held before
/// the job; "default" is what a printer reset (ESC E) restores.
struct FontState {
  std::string active = "held";
  std::string primary = "held";
  std::string secondary = "held";
  bool operator==(const FontState&) const = default;
};

/// The state after the printer has read `item`.
void ApplyItem(FontState& state, const Item& item);

}  // namespace quorvel::inspect
