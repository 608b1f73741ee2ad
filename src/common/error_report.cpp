#include "common/error_report.h"

namespace quorvel {

std::string DescribeUntrappedError(std::string_view action, const std::exception& error) {
  std::string text(action);
  text += " failed.\n";
  text += error.what();
  return text;
}

}  // namespace quorvel
