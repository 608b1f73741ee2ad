#include "printing/print_flow.h"

#include <exception>
#include <string>

#include "common/platform_error.h"
#include "pages/page.h"

namespace quorvel {
namespace {

// Starts the document and its page, writes page and form feed in one call, and ends both. Every
// step's result counts; `jobStarted` tells the caller whether there is a job to withdraw.
void SendJob(Spooler& spooler, PageComposer composer, bool& jobStarted) {
  spooler.StartDocument(std::string(kDocumentName));
  jobStarted = true;
  spooler.StartPage();
  const PageText data = ComposeJob(composer);
  const std::size_t written = spooler.Write(data);
  if (written != data.size()) {
    throw PlatformError("Write", "only " + std::to_string(written) + " of " +
                                     std::to_string(data.size()) +
                                     " bytes were accepted by the spooler");
  }
  spooler.EndPage();
  spooler.EndDocument();
}

// What the send came to; the user is told only after the caller has put its state back.
struct JobSent {
  PrintOutcome outcome = PrintOutcome::kExecuted;
  std::string failure;  // with kSendFailed: the reason
};

JobSent OpenAndSend(const std::string& deviceName, Spooler& spooler, PageComposer composer) {
  bool opened = false;
  try {
    opened = spooler.Open(deviceName);
  } catch (const std::exception& e) {
    return {PrintOutcome::kSendFailed, e.what()};
  }
  if (!opened) {
    return {PrintOutcome::kNotRecognized, ""};
  }
  bool jobStarted = false;
  try {
    SendJob(spooler, composer, jobStarted);
  } catch (const std::exception& e) {
    if (jobStarted) {
      spooler.Cancel();
    }
    spooler.Close();
    return {PrintOutcome::kSendFailed, e.what()};
  }
  spooler.Close();
  return {};
}

PrintOutcome Tell(MessageDisplay& messages, const JobSent& sent) {
  switch (sent.outcome) {
    case PrintOutcome::kExecuted:
      messages.Show(kExecuted);
      break;
    case PrintOutcome::kNotRecognized:
      messages.Show(kNotRecognized);
      break;
    case PrintOutcome::kSendFailed:
      messages.Show(std::string(kSendFailed) + "\n" + sent.failure);
      break;
  }
  return sent.outcome;
}

}  // namespace

PrintOutcome PrintTestPage(PrintContext context, PageComposer composer) {
  return PrintTestPageNamed(context.printers, context.combo.Text(), context.spooler,
                            context.messages, composer);
}

PrintOutcome PrintTestPageNamed(Printers& printers, const std::string& name, Spooler& spooler,
                                MessageDisplay& messages, PageComposer composer) {
  const std::optional<std::string> saved = printers.Current();
  if (!SelectPrinter(printers, name)) {
    // Nothing matched: nothing is sent, and saying "Executed" would claim a print that never was.
    messages.Show(kNotRecognized);
    return PrintOutcome::kNotRecognized;
  }
  const JobSent sent = OpenAndSend(*printers.Current(), spooler, composer);
  if (sent.outcome != PrintOutcome::kNotRecognized) {
    // A printer that would not open stays current; every other ending puts the old one back.
    printers.SetCurrent(saved);
  }
  return Tell(messages, sent);
}

PrintOutcome SendTestJob(const std::string& deviceName, Spooler& spooler, MessageDisplay& messages,
                         PageComposer composer) {
  return Tell(messages, OpenAndSend(deviceName, spooler, composer));
}

}  // namespace quorvel
