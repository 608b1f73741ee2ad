#include "gui/qt/qt_combo_box.h"

#include <stdexcept>

namespace quorvel::qt {
namespace {

int CheckedIndex(const QComboBox& combo, std::size_t index) {
  if (index >= static_cast<std::size_t>(combo.count())) {
    throw std::out_of_range("Combo1 has no entry " + std::to_string(index));
  }
  return static_cast<int>(index);
}

}  // namespace

void QtComboBox::Append(const std::string& text) {
  // QComboBox selects the first entry added to an empty list on its own; appending alone must
  // leave the selection and the edit field as they were.
  const int index = combo_.currentIndex();
  const QString shown = combo_.currentText();
  combo_.addItem(QString::fromStdString(text));
  if (combo_.currentIndex() != index) {
    combo_.setCurrentIndex(index);
    combo_.setEditText(shown);
  }
}

std::size_t QtComboBox::Count() const {
  return static_cast<std::size_t>(combo_.count());
}

std::string QtComboBox::TextAt(std::size_t index) const {
  return combo_.itemText(CheckedIndex(combo_, index)).toStdString();
}

void QtComboBox::Select(std::size_t index) {
  combo_.setCurrentIndex(CheckedIndex(combo_, index));
}

std::string QtComboBox::Text() const {
  return combo_.currentText().toStdString();
}

}  // namespace quorvel::qt
