#pragma once

#include <string>

#include "common/messages.h"
#include "pages/page_text.h"
#include "printing/print_flow.h"
#include "printing/spooler.h"

namespace quorvel {

/// The buttons' flow for one printer named outright by its address rather than installed: the
/// printer list holds that one target, the combo box shows it, and `spooler` carries the job.
PrintOutcome PrintTestPageTo(const std::string& target, Spooler& spooler, PageComposer composer,
                             MessageDisplay& messages);

}  // namespace quorvel
