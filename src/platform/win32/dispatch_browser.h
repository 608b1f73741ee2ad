#pragma once

#include <string>

#include "about/about_services.h"

namespace quorvel::win32 {

/// The classic browser through its automation object with late binding: create the object from
/// its programmatic identifier, set "Visible" to true, call "navigate" with the address, release.
class DispatchBrowser : public Browser {
 public:
  explicit DispatchBrowser(std::string progId = "INTERNETEXPLORER.Application")
      : progId_(std::move(progId)) {}
  void Navigate(const std::string& address) override;

 private:
  std::string progId_;
};

}  // namespace quorvel::win32
