#include "platform/posix/snmp_module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "common/platform_error.h"
#include "platform/snmp/snmp_module.h"

namespace quorvel::platform {
namespace {

// How long one request waits for the agent, and how often it is sent again: a printer on the
// local network answers in milliseconds.
constexpr long kRequestTimeoutMs = 1000;
constexpr int kRetries = 1;

const snmp::Module* Load(std::string& error) {
  std::error_code failure;
  const std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/self/exe", failure).parent_path();
  if (failure) {
    error = "cannot find the program's own folder: " + failure.message();
    return nullptr;
  }
  const std::vector<std::filesystem::path> candidates{
      folder / QUORVEL_SNMP_MODULE_FILE,
      (folder / QUORVEL_SNMP_MODULE_DIR / QUORVEL_SNMP_MODULE_FILE).lexically_normal()};
  error = "the SNMP module is not installed (" + candidates.back().string() + ")";
  for (const std::filesystem::path& candidate : candidates) {
    if (access(candidate.c_str(), F_OK) != 0) {
      continue;
    }
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* text = dlerror();
      error = text != nullptr ? text : "the SNMP module cannot be loaded";
      return nullptr;
    }
    auto entry = reinterpret_cast<snmp::ModuleEntry>(dlsym(handle, snmp::kModuleEntry));
    const snmp::Module* module = entry != nullptr ? entry() : nullptr;
    if (module == nullptr || module->version != snmp::kModuleVersion ||
        module->valueSize != sizeof(snmp::ModuleValue)) {
      error = candidate.string() + " belongs to another build of quorvel-cli";
      return nullptr;
    }
    return module;
  }
  return nullptr;
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
  ModuleSession(const snmp::Module& module, std::string host, void* session)
      : module_(module), host_(std::move(host)), session_(session) {}
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
    if (module_.get(session_, oid.c_str(), next ? 1 : 0, &value_, &error) != 0) {
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

  const snmp::Module& module_;
  std::string host_;
  void* session_;
  snmp::ModuleValue value_{};
};

}  // namespace

std::unique_ptr<SnmpSession> OpenSnmpSession(const std::string& host, const SnmpOptions& options) {
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
  return std::make_unique<ModuleSession>(module, host, session);
}

}  // namespace quorvel::platform
