#include "about/home_page.h"

#include <exception>
#include <stdexcept>

#include "common/error_report.h"

namespace quorvel {

bool OpenHomePage(const std::string& address, Browser& preferred, Browser* fallback,
                  MessageDisplay& messages) {
  std::string firstReason;
  try {
    preferred.Navigate(address);
    return true;
  } catch (const std::exception& first) {
    if (fallback == nullptr) {
      messages.Show(DescribeUntrappedError("Opening the home page", first));
      return false;
    }
    firstReason = first.what();
  }
  try {
    fallback->Navigate(address);
    return true;
  } catch (const std::exception& second) {
    // Both browsers failed: the user gets both reasons, the first one first.
    const std::runtime_error both(firstReason + "\n" + second.what());
    messages.Show(DescribeUntrappedError("Opening the home page", both));
    return false;
  }
}

}  // namespace quorvel
