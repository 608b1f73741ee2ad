#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

/// The value of an IEEE 1284 device ID's field ("MFG:ACME;MDL:Laser 9;CMD:PCL,PJL;"), under the
/// first of `keys` it carries (keys compared without case); empty when it has none.
std::string DeviceIdField(std::string_view deviceId, std::initializer_list<std::string_view> keys);

/// The test page a device ID's command set suits, and why, for the user.
struct PageChoice {
  std::string page;    // "pcl" or "dot-matrix"
  std::string reason;  // "CMD:PCL,PJL -> the PCL page"
};

/// PCL, PCL5E, PCL6 or PCLXL in CMD: the PCL page; else ESCP9, EPSONFX, PRPII9, PRPXL24 or IBMPPR:
/// the dot-matrix page; nothing when the ID names neither (or has no command set).
std::optional<PageChoice> PageForDeviceId(std::string_view deviceId);

/// "can't tell which page suits HOST: name it" and what was learnt of the printer.
std::string CannotTellPage(const std::string& printer, const std::string& why);

}  // namespace quorvel
