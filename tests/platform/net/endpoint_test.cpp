#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/net/capture_file.h"
#include "platform/net/socket.h"

namespace quorvel::net {
namespace {

TEST(ParseEndpoint, ReadsHostAndPortOrTakesTheDefault) {
  struct Case {
    const char* text;
    std::optional<std::string> host;
    std::uint16_t port;
    const char* canonical;
  };
  const std::vector<Case> cases{
      {"printer.example", "printer.example", 9100, "printer.example:9100"},
      {"127.0.0.1:9101", "127.0.0.1", 9101, "127.0.0.1:9101"},
      {"[::1]:631", "::1", 631, "[::1]:631"},
      {"[::1]", "::1", 9100, "[::1]:9100"},
      {"fe80::1", "fe80::1", 9100, "[fe80::1]:9100"},
      {"host:65535", "host", 65535, "host:65535"},
      {"host:0", std::nullopt, 0, ""},
      {"host:65536", std::nullopt, 0, ""},
      {"host:", std::nullopt, 0, ""},
      {"host:12x", std::nullopt, 0, ""},
      {":9100", std::nullopt, 0, ""},
      {"", std::nullopt, 0, ""},
      {"[::1", std::nullopt, 0, ""},
      {"[::1]x", std::nullopt, 0, ""},
      {"two words", std::nullopt, 0, ""},
  };
  for (const Case& c : cases) {
    const std::optional<Endpoint> endpoint = ParseEndpoint(c.text, kRawPrintPort);
    ASSERT_EQ(endpoint.has_value(), c.host.has_value()) << c.text;
    if (endpoint) {
      EXPECT_EQ(endpoint->host, *c.host) << c.text;
      EXPECT_EQ(endpoint->port, c.port) << c.text;
      EXPECT_EQ(endpoint->Text(), c.canonical) << c.text;
    }
  }
}

TEST(NetTexts, NameDurationsAndJobFiles) {
  EXPECT_EQ(SecondsText(Milliseconds(15000)), "15 s");
  EXPECT_EQ(SecondsText(Milliseconds(250)), "0.25 s");
  EXPECT_EQ(SecondsText(Milliseconds(1500)), "1.5 s");
  EXPECT_EQ(JobFileName(1), "job-000001.prn");
  EXPECT_EQ(JobFileName(123456), "job-123456.prn");
  EXPECT_EQ(JobFileName(1234567), "job-1234567.prn");
}

}  // namespace
}  // namespace quorvel::net
