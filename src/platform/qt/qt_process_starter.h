#pragma once

#include "about/about_services.h"

namespace quorvel::platform {

/// Starts a program by its exact path with QProcess, detached: the program runs on by itself and
/// nobody waits for it. The arguments text is split at blanks, honouring quotes.
class QtProcessStarter : public ProcessStarter {
 public:
  void Start(const std::string& programPath, const std::string& arguments) override;
};

}  // namespace quorvel::platform
