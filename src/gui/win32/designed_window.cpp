#include "gui/win32/designed_window.h"

#include <algorithm>
#include <string>

#include "common/error_report.h"
#include "platform/win32/win32_error.h"

namespace quorvel::win32 {
namespace {

constexpr int kComboListHeightPixels = 160;  // the drop-down list below the closed field
constexpr int kDesignFontTwips = 195;        // 9.75 point

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) {
    ::ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : 96;
}

struct ControlClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const ControlLayout& control) {
  const DWORD tabStop = control.tabIndex >= 0 ? WS_TABSTOP : 0;
  switch (control.kind) {
    case ControlKind::kPicture:
      return {"STATIC", SS_BITMAP | SS_NOTIFY, 0};
    case ControlKind::kPictureBox:
      // The box keeps its designed size (the icon's own size and the sunken border); the icon
      // is drawn at its own size in the middle, never stretched or squeezed to the box.
      return {"STATIC", SS_ICON | SS_CENTERIMAGE | SS_NOTIFY | tabStop, WS_EX_CLIENTEDGE};
    case ControlKind::kLabel:
      return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kComboBox:
      return {"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tabStop, 0};
    case ControlKind::kButton:
      return {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | tabStop, 0};
    case ControlKind::kLine:
      break;
  }
  return {nullptr, 0, 0};
}

// Makes the closed field of a drop-down combo box exactly `height` pixels high.
// The frame around the field differs between systems, so measure and correct a few times.
void SetComboFieldHeight(HWND combo, int height) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT rect{};
    ::GetWindowRect(combo, &rect);
    if (rect.bottom - rect.top == height) {
      return;
    }
    const LRESULT item = ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const int wanted = static_cast<int>(item) + height - (rect.bottom - rect.top);
    ::SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(wanted, 1));
  }
}

// A line's or label's colour: as designed, else the system's window-text colour.
COLORREF ColorOf(const ControlLayout& control) {
  return control.color ? RGB(control.color->red, control.color->green, control.color->blue)
                       : ::GetSysColor(COLOR_WINDOWTEXT);
}

// The direct child of `window` that holds `focus` (a combo box's edit field counts as the box).
HWND ChildHolding(HWND window, HWND focus) {
  while (focus != nullptr && ::GetParent(focus) != window) {
    focus = ::GetParent(focus);
  }
  return focus;
}

}  // namespace

DesignedWindow::DesignedWindow(const WindowLayout& layout, int firstControlId,
                               MessageDisplay& messages)
    : layout_(layout), firstControlId_(firstControlId), messages_(messages) {}

DesignedWindow::~DesignedWindow() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void DesignedWindow::RegisterClass(const char* className, HICON icon) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &DesignedWindow::WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = className;
  if (::RegisterClassExA(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError(std::string("RegisterClass ") + className);
  }
}

void DesignedWindow::Create(const WindowFrame& frame) {
  dpi_ = ScreenDpi();
  whiteBrush_.Reset(::CreateSolidBrush(RGB(255, 255, 255)));
  designFont_.Reset(::CreateFontA(-TwipsToPixels(kDesignFontTwips, dpi_), 0, 0, 0, FW_NORMAL, FALSE,
                                  FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  "MS Sans Serif"));
  const int clientWidth = TwipsToPixels(layout_.clientWidth, dpi_);
  const int clientHeight = TwipsToPixels(layout_.clientHeight, dpi_);
  RECT rect{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&rect, frame.style, frame.menu != nullptr, frame.exStyle);
  const std::string caption(layout_.caption);
  if (::CreateWindowExA(frame.exStyle, frame.className, caption.c_str(), frame.style, CW_USEDEFAULT,
                        CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, frame.owner,
                        frame.menu, ::GetModuleHandleA(nullptr), this) == nullptr) {
    if (frame.menu != nullptr) {
      ::DestroyMenu(frame.menu);
    }
    ThrowLastError("CreateWindow " + caption);
  }
  // A menu bar that wraps takes client height: grow the frame until the client is as designed.
  RECT client{};
  ::GetClientRect(window_, &client);
  ::GetWindowRect(window_, &rect);
  ::SetWindowPos(window_, nullptr, 0, 0,
                 rect.right - rect.left + clientWidth - (client.right - client.left),
                 rect.bottom - rect.top + clientHeight - (client.bottom - client.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  OnControlsCreated();
}

void DesignedWindow::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  for (std::size_t index = 0; index < layout_.controls.size(); ++index) {
    const ControlLayout& control = layout_.controls[index];
    const ControlClass kind = ClassFor(control);
    if (kind.className == nullptr) {
      controls_.push_back(nullptr);
      continue;
    }
    const std::string text(control.text);
    const int height = TwipsToPixels(control.height, dpi_);
    const int extra = control.kind == ControlKind::kComboBox ? kComboListHeightPixels : 0;
    HWND child = ::CreateWindowExA(
        kind.exStyle, kind.className, text.c_str(), WS_CHILD | WS_VISIBLE | kind.style,
        TwipsToPixels(control.left, dpi_), TwipsToPixels(control.top, dpi_),
        TwipsToPixels(control.width, dpi_), height + extra, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId_ + static_cast<int>(index))),
        instance, nullptr);
    if (child == nullptr) {
      ThrowLastError("CreateWindow " + std::string(control.name));
    }
    HGDIOBJ font = control.font == ControlFont::kMsSansSerif10 ? designFont_.Get()
                                                               : ::GetStockObject(DEFAULT_GUI_FONT);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind == ControlKind::kComboBox) {
      ::SetWindowTextA(child, text.c_str());
      SetComboFieldHeight(child, height);
    }
    controls_.push_back(child);
  }
  // The focus moves in z-order: put the controls that take it in their tab order, first on top.
  std::vector<std::size_t> order;
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (controls_[index] != nullptr && layout_.controls[index].tabIndex >= 0) {
      order.push_back(index);
    }
  }
  std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return layout_.controls[a].tabIndex < layout_.controls[b].tabIndex;
  });
  HWND previous = HWND_TOP;
  for (std::size_t index : order) {
    ::SetWindowPos(controls_[index], previous, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = controls_[index];
  }
}

HWND DesignedWindow::Control(std::string_view name) const {
  const int id = ControlId(name);
  return id != 0 ? controls_[static_cast<std::size_t>(id - firstControlId_)] : nullptr;
}

int DesignedWindow::ControlId(std::string_view name) const {
  for (std::size_t index = 0; index < layout_.controls.size(); ++index) {
    if (layout_.controls[index].name == name && index < controls_.size()) {
      return firstControlId_ + static_cast<int>(index);
    }
  }
  return 0;
}

void DesignedWindow::ShowCentred() {
  RECT rect{};
  ::GetWindowRect(window_, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  ::SetWindowPos(window_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(::GetNextDlgTabItem(window_, nullptr, FALSE));
}

LRESULT CALLBACK DesignedWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept {
  DesignedWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<DesignedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  } else {
    self = reinterpret_cast<DesignedWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (self == nullptr) {
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (!RunHandler("Handling a window message", self->messages_,
                  [&] { result = self->HandleMessage(message, wParam, lParam); })) {
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  return result;
}

LRESULT DesignedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      ::SetTextColor(reinterpret_cast<HDC>(wParam), TextColorOf(reinterpret_cast<HWND>(lParam)));
      return reinterpret_cast<LRESULT>(whiteBrush_.Get());
    case WM_PAINT:
      PaintLines();
      return 0;
    case DM_GETDEFID:
      return DefaultButton();
    case WM_NEXTDLGCTL:
      MoveFocus(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = ChildHolding(window_, ::GetFocus());
      } else if (lastFocus_ != nullptr && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      const LRESULT result = ::DefWindowProcA(window_, message, wParam, lParam);
      ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      controls_.clear();
      OnDestroyed();
      return result;
    }
    default:
      break;
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

void DesignedWindow::PaintLines() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window_, &paint);
  for (const ControlLayout& line : layout_.controls) {
    if (line.kind != ControlKind::kLine) {
      continue;
    }
    // The designed lines are horizontal: a band `lineWidth` pixels high from the start point
    // down, end point included (the white line under the grey one makes an etched separator).
    const int width = std::max(1, line.lineWidth * dpi_ / 96);
    UniqueGdiObject brush(::CreateSolidBrush(ColorOf(line)));
    const int top = TwipsToPixels(line.top, dpi_);
    const RECT band{TwipsToPixels(line.left, dpi_), top,
                    TwipsToPixels(line.left + line.width, dpi_) + 1, top + width};
    ::FillRect(dc, &band, static_cast<HBRUSH>(brush.Get()));
  }
  ::EndPaint(window_, &paint);
}

COLORREF DesignedWindow::TextColorOf(HWND control) const {
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (controls_[index] == control) {
      return ColorOf(layout_.controls[index]);
    }
  }
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

// Enter presses the button that has the focus, else the window's default button (if any).
LRESULT DesignedWindow::DefaultButton() const {
  HWND focus = ChildHolding(window_, ::GetFocus());
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    if (controls_[index] == focus && layout_.controls[index].kind == ControlKind::kButton) {
      return MAKELONG(firstControlId_ + static_cast<int>(index), DC_HASDEFID);
    }
  }
  return DefaultButtonId() != 0 ? MAKELONG(DefaultButtonId(), DC_HASDEFID) : 0;
}

// Tab and Shift+Tab, as IsDialogMessage asks for them.
void DesignedWindow::MoveFocus(WPARAM wParam, LPARAM lParam) {
  HWND next = lParam != 0
                  ? reinterpret_cast<HWND>(wParam)
                  : ::GetNextDlgTabItem(window_, ChildHolding(window_, ::GetFocus()), wParam != 0);
  if (next != nullptr) {
    ::SetFocus(next);
  }
}

}  // namespace quorvel::win32
