#include "common/build_features.h"

namespace quorvel {

std::string Unavailable(const BuildFeatures& features, Feature feature) {
  switch (feature) {
    case Feature::kRender:
      return features.render ? ""
                             : "render is not part of this build: it needs zint and Qt 6, which "
                               "this platform's build lacks; use the Linux quorvel-cli";
    case Feature::kVerify:
      return features.verify ? ""
                             : "verify is not part of this build: reading scans needs Qt 6, zbar "
                               "and poppler, which this platform's build lacks; use the Linux "
                               "quorvel-cli";
    case Feature::kSnmp:
      return features.snmp ? ""
                           : "this build of quorvel-cli has no SNMP (Net-SNMP is not built for it)";
    case Feature::kServers:
      return features.servers ? ""
                              : "--server is not available in this build; name a shared printer "
                                "as \\\\SERVER\\QUEUE with --printer instead.";
  }
  return "";
}

}  // namespace quorvel
