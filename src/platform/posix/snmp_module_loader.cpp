#include "platform/posix/snmp_module_loader.h"

#include "common/platform_error.h"
#include "platform/posix/module_table.h"
#include "platform/snmp/snmp_module.h"

namespace quorvel::platform {
namespace {

// How long one request waits for the agent, and how often it is sent again: a printer on the
// local network answers in milliseconds.
constexpr long kRequestTimeoutMs = 1000;
constexpr int kRetries = 1;

const snmp::Module* Load(std::string& error) {
  const auto* module = static_cast<const snmp::Module*>(
      LoadModuleTable(QUORVEL_SNMP_MODULE_FILE, snmp::kModuleEntry, error));
  if (module != nullptr &&
      (module->version != snmp::kModuleVersion || module->valueSize != sizeof(snmp::ModuleValue))) {
    error = std::string(QUORVEL_SNMP_MODULE_FILE) + " belongs to another build of quorvel-cli";
    return nullptr;
  }
  return module;
}

const snmp::Module& Module() {
  static std::string error;
  static const snmp::Module* const module = Load(error);
  if (module == nullptr) {
    throw PlatformError("SNMP", error);
  }
  return *module;
}

class ModuleSession : public SnmpSession {
 public:
  ModuleSession(const snmp::Module& module, std::string host, void* session,
                std::function<bool()> stopped)
      : module_(module), host_(std::move(host)), session_(session), stopped_(std::move(stopped)) {}
  ~ModuleSession() override { module_.close(session_); }
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  SnmpValue Get(const std::string& oid) override { return Ask(oid, false).second; }
  std::optional<std::pair<std::string, SnmpValue>> Next(const std::string& oid) override {
    std::pair<std::string, SnmpValue> found = Ask(oid, true);
    if (found.first.empty()) {
      return std::nullopt;
    }
    return found;
  }

 private:
  std::pair<std::string, SnmpValue> Ask(const std::string& oid, bool next) {
    snmp::ModuleError error{};
    if (module_.get(session_, oid.c_str(), next ? 1 : 0, &value_, &error, &Stopped, this) != 0) {
      throw PlatformError("SNMP " + host_, error.text);
    }
    SnmpValue value;
    if (value_.kind == 1) {
      value.kind = SnmpValue::Kind::kNumber;
      value.number = value_.number;
    } else if (value_.kind == 2) {
      value.kind = SnmpValue::Kind::kOctets;
      value.octets.assign(value_.text, value_.length);
    }
    return {value_.name, value};
  }

  static int Stopped(void* self) {
    const ModuleSession& session = *static_cast<const ModuleSession*>(self);
    return session.stopped_ && session.stopped_() ? 1 : 0;
  }

  const snmp::Module& module_;
  std::string host_;
  void* session_;
  std::function<bool()> stopped_;
  snmp::ModuleValue value_{};
};

}  // namespace

std::unique_ptr<SnmpSession> OpenSnmpSession(const std::string& host, const SnmpOptions& options,
                                             std::function<bool()> stopped) {
  const snmp::Module& module = Module();
  const bool numericV6 = host.find(':') != std::string::npos;
  const std::string peer = "udp" + std::string(numericV6 ? "6:[" : ":") + host +
                           (numericV6 ? "]" : "") + ":" + std::to_string(options.port);
  snmp::ModuleError error{};
  void* session =
      module.open(peer.c_str(), options.community.c_str(), kRequestTimeoutMs, kRetries, &error);
  if (session == nullptr) {
    throw PlatformError("SNMP " + host, error.text);
  }
  return std::make_unique<ModuleSession>(module, host, session, std::move(stopped));
}

}  // namespace quorvel::platform
