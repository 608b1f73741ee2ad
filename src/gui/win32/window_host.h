#pragma once

namespace quorvel::win32 {

/// What a window asks of the program around it.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  /// Shows the one About window: creates it when none is open, else brings it to the front.
  virtual void ShowAbout() = 0;
  /// Closes every window and ends the program.
  virtual void Exit() = 0;
  /// Called by each window when it has been destroyed.
  virtual void WindowClosed() = 0;
};

}  // namespace quorvel::win32
