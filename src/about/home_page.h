#pragma once

#include "about/about_services.h"
#include "common/messages.h"

namespace quorvel {

/// Opens the maker's home page: through `preferred` (the classic browser automation on Windows),
/// and when that fails through `fallback` (the desktop's default browser). When both fail the user
/// is told why and the program goes on. Returns true when a browser took the address.
bool OpenHomePage(const std::string& address, Browser& preferred, Browser* fallback,
                  MessageDisplay& messages);

}  // namespace quorvel
