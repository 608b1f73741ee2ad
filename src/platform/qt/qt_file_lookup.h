#pragma once

#include "about/about_services.h"

namespace quorvel::platform {

/// File look-up on a Unix file system: a normal file is a regular file (or a link to one) whose
/// name does not start with a dot, the Unix way of hiding it.
class QtFileLookup : public FileLookup {
 public:
  bool HasNormalFile(const std::string& path) override;
};

}  // namespace quorvel::platform
