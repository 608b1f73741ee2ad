#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/messages.h"

namespace quorvel {

/// The text shown for an error that left an event handler: what the user was doing, and the
/// system's reason on a line of its own.
std::string DescribeUntrappedError(std::string_view action, const std::exception& error);

/// Runs `handler`; any exception it lets out is shown in a message box instead of ending the
/// program. Returns false when the handler failed.
template <typename Handler>
bool RunHandler(std::string_view action, MessageDisplay& messages, Handler&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    try {
      messages.Show(DescribeUntrappedError(action, e));
    } catch (...) {
    }
  } catch (...) {
    try {
      messages.Show(DescribeUntrappedError(action, std::runtime_error("unknown error")));
    } catch (...) {
    }
  }
  return false;
}

}  // namespace quorvel
