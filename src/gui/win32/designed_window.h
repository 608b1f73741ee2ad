#pragma once

#include <string_view>
#include <vector>

#include "common/layout.h"
#include "common/messages.h"
#include "platform/win32/unique_handle.h"

namespace quorvel::win32 {

/// How a designed window is framed.
struct WindowFrame {
  const char* className;
  DWORD style;
  DWORD exStyle;
  HWND owner;
  HMENU menu;  // the window takes ownership
};

/// A top-level window built from a layout table: client size and controls converted from twips
/// with the screen's real DPI, white background, lines painted, dialog keyboard handling (Tab,
/// Enter, Esc, access keys) through IsDialogMessage. Every message is handled inside a guard:
/// nothing thrown ever leaves the window procedure.
class DesignedWindow {
 public:
  DesignedWindow(const DesignedWindow&) = delete;
  DesignedWindow& operator=(const DesignedWindow&) = delete;
  virtual ~DesignedWindow();

  HWND Handle() const { return window_; }
  /// The control made from the layout entry called `name`.
  HWND Control(std::string_view name) const;
  /// Shows the window, centred on the screen, with the focus on its first tab stop.
  void ShowCentred();

  /// Registers the window class `className` with the shared window procedure.
  static void RegisterClass(const char* className, HICON icon);

 protected:
  DesignedWindow(const WindowLayout& layout, int firstControlId, MessageDisplay& messages);

  /// Creates the window and its controls; call once from the derived constructor.
  void Create(const WindowFrame& frame);
  int ControlId(std::string_view name) const;
  MessageDisplay& Messages() { return messages_; }
  /// The screen's DPI the layout was scaled to.
  int Dpi() const { return dpi_; }

  virtual void OnCommand(int id, int code) = 0;
  /// The button Enter presses when the focus is on no button; 0 for none.
  virtual int DefaultButtonId() const { return 0; }
  virtual void OnControlsCreated() {}
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void PaintLines();
  /// The text colour of the static control `control`: as designed, else the system's.
  COLORREF TextColorOf(HWND control) const;
  LRESULT DefaultButton() const;
  void MoveFocus(WPARAM wParam, LPARAM lParam);

  const WindowLayout& layout_;
  int firstControlId_;
  MessageDisplay& messages_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  std::vector<HWND> controls_;  // in layout order; destroyed with the window
  UniqueGdiObject designFont_;
  UniqueGdiObject whiteBrush_;
  HWND lastFocus_ = nullptr;
};

}  // namespace quorvel::win32
