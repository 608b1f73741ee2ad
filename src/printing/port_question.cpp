#include "printing/port_question.h"

#include <memory>

#include "common/platform_error.h"

namespace quorvel {

BackChannel AskPort(PrinterAccess& access, const std::string& address, std::string_view question,
                    BackChannelRead read) {
  BackChannel reply;
  const std::unique_ptr<Spooler> spooler = access.MakeReplyingPortSpooler(std::move(read), reply);
  if (!spooler->Open(address)) {
    throw PlatformError("Open " + address, "the port could not be opened");
  }
  try {
    spooler->StartDocument("question");
    spooler->StartPage();
    const std::size_t written = spooler->Write(question);
    if (written != question.size()) {
      throw PlatformError("Write " + address, "the port took " + std::to_string(written) + " of " +
                                                  std::to_string(question.size()) + " bytes");
    }
    spooler->EndPage();
    spooler->EndDocument();
  } catch (...) {
    spooler->Cancel();
    spooler->Close();
    throw;
  }
  spooler->Close();
  return reply;
}

}  // namespace quorvel
