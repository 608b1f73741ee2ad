#pragma once

#include "app/combo_box.h"
#include "app/printers.h"
#include "common/messages.h"
#include "pages/page_text.h"
#include "printing/spooler.h"

namespace quorvel {

/// The name every test job carries in the queue.
inline constexpr std::string_view kDocumentName = "Command Print";

/// How a test print ended; the user has already been told.
enum class PrintOutcome { kExecuted, kNotRecognized, kSendFailed };

/// What the test-print flow works with.
struct PrintContext {
  Printers& printers;
  const ComboBox& combo;
  Spooler& spooler;
  MessageDisplay& messages;
};

/// Sends the page built by `composer` as one raw job of one page (page plus one form feed, in one
/// write) to the printer named by the combo box's text, puts the previously current printer back
/// and tells the user how it went.
PrintOutcome PrintTestPage(PrintContext context, PageComposer composer);

/// The same flow for a name typed or given outright: the installed printer whose device name is
/// exactly `name` gets the job, and the previously current printer is put back.
PrintOutcome PrintTestPageNamed(Printers& printers, const std::string& name, Spooler& spooler,
                                MessageDisplay& messages, PageComposer composer);

/// The flow's send for a printer that needs no look-up (one addressed outright): opens
/// `deviceName` on `spooler`, sends the job and tells the user how it went.
PrintOutcome SendTestJob(const std::string& deviceName, Spooler& spooler, MessageDisplay& messages,
                         PageComposer composer);

}  // namespace quorvel
