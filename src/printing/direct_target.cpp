#include "printing/direct_target.h"

#include <vector>

#include "app/combo_box.h"
#include "app/printer_list.h"
#include "app/printers.h"

namespace quorvel {
namespace {

// The one printer a direct send knows: the target, which is also the "default".
class TargetList : public PrinterList {
 public:
  explicit TargetList(std::string target) : target_(std::move(target)) {}
  std::vector<std::string> DeviceNames() override { return {target_}; }
  std::optional<std::string> DefaultDeviceName() override { return target_; }
  bool HasDeviceName(const std::string& deviceName) override { return deviceName == target_; }

 private:
  std::string target_;
};

// A combo box whose edit field holds the target, as if the user had typed it.
class TargetCombo : public ComboBox {
 public:
  explicit TargetCombo(std::string target) : text_(std::move(target)) {}
  void Append(const std::string& text) override { entries_.push_back(text); }
  std::size_t Count() const override { return entries_.size(); }
  std::string TextAt(std::size_t index) const override { return entries_.at(index); }
  void Select(std::size_t index) override { text_ = entries_.at(index); }
  std::string Text() const override { return text_; }

 private:
  std::vector<std::string> entries_;
  std::string text_;
};

}  // namespace

PrintOutcome PrintTestPageTo(const std::string& target, Spooler& spooler, PageComposer composer,
                             MessageDisplay& messages) {
  TargetList list(target);
  Printers printers(list);
  TargetCombo combo(target);
  GetPrinters(printers, combo);
  return PrintTestPage({printers, combo, spooler, messages}, composer);
}

}  // namespace quorvel
