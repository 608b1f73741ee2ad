#include "platform/cups/cups_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

TestSpooler ReadSpoolerEnv() {
  TestSpooler spooler;
  spooler.dir = QUORVEL_SPOOLER_DIR;
  std::ifstream env(spooler.dir + "/env");
  if (!env) {
    throw std::runtime_error("no test spooler: " + spooler.dir + "/env is missing (run ctest)");
  }
  for (std::string line; std::getline(env, line);) {
    const std::size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    if (key == "CUPS_SERVER") {
      spooler.server = value;
    } else if (key == "QUORVEL_CAPTURE_DIR") {
      spooler.captureDir = value;
    }
  }
  return spooler;
}

int ListeningSocket(int backlog, int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, backlog) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback socket");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

const TestSpooler& UseTestSpooler() {
  static const TestSpooler spooler = [] {
    TestSpooler s = ReadSpoolerEnv();
    const std::string home = s.dir + "/home-" + std::to_string(::getpid());
    fs::remove_all(home);
    fs::create_directories(home);
    ::setenv("CUPS_SERVER", s.server.c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
    // The machine's own /etc/cups (client.conf, lpoptions) stays out of the tests.
    ::setenv("CUPS_SERVERROOT", (s.dir + "/conf").c_str(), 1);
    ::unsetenv("LPDEST");
    ::unsetenv("PRINTER");
    cupsSetServer(s.server.c_str());
    return s;
  }();
  return spooler;
}

void AddQueue(const std::string& name, const std::string& uri) {
  RunChecked(std::string(QUORVEL_SCRIPTS_DIR) + "/test-spooler add-queue '" + UseTestSpooler().dir +
             "' '" + name + "' '" + uri + "' >/dev/null");
}

void RunChecked(const std::string& command) {
  UseTestSpooler();
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("command failed: " + command);
  }
}

std::vector<std::string> Captures(const std::string& dir) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".prn") {
      names.push_back(entry.path().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> WaitForCaptures(const std::string& dir, std::size_t count,
                                         std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::vector<std::string> names = Captures(dir);
  while (names.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    names = Captures(dir);
  }
  return names;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<JobInfo> Jobs(const std::string& queue) {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                              5000, nullptr);
  if (http == nullptr) {
    throw std::runtime_error("cannot reach the test spooler");
  }
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(http, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
  std::vector<JobInfo> result;
  for (int i = 0; i < count; ++i) {
    result.push_back({jobs[i].id, jobs[i].title, jobs[i].format, jobs[i].state});
  }
  cupsFreeJobs(count, jobs);
  httpClose(http);
  return result;
}

int UnusedPort() {
  int port = 0;
  ::close(ListeningSocket(1, port));
  return port;
}

SilentServer::SilentServer() {
  socket_ = ListeningSocket(64, port_);
}

SilentServer::~SilentServer() {
  ::close(socket_);
}

CaptureListenerProcess::CaptureListenerProcess(const std::string& dir, int port) {
  const std::string script = std::string(QUORVEL_SCRIPTS_DIR) + "/capture-listener";
  const std::string portText = std::to_string(port);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::execlp("python3", "python3", script.c_str(), "--dir", dir.c_str(), "--port", portText.c_str(),
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid_ < 0) {
    throw std::runtime_error("cannot start the capture listener");
  }
  // Recorded for scripts/test-spooler stop, in case this process dies before its destructor.
  pidFile_ = UseTestSpooler().dir + "/listener-" + std::to_string(pid_) + ".pid";
  WriteFile(pidFile_, std::to_string(pid_) + "\n");
}

CaptureListenerProcess::~CaptureListenerProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    std::error_code ignored;
    fs::remove(pidFile_, ignored);
  }
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {
    old_ = old;
  }
  if (value) {
    ::setenv(name_.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    ::setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

CommandResult RunCommand(const std::string& commandLine) {
  char errPath[] = "/tmp/quorvel-stderr-XXXXXX";
  const int errFd = ::mkstemp(errPath);
  ::close(errFd);
  CommandResult result;
  std::FILE* pipe = ::popen((commandLine + " 2>'" + errPath + "'").c_str(), "r");
  if (pipe != nullptr) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      result.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  result.err = ReadFile(errPath);
  ::unlink(errPath);
  return result;
}

}  // namespace quorvel::testing
