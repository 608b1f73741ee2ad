#include "printing/road_worker.h"

#include <exception>
#include <utility>

#include "pages/page.h"
#include "printing/pjl.h"
#include "printing/roads.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Tells two displays the same words.
class BothDisplays : public MessageDisplay {
 public:
  BothDisplays(MessageDisplay& first, MessageDisplay* second) : first_(first), second_(second) {}
  void Show(std::string_view text) override {
    first_.Show(text);
    if (second_ != nullptr) {
      second_->Show(text);
    }
  }

 private:
  MessageDisplay& first_;
  MessageDisplay* second_;
};

}  // namespace

// Sentences follow each other with a space; a sentence and its reason with a colon.
void CollectingMessages::Show(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string_view::npos; start = end + 1) {
    end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    if (!text_.empty()) {
      text_ += text_.back() == '.' ? " " : ": ";
    }
    text_.append(line);
  }
}

PrinterResult SendOne(const std::string& printer,
                      const std::function<PrintOutcome(MessageDisplay&)>& send,
                      MessageDisplay* also) {
  const Clock::time_point start = Clock::now();
  CollectingMessages collected;
  BothDisplays messages(collected, also);
  PrinterResult result{printer, FleetOutcome::kFailed, 0, milliseconds{0}, "", ""};
  try {
    result.outcome = OutcomeOf(send(messages));
  } catch (const std::exception& e) {
    messages.Show(std::string(kSendFailed) + "\n" + e.what());
  }
  if (result.outcome != FleetOutcome::kExecuted) {
    result.detail = collected.Text();
  }
  result.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  return result;
}

void SettleConfirmed(PrinterResult& result, const std::optional<DeviceVerdict>& verdict) {
  if (!verdict) {
    return;
  }
  result.outcome = OutcomeOf(verdict->verdict);
  result.confirmedBy = verdict->source;
  result.detail = verdict->detail;
}

RoadWorker::RoadWorker(PrinterAccess& access, bool direct, RoadTask task)
    : access_(access), direct_(direct), task_(std::move(task)) {
  if (!direct_) {
    // Made on the worker's thread before its first printer: a print server that cannot be
    // reached fails the worker, and each of its printers says why.
    roads_[static_cast<std::size_t>(TargetKind::kQueue)] = MakeRoad(TargetKind::kQueue, access_);
  }
}

RoadWorker::RoadWorker(PrinterAccess& access, bool direct, FleetTask task, PageComposer composer,
                       std::optional<std::chrono::seconds> wait, PacerFactory makePacer,
                       RoadOptions roadOptions)
    : RoadWorker(access, direct, RoadTask{task, composer, wait, std::move(roadOptions)}) {
  if (makePacer) {
    task_.road.makePacer = std::move(makePacer);
  }
}

TargetRoad& RoadWorker::Road(const std::string& printer) {
  const TargetKind kind = KindOf(printer, direct_);
  std::unique_ptr<TargetRoad>& road = roads_[static_cast<std::size_t>(kind)];
  if (!road) {
    road = MakeRoad(kind, access_, task_.road);
  }
  return *road;
}

PrinterResult RoadWorker::Run(const std::string& printer, std::optional<JobRef>& job) {
  trace_ = RoadTrace{};
  trace_.shownName = printer;
  return task_.task == FleetTask::kCheck ? Check(printer) : Send(printer, job);
}

// print auto: the page the printer's device ID names, refused when it names none or when it is
// the dot-matrix page and the job is to go inside PJL.
bool RoadWorker::ChooseComposer(TargetRoad& road, const std::string& printer,
                                PageComposer& composer, std::string& refused) {
  if (!task_.road.choosePage) {
    composer = task_.composer;
    return true;
  }
  trace_.page = ChoosePage(road, printer, refused);
  if (!trace_.page) {
    return false;
  }
  if (pageChosen_) {
    pageChosen_(*trace_.page);
  }
  const Page* page = PageNamed(trace_.page->page);
  if (page == nullptr || (page->kind == PageKind::kDotMatrix && task_.road.pjl)) {
    refused = "--pjl: " + std::string(kPjlNotForDotMatrix);
    return false;
  }
  composer = page->compose;
  return true;
}

PrinterResult RoadWorker::Send(const std::string& printer, std::optional<JobRef>& job) {
  TargetRoad* road = nullptr;
  std::string refused;
  PrinterResult result = SendOne(
      printer,
      [&](MessageDisplay& messages) {
        road = &Road(printer);
        trace_.shownName = road->DisplayName(printer);
        PageComposer composer = nullptr;
        if (!ChooseComposer(*road, printer, composer, refused)) {
          return PrintOutcome::kSendFailed;
        }
        return road->Send(printer, composer, messages);
      },
      also_);
  if (!refused.empty()) {
    result.outcome = FleetOutcome::kRefused;
    result.detail = refused;
    return result;
  }
  if (result.outcome == FleetOutcome::kExecuted) {
    Follow(*road, result, job);
  }
  return result;
}

// After the send: who follows the job, and what the worker itself learns of it.
void RoadWorker::Follow(TargetRoad& road, PrinterResult& result, std::optional<JobRef>& job) {
  const std::optional<JobRef> taken = road.SubmittedJob();
  result.jobId = taken ? taken->id : 0;
  trace_.executed = true;
  trace_.job = taken;
  trace_.follower = road.FollowedBy();
  switch (trace_.follower) {
    case TargetRoad::Follower::kNobody:
      if (task_.wait) {
        result.outcome = FleetOutcome::kNotConfirmed;
        result.detail = kRawPortNotConfirmed;
      }
      return;
    case TargetRoad::Follower::kRun:
      job = taken;  // the run's tracker follows it with the print server's other jobs
      return;
    case TargetRoad::Follower::kDevice:
      SettleConfirmed(result, road.DeviceConfirmation());
      return;
    case TargetRoad::Follower::kOwn:
      break;
  }
  if (task_.wait && taken) {
    const std::unique_ptr<Pacer> pacer = roads::MakePacer(task_.road);
    trace_.follow = FollowJob(*road.Tracker(), *taken, *task_.wait, *pacer);
    result.elapsed += pacer->Elapsed();
    SettleFollowed(result, *taken, *trace_.follow);
    result.confirmedBy = "ipp";
  }
}

PrinterResult RoadWorker::Check(const std::string& printer) {
  const Clock::time_point start = Clock::now();
  PrinterResult result{printer, FleetOutcome::kFailed, 0, milliseconds{0}, "", ""};
  try {
    TargetRoad& road = Road(printer);
    trace_.shownName = road.DisplayName(printer);
    trace_.status = road.Check(printer);
    result.outcome = OutcomeOf(AssessPrinter(*trace_.status));
    result.detail = JoinedLines(NotReadyReasons(*trace_.status));
  } catch (const std::exception& e) {
    trace_.checkFailure = e.what();
    result.detail = std::string("the printer could not be checked: ") + e.what();
  }
  result.elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  return result;
}

}  // namespace quorvel
