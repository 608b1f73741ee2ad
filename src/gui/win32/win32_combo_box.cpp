#include "gui/win32/win32_combo_box.h"

#include "common/platform_error.h"
#include "platform/win32/win32_error.h"

namespace quorvel::win32 {

void Win32ComboBox::Append(const std::string& text) {
  const LRESULT result =
      ::SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (result == CB_ERR || result == CB_ERRSPACE) {
    throw PlatformError("CB_ADDSTRING", "the list box could not take \"" + text + "\"");
  }
}

std::size_t Win32ComboBox::Count() const {
  const LRESULT count = ::SendMessageA(combo_, CB_GETCOUNT, 0, 0);
  if (count == CB_ERR) {
    throw PlatformError("CB_GETCOUNT", "the list box did not answer");
  }
  return static_cast<std::size_t>(count);
}

std::string Win32ComboBox::TextAt(std::size_t index) const {
  const LRESULT length = ::SendMessageA(combo_, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) {
    throw PlatformError("CB_GETLBTEXTLEN", "no list entry " + std::to_string(index));
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      ::SendMessageA(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

void Win32ComboBox::Select(std::size_t index) {
  if (::SendMessageA(combo_, CB_SETCURSEL, index, 0) == CB_ERR) {
    throw PlatformError("CB_SETCURSEL", "no list entry " + std::to_string(index));
  }
}

std::string Win32ComboBox::Text() const {
  ::SetLastError(ERROR_SUCCESS);
  const int length = ::GetWindowTextLengthA(combo_);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(combo_, text.data(), length + 1);
  if (copied == 0 && ::GetLastError() != ERROR_SUCCESS) {
    ThrowLastError("GetWindowText");
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

}  // namespace quorvel::win32
