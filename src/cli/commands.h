#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "pages/page_text.h"

namespace quorvel::cli {

/// Exit statuses of quorvel-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotRecognized = 3;
inline constexpr int kExitSendFailed = 4;

/// Adds the positional page argument ("dot-matrix" or "pcl") to `command`.
CLI::Option* AddPageArgument(CLI::App& command, std::string& page);

/// The composer for a page name accepted by AddPageArgument.
PageComposer ComposerFor(const std::string& page);

/// Whether a --to target is an IPP printer's URI (ipp:// or ipps://) rather than HOST[:PORT].
inline bool IsIppUri(const std::string& text) {
  return text.rfind("ipp://", 0) == 0 || text.rfind("ipps://", 0) == 0;
}

/// The job as it goes to the printer: the page and its closing form feed.
PageText ComposeJob(PageComposer composer);

// Each command binds its options and, when chosen, runs and stores its exit status.
void AddDumpCommand(CLI::App& app, int& exitCode);
void AddExplainCommand(CLI::App& app, int& exitCode);
void AddListenCommand(CLI::App& app, int& exitCode);
void AddPrintersCommand(CLI::App& app, int& exitCode);
void AddPrintCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddCheckCommand(CLI::App& app, int& exitCode);

}  // namespace quorvel::cli
