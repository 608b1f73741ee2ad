#include "printing/device_id.h"

#include <cctype>
#include <vector>

#include "pages/page.h"

namespace quorvel {
namespace {

std::string Upper(std::string_view text) {
  std::string upper;
  for (const char c : text) {
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return upper;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> Commands(std::string_view list) {
  std::vector<std::string> commands;
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string_view::npos; start = end + 1) {
    end = list.find(',', start);
    const std::string_view command = Trimmed(list.substr(start, end - start));
    if (!command.empty()) {
      commands.push_back(Upper(command));
    }
  }
  return commands;
}

bool Names(const std::vector<std::string>& commands, std::initializer_list<std::string_view> set) {
  for (const std::string& command : commands) {
    for (const std::string_view one : set) {
      if (command == one) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string DeviceIdField(std::string_view deviceId, std::initializer_list<std::string_view> keys) {
  for (const std::string_view key : keys) {
    std::size_t start = 0;
    for (std::size_t end = 0; end != std::string_view::npos; start = end + 1) {
      end = deviceId.find(';', start);
      const std::string_view field = deviceId.substr(start, end - start);
      const std::size_t colon = field.find(':');
      if (colon != std::string_view::npos && Upper(Trimmed(field.substr(0, colon))) == key) {
        return std::string(Trimmed(field.substr(colon + 1)));
      }
    }
  }
  return "";
}

std::optional<PageChoice> PageForDeviceId(std::string_view deviceId) {
  const std::string list = DeviceIdField(deviceId, {"CMD", "COMMAND SET"});
  const std::vector<std::string> commands = Commands(list);
  const std::string shown = "CMD:" + list;
  if (Names(commands, {"PCL", "PCL5E", "PCL6", "PCLXL"})) {
    return PageChoice{std::string(PageOf(PageKind::kPcl).name), shown + " -> the PCL page"};
  }
  if (Names(commands, {"ESCP9", "EPSONFX", "PRPII9", "PRPXL24", "IBMPPR"})) {
    return PageChoice{std::string(PageOf(PageKind::kDotMatrix).name),
                      shown + " -> the dot-matrix page"};
  }
  return std::nullopt;
}

std::string CannotTellPage(const std::string& printer, const std::string& why) {
  return "can't tell which page suits " + printer + ": name it (" + why + ")";
}

}  // namespace quorvel
