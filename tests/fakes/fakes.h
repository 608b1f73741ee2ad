#pragma once

// Recording fakes of the platform interfaces, for tests of the portable logic.

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "about/about_services.h"
#include "app/combo_box.h"
#include "app/printer_list.h"
#include "common/messages.h"
#include "common/platform_error.h"
#include "printing/job_follow.h"
#include "printing/job_tracker.h"
#include "printing/spooler.h"

namespace quorvel::testing {

class FakePrinterList : public PrinterList {
 public:
  FakePrinterList(std::vector<std::string> names, std::optional<std::string> defaultName)
      : names(std::move(names)), defaultName(std::move(defaultName)) {}

  std::vector<std::string> DeviceNames() override {
    ++enumerations;
    return names;
  }
  std::optional<std::string> DefaultDeviceName() override { return defaultName; }
  bool HasDeviceName(const std::string& deviceName) override {
    lookups.push_back(deviceName);
    return std::find(names.begin(), names.end(), deviceName) != names.end();
  }

  std::vector<std::string> names;
  std::optional<std::string> defaultName;
  int enumerations = 0;
  std::vector<std::string> lookups;  // names asked of HasDeviceName, in order
};

class FakeComboBox : public ComboBox {
 public:
  void Append(const std::string& text) override { entries.push_back(text); }
  std::size_t Count() const override { return entries.size(); }
  std::string TextAt(std::size_t index) const override { return entries.at(index); }
  void Select(std::size_t index) override {
    selected = index;
    text = entries.at(index);
  }
  std::string Text() const override { return text; }

  std::vector<std::string> entries;
  std::optional<std::size_t> selected;
  std::string text = "Combo1";
};

class RecordingMessageDisplay : public MessageDisplay {
 public:
  void Show(std::string_view text) override { shown.emplace_back(text); }
  std::vector<std::string> shown;
};

// Records every spooler call as a line ("Open Virtual", "Write 1154", ...) and fails the step
// named in `failAt` with a PlatformError.
class RecordingSpooler : public Spooler {
 public:
  bool Open(const std::string& deviceName) override {
    calls.push_back("Open " + deviceName);
    FailIf("Open");
    return openSucceeds;
  }
  void StartDocument(const std::string& documentName) override {
    calls.push_back("StartDocument " + documentName);
    FailIf("StartDocument");
  }
  void StartPage() override {
    calls.push_back("StartPage");
    FailIf("StartPage");
  }
  std::size_t Write(std::string_view bytes) override {
    calls.push_back("Write " + std::to_string(bytes.size()));
    written.emplace_back(bytes);
    FailIf("Write");
    return shortWrite ? bytes.size() - 1 : bytes.size();
  }
  void EndPage() override {
    calls.push_back("EndPage");
    FailIf("EndPage");
  }
  void EndDocument() override {
    calls.push_back("EndDocument");
    FailIf("EndDocument");
  }
  void Close() noexcept override { calls.push_back("Close"); }
  void Cancel() noexcept override { calls.push_back("Cancel"); }

  std::vector<std::string> calls;
  std::vector<std::string> written;
  std::string failAt;
  bool openSucceeds = true;
  bool shortWrite = false;
  std::optional<JobRef> submitted;  // what SubmittedJob names

  std::optional<JobRef> SubmittedJob() const override { return submitted; }

 private:
  void FailIf(const std::string& step) {
    if (step == failAt) {
      throw PlatformError(step, "the spooler said no");
    }
  }
};

// Answers each round from a script: round i gives jobStates[i] (the last one repeats) and
// printers[i]; a round listed in `failingRounds` throws as a server that does not answer.
// Records every question as "job Q-12" or "printer Q".
class FakeJobTracker : public JobTracker {
 public:
  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override {
    const std::size_t round = rounds++;
    std::vector<JobStatus> statuses;
    for (const JobRef& job : jobs) {
      calls.push_back("job " + job.printer + "-" + std::to_string(job.id));
    }
    if (failingRounds.count(round) != 0) {
      throw PlatformError("Get-Job-Attributes", "the print server did not answer within 8 seconds");
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      statuses.push_back(jobStates.at(std::min(round, jobStates.size() - 1)));
    }
    return statuses;
  }
  PrinterStatus QueryPrinter(const std::string& printer) override {
    calls.push_back("printer " + printer);
    return printers.empty() ? PrinterStatus{}
                            : printers.at(std::min(rounds - 1, printers.size() - 1));
  }

  std::vector<JobStatus> jobStates;
  std::vector<PrinterStatus> printers;
  std::set<std::size_t> failingRounds;
  std::vector<std::string> calls;
  std::size_t rounds = 0;
};

// Time that passes only when paused; `interruptAfter` pauses the user cuts short (Ctrl-C).
class FakePacer : public Pacer {
 public:
  std::chrono::milliseconds Elapsed() override { return elapsed; }
  bool Pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    if (interruptAfter && pauses.size() > *interruptAfter) {
      return false;
    }
    elapsed += duration;
    return true;
  }
  std::chrono::milliseconds elapsed{0};
  std::vector<std::chrono::milliseconds> pauses;
  std::optional<std::size_t> interruptAfter;
};

class FakeRegistry : public Registry {
 public:
  std::optional<RegistryData> Query(std::uint32_t keyRoot, const std::string& keyName,
                                    const std::string& valueName, std::uint32_t capacity) override {
    queries.push_back(keyName + "|" + valueName);
    lastCapacity = capacity;
    if (keyRoot != kHkeyLocalMachine) {
      return std::nullopt;
    }
    auto it = values.find(keyName + "|" + valueName);
    if (it == values.end() || it->second.bytes.size() > capacity) {
      return std::nullopt;
    }
    return it->second;
  }
  std::string ExpandEnvironment(const std::string& text) override {
    std::string result = text;
    for (const auto& [name, value] : environment) {
      const std::string reference = "%" + name + "%";
      for (std::size_t at = result.find(reference); at != std::string::npos;
           at = result.find(reference, at + value.size())) {
        result.replace(at, reference.size(), value);
      }
    }
    return result;
  }

  std::map<std::string, RegistryData> values;  // "key|value" -> data
  std::map<std::string, std::string> environment;
  std::vector<std::string> queries;
  std::uint32_t lastCapacity = 0;
};

class FakeFileLookup : public FileLookup {
 public:
  bool HasNormalFile(const std::string& path) override {
    asked.push_back(path);
    return normalFiles.count(path) != 0;
  }
  std::set<std::string> normalFiles;
  std::vector<std::string> asked;
};

class FakeProcessStarter : public ProcessStarter {
 public:
  void Start(const std::string& programPath, const std::string& arguments) override {
    started.push_back(programPath + (arguments.empty() ? "" : " " + arguments));
    if (fails || programPath.empty()) {
      throw PlatformError("CreateProcess", "The system cannot find the file specified.");
    }
  }
  std::vector<std::string> started;
  bool fails = false;
};

class FakeBrowser : public Browser {
 public:
  explicit FakeBrowser(bool fails = false, std::string reason = "no browser")
      : fails(fails), reason(std::move(reason)) {}
  void Navigate(const std::string& address) override {
    navigated.push_back(address);
    if (fails) {
      throw PlatformError("Navigate", reason);
    }
  }
  std::vector<std::string> navigated;
  bool fails;
  std::string reason;
};

}  // namespace quorvel::testing
