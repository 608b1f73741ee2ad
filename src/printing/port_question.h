#pragma once

#include <string>
#include <string_view>

#include "printing/device_reply.h"
#include "printing/target.h"

namespace quorvel {

/// Asks a printer on its raw port at `address` (HOST:PORT) a question, on a connection of its
/// own, and returns what it answered within `read`'s limits. Every step goes in the spooler's
/// order (open, document, page, write, end) and is checked: a port that cannot be opened or
/// takes fewer bytes than the question throws PlatformError naming the step, before any answer
/// is trusted.
BackChannel AskPort(PrinterAccess& access, const std::string& address, std::string_view question,
                    BackChannelRead read);

}  // namespace quorvel
