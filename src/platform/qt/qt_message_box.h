#pragma once

#include "common/messages.h"

namespace quorvel::platform {

/// Messages in a modal QMessageBox: OK only, no icon, titled "Quorvel", over the active window.
class QtMessageBox : public MessageDisplay {
 public:
  void Show(std::string_view text) override;
};

}  // namespace quorvel::platform
