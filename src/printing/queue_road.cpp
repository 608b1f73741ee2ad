#include "app/printers.h"
#include "printing/roads.h"

namespace quorvel::roads {
namespace {

// Installed printers: looked up by their exact name and sent through the buttons' flow; the
// print server follows the job and tells how the printer stands.
class QueueRoad : public TargetRoad {
 public:
  explicit QueueRoad(PrinterAccess& access)
      : access_(access),
        list_(access.MakePrinterList()),
        spooler_(access.MakeSpooler()),
        printers_(*list_) {}

  std::string DefaultPrinter() override { return list_->DefaultDeviceName().value_or(""); }

  PrintOutcome Send(const std::string& name, PageComposer composer,
                    MessageDisplay& messages) override {
    return PrintTestPageNamed(printers_, name, *spooler_, messages, composer);
  }
  std::optional<JobRef> SubmittedJob() override { return spooler_->SubmittedJob(); }
  Follower FollowedBy() const override { return Follower::kRun; }
  JobTracker* Tracker() override { return &OwnTracker(); }

  PrinterStatus Check(const std::string& name) override {
    return !name.empty() && list_->HasDeviceName(name) ? OwnTracker().QueryPrinter(name)
                                                       : PrinterStatus{};
  }

 private:
  // Made when first needed: a print that is not followed asks nothing after the send.
  JobTracker& OwnTracker() {
    if (!tracker_) {
      tracker_ = access_.MakeJobTracker();
    }
    return *tracker_;
  }

  PrinterAccess& access_;
  std::unique_ptr<PrinterList> list_;
  std::unique_ptr<Spooler> spooler_;
  std::unique_ptr<JobTracker> tracker_;
  Printers printers_;
};

}  // namespace

std::unique_ptr<TargetRoad> MakeQueueRoad(PrinterAccess& access) {
  return std::make_unique<QueueRoad>(access);
}

}  // namespace quorvel::roads
