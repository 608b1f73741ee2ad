#pragma once

#include "app/combo_box.h"
#include "platform/win32/win32_api.h"

namespace quorvel::win32 {

/// `Combo1` as the printer logic sees it: a drop-down combo box window, unsorted.
class Win32ComboBox : public ComboBox {
 public:
  explicit Win32ComboBox(HWND combo) : combo_(combo) {}
  void Append(const std::string& text) override;
  std::size_t Count() const override;
  std::string TextAt(std::size_t index) const override;
  void Select(std::size_t index) override;
  std::string Text() const override;

 private:
  HWND combo_;
};

}  // namespace quorvel::win32
