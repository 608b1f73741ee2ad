#include "platform/cups/cups_lpoptions.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvel::platform::cups {
namespace {

std::string Env(const char* name, const std::string& fallback = "") {
  const char* value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

void ReadFile(const std::string& path, std::vector<LpoptionsDest>& dests) {
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    std::istringstream words(line);
    std::string keyword;
    std::string dest;
    if (!(words >> keyword >> dest) || (keyword != "Dest" && keyword != "Default")) {
      continue;
    }
    const std::size_t slash = dest.find('/');
    dests.push_back({dest.substr(0, slash),
                     slash == std::string::npos ? "" : dest.substr(slash + 1),
                     keyword == "Default"});
  }
}

}  // namespace

std::vector<LpoptionsDest> ReadLpoptions() {
  std::vector<LpoptionsDest> dests;
  ReadFile(Env("CUPS_SERVERROOT", "/etc/cups") + "/lpoptions", dests);
  if (std::getenv("HOME") != nullptr) {
    const std::string home = Env("HOME");
    std::error_code error;
    const bool current = std::filesystem::exists(home + "/.cups/lpoptions", error);
    ReadFile(home + (current ? "/.cups/lpoptions" : "/.lpoptions"), dests);
  }
  return dests;
}

std::optional<std::string> UserDefault() {
  if (std::getenv("LPDEST") != nullptr) {
    return Env("LPDEST");
  }
  if (std::getenv("PRINTER") != nullptr && Env("PRINTER") != "lp") {
    return Env("PRINTER");
  }
  std::optional<std::string> name;
  for (const LpoptionsDest& dest : ReadLpoptions()) {
    if (dest.isDefault) {
      name = dest.instance.empty() ? dest.name : dest.name + "/" + dest.instance;
    }
  }
  return name;
}

}  // namespace quorvel::platform::cups
