#include "inspect/font_state.h"

namespace quorvel::inspect {

void ApplyItem(FontState& state, const Item& item) {
  if (item.kind == ItemKind::kControl && item.bytes == "\x0E") {
    state.active = "secondary";
  } else if (item.kind == ItemKind::kControl && item.bytes == "\x0F") {
    state.active = "primary";
  } else if (IsUel(item)) {
    state = FontState{"primary", "default", "default"};  // UEL resets PCL as ESC E does
  } else if (item.kind != ItemKind::kCommand) {
    return;
  } else if (item.name == "primary symbol set") {
    state.primary = item.value;
  } else if (item.name == "secondary symbol set") {
    state.secondary = item.value;
  } else if (item.name == "printer reset") {
    state = FontState{"primary", "default", "default"};
  }
}

}  // namespace quorvel::inspect
