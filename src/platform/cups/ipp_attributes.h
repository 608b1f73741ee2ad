#pragma once

// Reading IPP responses: the attributes of a job or a printer, from a response that answers for
// one or lists many.
#include <string>
#include <string_view>
#include <vector>

#include "platform/cups/cups_connection.h"
#include "printing/job_tracker.h"

namespace quorvel::platform::cups {

/// A job-state value (RFC 8011 5.3.7) as the core names it.
JobState ToJobState(int ippJobState);

/// A printer-state value (RFC 8011 5.4.11) as the core names it.
PrinterState ToPrinterState(int ippPrinterState);

/// The attributes of one job or printer of a response, which may list many.
class Group {
 public:
  void Add(ipp_attribute_t* attribute) { attributes_.push_back(attribute); }

  std::vector<std::string> Strings(const char* name) const {
    std::vector<std::string> values;
    if (ipp_attribute_t* attribute = Find(name)) {
      for (int i = 0; i < ippGetCount(attribute); ++i) {
        const char* value = ippGetString(attribute, i, nullptr);
        values.emplace_back(value != nullptr ? value : "");
      }
    }
    return values;
  }
  std::string String(const char* name) const {
    const std::vector<std::string> values = Strings(name);
    return values.empty() ? "" : values.front();
  }
  int Integer(const char* name, int fallback) const {
    ipp_attribute_t* attribute = Find(name);
    return attribute != nullptr ? ippGetInteger(attribute, 0) : fallback;
  }
  bool Boolean(const char* name, bool fallback) const {
    ipp_attribute_t* attribute = Find(name);
    return attribute != nullptr ? ippGetBoolean(attribute, 0) != 0 : fallback;
  }
  // "none" is IPP's way of saying there is no reason.
  std::vector<std::string> Reasons(const char* name) const {
    std::vector<std::string> reasons = Strings(name);
    std::erase(reasons, "none");
    return reasons;
  }

 private:
  ipp_attribute_t* Find(const char* name) const {
    for (ipp_attribute_t* attribute : attributes_) {
      if (std::string_view(ippGetName(attribute)) == name) {
        return attribute;
      }
    }
    return nullptr;
  }

  std::vector<ipp_attribute_t*> attributes_;
};

/// Groups of `tag` in the order the server sent them; a nameless attribute separates two.
inline std::vector<Group> Groups(ipp_t* response, ipp_tag_t tag) {
  std::vector<Group> groups;
  bool open = false;
  for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute != nullptr;
       attribute = ippNextAttribute(response)) {
    if (ippGetGroupTag(attribute) != tag || ippGetName(attribute) == nullptr) {
      open = false;
      continue;
    }
    if (!open) {
      groups.emplace_back();
      open = true;
    }
    groups.back().Add(attribute);
  }
  return groups;
}

/// The first group of `tag`: a response about one job or printer; empty when there is none.
inline Group FirstGroup(ipp_t* response, ipp_tag_t tag) {
  std::vector<Group> groups = Groups(response, tag);
  return groups.empty() ? Group{} : std::move(groups.front());
}

/// A job's state, reasons and message.
inline JobStatus ToJobStatus(const Group& job) {
  JobStatus status;
  status.state = ToJobState(job.Integer("job-state", 0));
  status.reasons = job.Reasons("job-state-reasons");
  status.message = job.String("job-printer-state-message");
  if (status.message.empty()) {
    status.message = job.String("job-state-message");
  }
  return status;
}

/// A printer's state, reasons, message, whether it accepts jobs, and the jobs queued.
inline PrinterStatus ToPrinterStatus(const Group& printer) {
  PrinterStatus status;
  status.exists = true;
  status.state = ToPrinterState(printer.Integer("printer-state", 0));
  status.reasons = printer.Reasons("printer-state-reasons");
  status.message = printer.String("printer-state-message");
  status.acceptingJobs = printer.Boolean("printer-is-accepting-jobs", true);
  status.jobsAhead = printer.Integer("queued-job-count", 0);
  return status;
}

}  // namespace quorvel::platform::cups
