#pragma once

#include <string>

namespace quorvel {

/// What this build of quorvel-cli can do beyond sending pages. The commands read it for their
/// refusals and their --help; the platform factory fills it in (src/platform/command_line).
struct BuildFeatures {
  bool render = false;   // the drawing module: render, listen --render, verify --report
  bool verify = false;   // the scan module: verify
  bool snmp = false;     // the SNMP module: --snmp
  bool servers = false;  // print servers other than the user's own: --server
  bool pdf = false;      // render writes PDF and verify reads it (not on Windows)
};

enum class Feature { kRender, kVerify, kSnmp, kServers };

/// Why this build cannot do `feature`, in the words the commands print; empty when it can.
std::string Unavailable(const BuildFeatures& features, Feature feature);

}  // namespace quorvel
