#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/messages.h"
#include "printing/device_id.h"
#include "printing/fleet.h"
#include "printing/job_follow.h"
#include "printing/printer_check.h"
#include "printing/target.h"

namespace quorvel {

/// Collects what the single-printer flow tells the user, on one line ("text: reason").
class CollectingMessages : public MessageDisplay {
 public:
  void Show(std::string_view text) override;
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

/// The single-printer flow `send` for one printer in a run over many: what it told the user (a
/// failure's message and reason) becomes the printer's line, with the time it took. An error it
/// throws counts as "could not be sent", as for one printer. `also`, when given, is told the
/// same words as they come.
PrinterResult SendOne(const std::string& printer,
                      const std::function<PrintOutcome(MessageDisplay&)>& send,
                      MessageDisplay* also = nullptr);

/// A printer's own verdict on its line: the outcome, its source and the printer's words.
void SettleConfirmed(PrinterResult& result, const std::optional<DeviceVerdict>& verdict);

/// What a run over many printers does to each.
enum class FleetTask { kPrint, kCheck };

/// Everything a run's worker does to each printer, for one printer as for many, on every kind
/// of target and every print server.
struct RoadTask {
  FleetTask task = FleetTask::kPrint;
  PageComposer composer = nullptr;  // print: the page; empty with road.choosePage
  /// With a value, a job the road follows itself is followed for at most this long.
  std::optional<std::chrono::seconds> wait;
  RoadOptions road;
};

/// What the last printer's road went through, so that a single printer's command can word it:
/// the page chosen, the check's full status, the job taken and who follows it.
struct RoadTrace {
  std::string shownName;  // the name as reports show it
  std::optional<PageChoice> page;
  std::optional<PrinterStatus> status;  // check
  std::string checkFailure;             // check: why the printer could not be asked
  bool executed = false;                // print: the printer (or its spooler) took the job
  std::optional<JobRef> job;
  TargetRoad::Follower follower = TargetRoad::Follower::kNobody;
  std::optional<FollowResult> follow;  // the job the worker followed itself
};

/// A run's worker: each printer goes the road of its kind, as one printer alone would. With a
/// wait, a job an IPP printer took is followed here on its own connection; a queue's job is
/// handed to the run's tracker; a raw port's ends "not confirmed". A page that cannot be chosen
/// (print auto), or that does not go with --pjl, is refused before anything is sent.
class RoadWorker : public FleetWorker {
 public:
  using PacerFactory = std::function<std::unique_ptr<Pacer>()>;
  RoadWorker(PrinterAccess& access, bool direct, RoadTask task);
  /// `makePacer` times an IPP job's follow-up (and lets the user cut it short).
  RoadWorker(PrinterAccess& access, bool direct, FleetTask task, PageComposer composer,
             std::optional<std::chrono::seconds> wait, PacerFactory makePacer,
             RoadOptions roadOptions = {});
  PrinterResult Run(const std::string& printer, std::optional<JobRef>& job) override;

  /// The single-printer command's display: told every message of a send as it comes, and the
  /// page print auto chose before the send.
  void TellAlso(MessageDisplay& messages, std::function<void(const PageChoice&)> pageChosen) {
    also_ = &messages;
    pageChosen_ = std::move(pageChosen);
  }
  const RoadTrace& Trace() const { return trace_; }

 private:
  TargetRoad& Road(const std::string& printer);
  PrinterResult Send(const std::string& printer, std::optional<JobRef>& job);
  PrinterResult Check(const std::string& printer);
  bool ChooseComposer(TargetRoad& road, const std::string& printer, PageComposer& composer,
                      std::string& refused);
  void Follow(TargetRoad& road, PrinterResult& result, std::optional<JobRef>& job);

  PrinterAccess& access_;
  bool direct_;
  RoadTask task_;
  std::unique_ptr<TargetRoad> roads_[3];
  MessageDisplay* also_ = nullptr;
  std::function<void(const PageChoice&)> pageChosen_;
  RoadTrace trace_;
};

}  // namespace quorvel
