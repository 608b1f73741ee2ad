#pragma once

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace quorvel::testing {

struct CliResult {
  std::string output;  // standard output, byte for byte
  int status = -1;     // exit status
};

// Runs the built quorvel-cli with `arguments` (already quoted for the shell) and collects its
// standard output in binary. Standard error goes wherever the test's goes, or nowhere when
// `quiet`.
inline CliResult RunCli(const std::string& arguments, bool quiet = false) {
  std::string program = QUORVEL_CLI_PATH;
#ifdef _WIN32
  // Under Wine the build folder is reached through drive Z:.
  for (char& c : program) {
    if (c == '/') {
      c = '\\';
    }
  }
  if (program.rfind("\\", 0) == 0) {
    program = "Z:" + program;
  }
  const std::string redirect = quiet ? " 2>nul" : "";
  const std::string command = "\"\"" + program + "\" " + arguments + redirect + "\"";
  std::FILE* pipe = _popen(command.c_str(), "rb");
#else
  const std::string redirect = quiet ? " 2>/dev/null" : "";
  const std::string command = "'" + program + "' " + arguments + redirect;
  std::FILE* pipe = popen(command.c_str(), "r");
#endif
  CliResult result;
  if (pipe == nullptr) {
    return result;
  }
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, n);
  }
#ifdef _WIN32
  result.status = _pclose(pipe);
#else
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  return result;
}

}  // namespace quorvel::testing
