#include "platform/cups/cups_printer_list.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/cups/cups_connection.h"
#include "platform/cups/cups_lpoptions.h"

namespace quorvel::platform::cups {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The server's queues (printers and classes) by name: one CUPS-Get-Printers asking for nothing
// but the names, which keeps a list of thousands about as cheap as lpstat -e.
std::vector<std::string> ServerQueues(CupsConnection& connection) {
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "printer-name");
  // "Not found" is how a server without queues answers.
  const UniqueIpp response = connection.Send(request, "/", "CUPS-Get-Printers", false);
  std::vector<std::string> queues;
  for (ipp_attribute_t* name = ippFindAttribute(response.get(), "printer-name", IPP_TAG_NAME);
       name != nullptr; name = ippFindNextAttribute(response.get(), "printer-name", IPP_TAG_NAME)) {
    queues.emplace_back(ippGetString(name, 0, nullptr));
  }
  return queues;
}

struct Entry {
  std::string queue;
  std::string instance;
};

// libcups's order of destinations: by name, then the queue before its instances, then by
// instance, letters compared without case.
bool ComesBefore(const Entry& a, const Entry& b) {
  const std::string nameA = Lower(a.queue);
  const std::string nameB = Lower(b.queue);
  if (nameA != nameB) {
    return nameA < nameB;
  }
  return Lower(a.instance) < Lower(b.instance);
}

}  // namespace

// The server's queues plus the instances the lpoptions files define for them, as lpstat -e
// lists them. Printers only found by network browsing are left out: they are no queue the
// spooler could open by name.
std::vector<std::string> CupsPrinterList::DeviceNames() {
  CupsConnection& connection = session_->Connection();
  std::vector<Entry> entries;
  for (std::string& queue : ServerQueues(connection)) {
    entries.push_back({std::move(queue), ""});
  }
  for (const LpoptionsDest& dest :
       session_->Named() ? std::vector<LpoptionsDest>{} : ReadLpoptions()) {
    const auto queue = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
      return e.instance.empty() && Lower(e.queue) == Lower(dest.name);
    });
    if (dest.instance.empty() || queue == entries.end()) {
      continue;
    }
    const Entry instance{queue->queue, dest.instance};
    if (std::none_of(entries.begin(), entries.end(), [&](const Entry& e) {
          return Lower(e.queue) == Lower(instance.queue) &&
                 Lower(e.instance) == Lower(instance.instance);
        })) {
      entries.push_back(instance);
    }
  }
  std::stable_sort(entries.begin(), entries.end(), &ComesBefore);
  std::vector<std::string> names;
  names.reserve(entries.size());
  for (const Entry& entry : entries) {
    names.push_back(entry.instance.empty() ? entry.queue : entry.queue + "/" + entry.instance);
  }
  return names;
}

// Worked out here rather than by cupsGetNamedDest: when its look-up fails, that function goes on
// through a connection of libcups's own that may wait a minute per request. A default naming a
// queue that does not exist (any more) means no default, as for lpstat -d.
std::optional<std::string> CupsPrinterList::DefaultDeviceName() {
  CupsConnection& connection = session_->Connection();
  std::optional<std::string> name = session_->Named() ? std::nullopt : UserDefault();
  if (!name) {
    connection.Arm();
    const char* serverDefault = cupsGetDefault2(connection.Get());
    if (serverDefault == nullptr) {
      if (connection.LastRequestFailed(false)) {
        connection.Fail("CUPS-Get-Default");
      }
      return std::nullopt;
    }
    name = serverDefault;
  }
  const std::size_t slash = name->find('/');
  const std::optional<std::string> queue = session_->FindQueue(name->substr(0, slash));
  if (!queue) {
    return std::nullopt;
  }
  return slash == std::string::npos ? *queue : *queue + name->substr(slash);
}

// The same answer DeviceNames would give for this one name: the queue as the server spells it,
// and for an instance the spelling of its first definition in the lpoptions files.
bool CupsPrinterList::HasDeviceName(const std::string& deviceName) {
  const std::size_t slash = deviceName.find('/');
  const std::string queue = deviceName.substr(0, slash);
  if (queue.empty()) {
    return false;
  }
  const std::optional<std::string> found = session_->FindQueue(queue);
  if (!found || *found != queue) {
    return false;
  }
  if (slash == std::string::npos) {
    return true;
  }
  if (session_->Named()) {
    return false;  // instances are the user's settings for the configured server
  }
  const std::string instance = deviceName.substr(slash + 1);
  for (const LpoptionsDest& dest : ReadLpoptions()) {
    if (!dest.instance.empty() && Lower(dest.name) == Lower(queue) &&
        Lower(dest.instance) == Lower(instance)) {
      return dest.instance == instance;
    }
  }
  return false;
}

}  // namespace quorvel::platform::cups
