#include "about/home_page.h"

#include <exception>

#include "common/error_report.h"

namespace quorvel {

bool OpenHomePage(const std::string& address, Browser& preferred, Browser* fallback,
                  MessageDisplay& messages) {
  try {
    preferred.Navigate(address);
    return true;
  } catch (const std::exception& first) {
    if (fallback == nullptr) {
      messages.Show(DescribeUntrappedError("Opening the home page", first));
      return false;
    }
  }
  try {
    fallback->Navigate(address);
    return true;
  } catch (const std::exception& second) {
    messages.Show(DescribeUntrappedError("Opening the home page", second));
    return false;
  }
}

}  // namespace quorvel
