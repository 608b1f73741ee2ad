#pragma once

// Drives another process's windows by messages, the way a user's clicks and keys reach them.

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace quorvel::testing {

/// "Z:\dir\file" for a host path "/dir/file" (Wine's Z: is the host's root); other text unchanged.
std::string DosPath(const std::string& path);

/// The Windows path of the executable named by the environment variable `name` (set by CTest).
std::string ProgramFromEnvironment(const char* name);

struct MessageBoxSeen {
  HWND window = nullptr;
  std::string title;
  std::string text;
};

/// A program started for a test; ended at the latest when this object goes.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& program);
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  ~RunningProgram();

  DWORD Id() const { return id_; }
  /// The program's process handle (for its times); nullptr when it did not start.
  HANDLE Process() const { return process_.Get(); }
  bool WaitForExit(DWORD milliseconds);
  /// This program's visible top-level windows with the caption `caption` (class ignored).
  std::vector<HWND> TopWindows(const std::string& caption, const char* className = nullptr) const;
  /// Waits until one visible top-level window with `caption` exists; nullptr after the time.
  HWND WaitForWindow(const std::string& caption, DWORD milliseconds,
                     const char* className = nullptr) const;
  /// Waits for a message box of this program and reads its title and text.
  std::optional<MessageBoxSeen> WaitForMessageBox(DWORD milliseconds) const;
  /// The control that has the keyboard focus in this program's user-interface thread.
  HWND Focus() const;

 private:
  win32::UniqueKernelHandle process_;
  DWORD id_ = 0;
  DWORD threadId_ = 0;
};

std::string WindowText(HWND window);
std::string ClassName(HWND window);
SIZE ClientSize(HWND window);
/// `child`'s window rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
/// The direct child of `parent` of class `className` showing `text`.
HWND ChildByText(HWND parent, const char* className, const std::string& text);
/// Presses OK on a message box and waits until it is gone.
bool CloseMessageBox(HWND box);
/// Presses a key in `target` as the keyboard would: down, then up (the loop translates it).
void PostKey(HWND target, UINT virtualKey);
/// Alt plus a letter, as a menu or access key.
void PostAltKey(HWND target, char letter);
/// Posts a menu item's command to `window`, as choosing the item does.
bool PostMenuCommand(HWND window, int commandId);
void Pause(DWORD milliseconds);
/// Waits until `window` has been destroyed; false when it still exists after the time.
bool WaitUntilGone(HWND window, DWORD milliseconds);

}  // namespace quorvel::testing
