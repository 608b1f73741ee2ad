#include <atomic>
#include <cerrno>
#include <csignal>
#include <exception>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/job_source.h"
#include "cli/option_words.h"
#include "cli/output_path.h"
#include "cli/render_command.h"
#include "common/utf8_path.h"
#include "inspect/listing.h"
#include "platform/net/capture_server.h"
#include "sheet/page_model.h"

namespace quorvel::cli {
namespace {

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) {
  stopRequested.store(true);
}

struct ListenOptions {
  net::CaptureOptions capture;
  double idleSeconds = 30;
  bool explain = false;
  bool render = false;                       // draw each job's expected sheet beside it
  Verbosity verbosity = Verbosity::kNormal;  // of the notes of each sheet drawn
  std::string portFile;  // receives the port once listening (for scripts using --port 0)
  bool pjl = false;      // answer PJL as a network printer does
  std::string deviceId = "MFG:Quorvel;MDL:Virtual printer;CMD:PCL,PJL;CLS:PRINTER;";
  PjlFault fault = PjlFault::kNone;
};

// The pages the emulator finds in a PJL job's page data, as a printer counts the sheets it
// printed.
int CountPages(std::string_view body) {
  return sheet::Interpret(body, inspect::GuessDialect(body)).pages;
}

// A connection whose bytes give no sheet (a PJL query, job control only) is no job.
bool CarriesPage(std::string_view bytes) {
  return sheet::Interpret(bytes, inspect::GuessDialect(bytes)).pages > 0;
}

// Writes the port under a temporary name first, so a reader never sees half a number; false,
// with the reason on standard error, when it cannot be written.
bool WritePortFile(const std::string& path, std::uint16_t port) {
  const std::string temporary = path + ".tmp";
  std::error_code error;
  errno = 0;
  if (!(std::ofstream(PathFromUtf8(temporary)) << port << "\n")) {
    error.assign(errno != 0 ? errno : EIO, std::generic_category());
  } else {
    std::filesystem::rename(PathFromUtf8(temporary), PathFromUtf8(path), error);
  }
  if (error) {
    std::cerr << "quorvel-cli listen: --port-file: cannot write " << path << ": " << error.message()
              << "\n";
  }
  return !error;
}

// Reads a captured job once, then explains it and draws its sheet beside it, as asked.
void ShowCapture(const ListenOptions& options, const std::filesystem::path& file, bool query) {
  std::string job;
  if (!ReadJobFile(file, job)) {
    std::cerr << "quorvel-cli listen: cannot read " << Utf8FromPath(file) << "\n";
    return;
  }
  const inspect::Dialect dialect = inspect::GuessDialect(job);
  if (options.explain) {
    std::cout << inspect::FormatText(inspect::Explain(job, dialect)) << std::endl;
  }
  if (options.render && !query) {
    std::filesystem::path picture = file;
    picture.replace_extension(".png");
    RenderBeside(job, dialect, picture, options.verbosity);
  }
}

int RunListen(ListenOptions options) {
  if (options.render && !RenderUnavailable().empty()) {
    std::cerr << "quorvel-cli listen: --render: " << RenderUnavailable() << "\n";
    return kExitNoModule;
  }
  options.capture.carriesPage = &CarriesPage;
  options.capture.idleTimeout =
      net::Milliseconds(static_cast<long long>(options.idleSeconds * 1000));
  if (options.pjl) {
    PjlResponder::Settings settings{options.deviceId, options.fault, &CountPages};
    options.capture.makeResponder = [settings] { return std::make_unique<PjlResponder>(settings); };
  }
  try {
    if (const std::optional<OutputRefusal> refusal =
            MakeOutputFolder(Utf8FromPath(options.capture.directory))) {
      std::cerr << "quorvel-cli listen: " << refusal->words << "\n";
      return refusal->status;
    }
    net::CaptureServer server(options.capture);
    // Ctrl-C stops the listener cleanly from the moment it says where it listens.
    stopRequested.store(false);
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::cout << "quorvel-cli listen: "
              << net::Endpoint{options.capture.bindAddress, server.Port()}.Text()
              << ", saving jobs in " << Utf8FromPath(options.capture.directory) << " (Ctrl-C stops)"
              << std::endl;
    if (!options.portFile.empty() && !WritePortFile(options.portFile, server.Port())) {
      return kExitFailed;
    }
    server.Run(stopRequested, [&options](const net::CapturedJob& job) {
      std::cout << net::SummaryLine(job, options.capture) << std::endl;
      if ((options.explain || options.render) && !job.file.empty()) {
        ShowCapture(options, job.file, job.content == net::Content::kQuery);
      }
    });
  } catch (const std::exception& e) {
    std::cerr << "quorvel-cli listen: " << e.what() << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

void AddListenCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ListenOptions>();
  net::CaptureOptions& capture = options->capture;
  CLI::App* command = app.add_subcommand(
      "listen", "Virtual printer: save every job sent to a raw port (AppSocket, 9100) as a file");
  command->add_option("--port", capture.port, "TCP port; 0 takes any free one (default 9100)")
      ->check(WholeNumber(0, 65535, "a TCP port"));
  command->add_option("--bind", capture.bindAddress, "Numeric address (default 127.0.0.1)")
      ->check(NumericAddress());
  command->add_option_function<std::string>(
      "--out", [&capture](const std::string& folder) { capture.directory = PathFromUtf8(folder); },
      "Folder for job-NNNNNN.prn, and pjl-NNNNNN.prn for queries (default .)");
  command->add_option("--port-file", options->portFile, "Write the port number to this file");
  command->add_flag("--explain", options->explain, "Print each job's decoded listing");
  command->add_flag("--render", options->render,
                    RenderUnavailable().empty()
                        ? "Draw each job's expected sheet as job-NNNNNN.png beside it"
                        : "(not in this build) draw each job's expected sheet");
  AddVerbosityOptions(*command, options->verbosity);
  command->add_option("--max-bytes", capture.maxJobBytes, "Cut a job off here (default 64 MiB)")
      ->check(WholeNumber(1, 1LL << 40, "bytes"));
  command->add_option("--idle", options->idleSeconds, "End a job silent this long (default 30 s)")
      ->check(PositiveSeconds());
  command->add_option("--max-connections", capture.maxConnections, "Jobs at once (default 16)")
      ->check(WholeNumber(1, 65536, "connections"));
  command->add_flag("--pjl", options->pjl,
                    "Answer PJL as a network printer: USTATUS JOB with the pages counted, INFO ID "
                    "and INFO STATUS");
  command->add_option("--device-id", options->deviceId,
                      "The IEEE 1284 device ID this printer gives (MDL: names it in INFO ID)");
  const std::map<std::string, PjlFault> faults{{"zero-pages", PjlFault::kZeroPages},
                                               {"canceled", PjlFault::kCanceled},
                                               {"endless", PjlFault::kEndless},
                                               {"unfinished", PjlFault::kUnfinished}};
  // The name is checked in words of our own, then looked up (a transformer's check would name
  // the enum's numbers).
  command
      ->add_option_function<std::string>(
          "--pjl-fault",
          [options, faults](const std::string& name) { options->fault = faults.at(name); },
          "Answer PJL as a failing printer, to test clients: zero-pages, canceled, endless, "
          "unfinished")
      ->option_text("FAULT")
      ->check(OneOf({"zero-pages", "canceled", "endless", "unfinished"}));
  command->callback([options, &exitCode] { exitCode = RunListen(*options); });
}

}  // namespace quorvel::cli
