#pragma once

// Helpers for tests against the private CUPS scheduler that scripts/test-spooler runs for ctest
// (the fixture quorvel_spooler): its address, queues, capture files and job list, plus servers
// that are not there or never answer.

#include <cups/cups.h>

#include <chrono>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::testing {

/// What DIR/env of the running test spooler says.
struct TestSpooler {
  std::string dir;
  std::string server;      // CUPS_SERVER, 127.0.0.1:<port>
  std::string captureDir;  // where the queue Virtual's bytes arrive
};

/// Points this process at the test spooler (CUPS_SERVER), gives it an empty HOME of its own,
/// keeps the machine's /etc/cups out (CUPS_SERVERROOT) and removes LPDEST and PRINTER. Safe to call
/// again; throws when no test spooler runs.
const TestSpooler& UseTestSpooler();

/// Adds a raw queue to the test spooler (scripts/test-spooler add-queue); throws on failure.
void AddQueue(const std::string& name, const std::string& uri);

/// Runs a shell command with the test spooler's server; throws unless it exits with 0.
void RunChecked(const std::string& command);

/// The complete capture files (job-NNNNNN.prn) in `dir`, sorted by name.
std::vector<std::string> Captures(const std::string& dir);

/// Waits until `dir` holds at least `count` complete captures or `limit` has passed.
std::vector<std::string> WaitForCaptures(const std::string& dir, std::size_t count,
                                         std::chrono::seconds limit);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

struct JobInfo {
  int id = 0;
  std::string title;
  std::string format;
  ipp_jstate_t state = IPP_JSTATE_PENDING;
};

/// Every job the test spooler knows for `queue`, finished ones included.
std::vector<JobInfo> Jobs(const std::string& queue);

/// A loopback port on which nothing listens (connections are refused).
int UnusedPort();

/// A loopback port that accepts connections (the kernel completes them) and never answers.
class SilentServer {
 public:
  SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  ~SilentServer();
  int Port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

/// scripts/capture-listener on a given port, stopped by PID when this goes away (and by
/// scripts/test-spooler stop, should this process die first).
class CaptureListenerProcess {
 public:
  CaptureListenerProcess(const std::string& dir, int port);
  CaptureListenerProcess(const CaptureListenerProcess&) = delete;
  CaptureListenerProcess& operator=(const CaptureListenerProcess&) = delete;
  ~CaptureListenerProcess();

 private:
  int pid_ = -1;
  std::string pidFile_;
};

/// Sets (or with nothing, removes) an environment variable and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> old_;
};

/// Points libcups in this process at another server for the life of this object.
class ScopedServer {
 public:
  explicit ScopedServer(const std::string& server) { cupsSetServer(server.c_str()); }
  ScopedServer(const ScopedServer&) = delete;
  ScopedServer& operator=(const ScopedServer&) = delete;
  ~ScopedServer() { cupsSetServer(UseTestSpooler().server.c_str()); }
};

struct CommandResult {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

/// Runs a shell command line and collects its exit status, standard output and standard error.
CommandResult RunCommand(const std::string& commandLine);

// The lines of a command's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

}  // namespace quorvel::testing
