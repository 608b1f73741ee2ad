#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/exit_status.h"
#include "pages/page.h"
#include "printing/outcomes.h"
#include "printing/target.h"

namespace quorvel::cli {

/// Adds the positional page argument ("dot-matrix" or "pcl", and "auto" where `withAuto`) to
/// `command`.
CLI::Option* AddPageArgument(CLI::App& command, std::string& page, bool withAuto = false);

/// --snmp[=COMMUNITY] and --snmp-port N, as print and check take them.
struct SnmpChoice {
  CLI::Option* option = nullptr;
  std::string community;  // empty with a bare --snmp
  std::uint16_t port = 161;
  /// The agent's settings when --snmp was given.
  std::optional<SnmpOptions> Options() const;
};
void AddSnmpOptions(CLI::App& command, SnmpChoice& choice);

/// --pjl and --snmp ask a printer itself, so they need a printer named with --to (and PJL a raw
/// port): the refusal's words, or nothing when the options go together.
std::optional<std::string> DeviceQuestionRefusal(bool pjl, const SnmpChoice& snmp,
                                                 const std::vector<std::string>& targets);

// Each command binds its options and, when chosen, runs and stores its exit status.
void AddDumpCommand(CLI::App& app, int& exitCode);
void AddExplainCommand(CLI::App& app, int& exitCode);
void AddListenCommand(CLI::App& app, int& exitCode);
void AddPrintersCommand(CLI::App& app, int& exitCode);
void AddPrintCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddCheckCommand(CLI::App& app, int& exitCode);
void AddVerifyCommand(CLI::App& app, int& exitCode);

}  // namespace quorvel::cli
