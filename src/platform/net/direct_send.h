#pragma once

#include <string>

#include "common/messages.h"
#include "pages/page_text.h"
#include "platform/net/tcp_spooler.h"
#include "printing/print_flow.h"

namespace quorvel::net {

/// Sends a test page straight to a printer's raw port through the same send as the buttons': the
/// job goes to "HOST:PORT", which needs no look-up, and a TcpSpooler carries it. The user is told
/// the outcome through `messages`.
PrintOutcome SendTestPageTo(const Endpoint& target, PageComposer composer, MessageDisplay& messages,
                            SendLimits limits = {});

}  // namespace quorvel::net
