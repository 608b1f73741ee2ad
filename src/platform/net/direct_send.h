#pragma once

#include <string>

#include "common/messages.h"
#include "pages/page_text.h"
#include "platform/net/tcp_spooler.h"
#include "printing/print_flow.h"

namespace quorvel::net {

/// Sends a test page straight to a printer's raw port through the same flow as the buttons: the
/// printer list holds the one target "HOST:PORT", the combo box shows it, and a TcpSpooler
/// carries the job. The user is told the outcome through `messages`.
PrintOutcome SendTestPageTo(const Endpoint& target, PageComposer composer, MessageDisplay& messages,
                            SendLimits limits = {});

}  // namespace quorvel::net
