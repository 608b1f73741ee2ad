#pragma once

#include <string>

#include "platform/cups/cups_test_support.h"

namespace quorvel::testing {

// Runs the built quorvel-cli against the test spooler, without LPDEST or PRINTER unless
// `environment` ("LPDEST=Virtual ...") sets them.
inline CommandResult RunQuorvelCli(const std::string& arguments,
                                   const std::string& environment = "") {
  UseTestSpooler();
  return RunCommand("env -u LPDEST -u PRINTER " + environment + " '" QUORVEL_CLI_PATH "' " +
                    arguments);
}

}  // namespace quorvel::testing
