#pragma once

#include <functional>
#include <memory>
#include <string>

#include "printing/snmp_status.h"

namespace quorvel::platform {

/// A session with the SNMP agent at `host`, through the SNMP module (loaded on the first call,
/// from the program's folder or the installed library folder). Throws PlatformError when the
/// module cannot be loaded or the session cannot be opened. A request ends within a tenth of a
/// second of `stopped` (when given) saying the user stopped.
std::unique_ptr<SnmpSession> OpenSnmpSession(const std::string& host, const SnmpOptions& options,
                                             std::function<bool()> stopped);

}  // namespace quorvel::platform
