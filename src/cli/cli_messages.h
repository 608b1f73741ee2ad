#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/combo_box.h"
#include "common/messages.h"

namespace quorvel::cli {

/// The command line's message box: "Executed" goes to standard output, every other message
/// (failures, "not recognized") to standard error, one line each, same texts as the boxes.
class StreamMessageDisplay : public MessageDisplay {
 public:
  void Show(std::string_view text) override;
  /// Adds the line of NotRecognizedHint after "not recognized", for `typed`.
  void HintFor(std::optional<std::string> typed) {
    hint_ = true;
    typed_ = std::move(typed);
  }

 private:
  bool hint_ = false;
  std::optional<std::string> typed_;
};

/// The line after "not recognized": the name as typed and the installed printers nearest to it;
/// with no name given (`typed` empty), that there is no default printer.
std::string NotRecognizedHint(const std::optional<std::string>& typed);

/// The printer combo box without a window: the list GetPrinters fills, and the text the user
/// typed (--printer) or the entry selected (the default printer).
class TextComboBox : public ComboBox {
 public:
  void Append(const std::string& text) override { entries_.push_back(text); }
  std::size_t Count() const override { return entries_.size(); }
  std::string TextAt(std::size_t index) const override { return entries_.at(index); }
  void Select(std::size_t index) override;
  std::string Text() const override { return text_; }

  /// Replaces the edit field's text, as typing does; the selection is kept.
  void Type(std::string text) { text_ = std::move(text); }
  /// The selected entry's index; nothing when no entry is selected.
  std::optional<std::size_t> Selected() const { return selected_; }

 private:
  std::vector<std::string> entries_;
  std::optional<std::size_t> selected_;
  std::string text_;
};

}  // namespace quorvel::cli
