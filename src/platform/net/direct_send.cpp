#include "platform/net/direct_send.h"

#include <exception>

#include "printing/print_flow.h"

namespace quorvel::net {

PrintOutcome SendTestPageTo(const Endpoint& target, PageComposer composer, MessageDisplay& messages,
                            SendLimits limits) {
  try {
    TcpSpooler spooler(limits);
    return SendTestJob(target.Text(), spooler, messages, composer);
  } catch (const std::exception& e) {
    // The socket library itself could not start: nothing was sent.
    messages.Show(std::string(kSendFailed) + "\n" + e.what());
    return PrintOutcome::kSendFailed;
  }
}

}  // namespace quorvel::net
