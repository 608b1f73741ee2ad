#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "pages/page_text.h"
#include "printing/outcomes.h"
#include "printing/target.h"

namespace quorvel::cli {

/// Bad options or arguments; the other exit statuses are the outcomes' (printing/outcomes.h).
inline constexpr int kExitUsage = 2;

/// Adds the positional page argument ("dot-matrix" or "pcl") to `command`.
CLI::Option* AddPageArgument(CLI::App& command, std::string& page);

/// The composer for a page name accepted by AddPageArgument.
PageComposer ComposerFor(const std::string& page);

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
void AddVerifyCommand(CLI::App& app, int& exitCode);

}  // namespace quorvel::cli
