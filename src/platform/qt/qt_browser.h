#pragma once

#include "about/about_services.h"

namespace quorvel::platform {

/// Opens web addresses with the desktop's default browser (QDesktopServices).
class QtBrowser : public Browser {
 public:
  void Navigate(const std::string& address) override;
};

}  // namespace quorvel::platform
