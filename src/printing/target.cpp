#include "printing/target.h"

#include <exception>

#include "common/platform_error.h"
#include "printing/roads.h"

namespace quorvel {

std::string TargetRoad::DeviceId(const std::string& name, std::string& failure) {
  try {
    const PrinterStatus status = Check(name);
    if (!status.exists) {
      failure = "there is no such printer";
    } else if (status.deviceId.empty()) {
      failure = "it gives no device ID";
    }
    return status.deviceId;
  } catch (const std::exception& e) {
    failure = std::string("no device ID: ") + e.what();
    return "";
  }
}

std::optional<PageChoice> ChoosePage(TargetRoad& road, const std::string& name, std::string& why) {
  std::string failure;
  const std::string id = road.DeviceId(name, failure);
  std::optional<PageChoice> choice = PageForDeviceId(id);
  if (!choice) {
    why = CannotTellPage(road.DisplayName(name),
                         id.empty() ? failure : "its device ID names neither: " + id);
  }
  return choice;
}

std::unique_ptr<SnmpSession> PrinterAccess::MakeSnmpSession(const std::string& host,
                                                            const SnmpOptions&,
                                                            const std::function<bool()>&) {
  throw PlatformError("SNMP " + host, "this build has no SNMP");
}

std::unique_ptr<TargetRoad> MakeRoad(TargetKind kind, PrinterAccess& access,
                                     const RoadOptions& options) {
  switch (kind) {
    case TargetKind::kQueue:
      return roads::MakeQueueRoad(access);
    case TargetKind::kIpp:
      return roads::MakeIppRoad(access, options);
    case TargetKind::kRawPort:
      break;
  }
  return roads::MakePortRoad(access, options);
}

}  // namespace quorvel
