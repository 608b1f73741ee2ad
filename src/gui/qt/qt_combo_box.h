#pragma once

#include <QComboBox>

#include "app/combo_box.h"

namespace quorvel::qt {

/// Combo1 as the core sees it: a list of device names and the text of the edit field.
class QtComboBox : public ComboBox {
 public:
  explicit QtComboBox(QComboBox& combo) : combo_(combo) {}

  void Append(const std::string& text) override;
  std::size_t Count() const override;
  std::string TextAt(std::size_t index) const override;
  void Select(std::size_t index) override;
  std::string Text() const override;

 private:
  QComboBox& combo_;
};

}  // namespace quorvel::qt
