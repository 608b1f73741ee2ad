#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

/// The editable printer combo box, seen from the logic that fills it and reads it.
class ComboBox {
 public:
  virtual ~ComboBox() = default;
  virtual void Append(const std::string& text) = 0;
  virtual std::size_t Count() const = 0;
  virtual std::string TextAt(std::size_t index) const = 0;
  /// Selects entry `index`, which also puts its text into the edit field.
  virtual void Select(std::size_t index) = 0;
  /// The text the edit field shows, exactly as typed or picked.
  virtual std::string Text() const = 0;
};

}  // namespace quorvel
