#include "cli/commands.h"

#include "cli/option_words.h"
#include "platform/command_line/command_line.h"

namespace quorvel::cli {

CLI::Option* AddPageArgument(CLI::App& command, std::string& page, bool withAuto) {
  if (withAuto) {
    return command
        .add_option("page", page,
                    "The test page: dot-matrix, pcl, or auto (the one the printer's device ID "
                    "suits)")
        ->required()
        ->check(PageName({"dot-matrix", "pcl", "auto"}));
  }
  return command.add_option("page", page, "The test page: dot-matrix or pcl")
      ->required()
      ->check(PageName({"dot-matrix", "pcl"}));
}

std::optional<SnmpOptions> SnmpChoice::Options() const {
  if (option == nullptr || option->count() == 0) {
    return std::nullopt;
  }
  SnmpOptions options;
  if (!community.empty()) {
    options.community = community;
  }
  options.port = port;
  return options;
}

void AddSnmpOptions(CLI::App& command, SnmpChoice& choice) {
  const std::string missing = Unavailable(platform::Features(), Feature::kSnmp);
  // print watches the job through the page counter; check only reads the printer's state.
  const std::string asked =
      command.get_name() == "check"
          ? "Also ask the printer's SNMP agent (v2c) with COMMUNITY (public): its status, error "
            "state, alerts, page counter and device ID; an error there makes it not ready"
          : "Ask the printer's SNMP agent (v2c) with COMMUNITY (public): its page counter before "
            "the job and after it has printed (the verdict), its status and alerts";
  choice.option = command
                      .add_option("--snmp", choice.community,
                                  asked + (missing.empty() ? "" : " (" + missing + ")"))
                      ->expected(0, 1)
                      ->option_text("[=COMMUNITY]");
  command.add_option("--snmp-port", choice.port, "The SNMP agent's UDP port (default 161)")
      ->check(WholeNumber(1, 65535, "a UDP port"));
}

std::optional<std::string> DeviceQuestionRefusal(bool pjl, const SnmpChoice& snmp,
                                                 const std::vector<std::string>& targets) {
  // Said before anything is sent: without the module the job would go out unwatched.
  if (snmp.Options()) {
    if (const std::string missing = Unavailable(platform::Features(), Feature::kSnmp);
        !missing.empty()) {
      return "--snmp: " + missing;
    }
  }
  if ((pjl || snmp.Options()) && targets.empty()) {
    return std::string("--pjl and --snmp ask a printer named with --to (HOST[:PORT] or ipp://)");
  }
  if (pjl && IsIppUri(targets.front())) {
    return std::string("--pjl: PJL goes to a printer's raw port, named with --to HOST[:PORT]");
  }
  return std::nullopt;
}

}  // namespace quorvel::cli
