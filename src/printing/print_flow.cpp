#include "printing/print_flow.h"

#include <exception>
#include <string>

#include "common/platform_error.h"

namespace quorvel {
namespace {

// Starts the document and its page, writes page and form feed in one call, and ends both. Every
// step's result counts; `jobStarted` tells the caller whether there is a job to withdraw.
void SendJob(Spooler& spooler, PageComposer composer, bool& jobStarted) {
  spooler.StartDocument(std::string(kDocumentName));
  jobStarted = true;
  spooler.StartPage();
  PageText data = composer();
  data.push_back(kFormFeed);
  const std::size_t written = spooler.Write(data);
  if (written != data.size()) {
    throw PlatformError("Write", "only " + std::to_string(written) + " of " +
                                     std::to_string(data.size()) +
                                     " bytes were accepted by the spooler");
  }
  spooler.EndPage();
  spooler.EndDocument();
}

PrintOutcome ReportSendFailure(MessageDisplay& messages, const std::exception& error) {
  messages.Show(std::string(kSendFailed) + "\n" + error.what());
  return PrintOutcome::kSendFailed;
}

}  // namespace

PrintOutcome PrintTestPage(PrintContext context, PageComposer composer) {
  const std::optional<std::string> saved = context.printers.Current();
  if (!SelectPrinter(context.printers, context.combo.Text())) {
    // Nothing matched: nothing is sent, and saying "Executed" would claim a print that never was.
    context.messages.Show(kNotRecognized);
    return PrintOutcome::kNotRecognized;
  }
  const std::string deviceName = *context.printers.Current();

  bool opened = false;
  try {
    opened = context.spooler.Open(deviceName);
  } catch (const std::exception& e) {
    context.printers.SetCurrent(saved);
    return ReportSendFailure(context.messages, e);
  }
  if (!opened) {
    // The printer selected above stays current on this path.
    context.messages.Show(kNotRecognized);
    return PrintOutcome::kNotRecognized;
  }

  bool jobStarted = false;
  try {
    SendJob(context.spooler, composer, jobStarted);
  } catch (const std::exception& e) {
    if (jobStarted) {
      context.spooler.Cancel();
    }
    context.spooler.Close();
    context.printers.SetCurrent(saved);
    return ReportSendFailure(context.messages, e);
  }
  context.spooler.Close();
  context.printers.SetCurrent(saved);
  context.messages.Show(kExecuted);
  return PrintOutcome::kExecuted;
}

}  // namespace quorvel
