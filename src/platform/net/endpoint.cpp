#include <charconv>

#include "platform/net/socket.h"

namespace quorvel::net {
namespace {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 ||
      value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

bool IsHostText(std::string_view host) {
  return !host.empty() && host.find_first_of(" \t\r\n[]/") == std::string_view::npos;
}

}  // namespace

std::string Endpoint::Text() const {
  const bool ipv6 = host.find(':') != std::string::npos;
  return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<Endpoint> ParseEndpoint(std::string_view text, std::uint16_t defaultPort) {
  std::string_view host = text;
  std::optional<std::uint16_t> port = defaultPort;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      return std::nullopt;
    }
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      port = rest.starts_with(':') ? ParsePort(rest.substr(1)) : std::nullopt;
    }
  } else if (const std::size_t colon = text.find(':');
             colon != std::string_view::npos &&
             text.find(':', colon + 1) == std::string_view::npos) {
    host = text.substr(0, colon);
    port = ParsePort(text.substr(colon + 1));
  }
  if (!port || !IsHostText(host)) {
    return std::nullopt;
  }
  return Endpoint{std::string(host), *port};
}

}  // namespace quorvel::net
