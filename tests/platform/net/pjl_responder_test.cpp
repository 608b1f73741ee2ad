#include "platform/net/pjl_responder.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

using namespace std::string_view_literals;

TEST(PjlResponder, AnswersTheJobsEndWithThePagesCounted) {
  const std::string job =
      std::string("\x1B%-12345X@PJL JOB NAME=\"A\"\r\n@PJL USTATUS JOB=ON\r\n") +
      "\x1B"
      "Epage\f" +
      "\x1B%-12345X@PJL EOJ NAME=\"A\"\r\n\x1B%-12345X";
  for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, job.size()}) {
    std::string body;
    PjlResponder responder({"", PjlFault::kNone, [&body](std::string_view page) {
                              body = page;
                              return 1;
                            }});
    std::string answer;
    for (std::size_t at = 0; at < job.size(); at += piece) {
      answer += responder.Heard(std::string_view(job).substr(at, piece));
    }
    EXPECT_EQ(answer, "@PJL USTATUS JOB\r\nEND\r\nNAME=\"A\"\r\nPAGES=1\r\n\f") << piece;
    EXPECT_EQ(body,
              "\x1B"
              "Epage\f")
        << piece;
    EXPECT_FALSE(responder.HoldOpen());
  }
}

TEST(PjlResponder, AnswersOnlyWhatWasAsked) {
  PjlResponder responder({"MFG:X;MDL:Laser 9;CMD:PCL;", PjlFault::kNone, nullptr});
  EXPECT_EQ(responder.Heard("\x1B%-12345X@PJL INFO ID\r\n"), "@PJL INFO ID\r\n\"Laser 9\"\r\n\f");
  EXPECT_EQ(responder.Heard("@PJL INFO STATUS\r\n"),
            "@PJL INFO STATUS\r\nCODE=10001\r\nDISPLAY=\"READY\"\r\nONLINE=TRUE\r\n\f");
  // Without USTATUS JOB=ON the job's end is not reported.
  EXPECT_EQ(responder.Heard("@PJL JOB NAME=\"B\"\r\nx\f\x1B%-12345X@PJL EOJ NAME=\"B\"\r\n"), "");
}

TEST(PjlResponder, FailsAsAskedTo) {
  const std::string job =
      std::string("\x1B%-12345X@PJL JOB NAME=\"A\"\r\n@PJL USTATUS JOB=ON\r\n") +
      "p\f\x1B%-12345X@PJL EOJ NAME=\"A\"\r\n";
  const std::string head = "@PJL USTATUS JOB\r\nEND\r\nNAME=\"A\"\r\n";
  EXPECT_EQ(PjlResponder({"", PjlFault::kZeroPages, nullptr}).Heard(job), head + "PAGES=0\r\n\f");
  EXPECT_EQ(PjlResponder({"", PjlFault::kCanceled, nullptr}).Heard(job),
            head + "PAGES=0\r\nRESULT=USER_CANCELED\r\n\f");
  const std::string flood = PjlResponder({"", PjlFault::kEndless, nullptr}).Heard(job);
  EXPECT_GT(flood.size(), kPjlReplyCap);
  EXPECT_FALSE(FindJobEnd(flood, "A").has_value());
  PjlResponder unfinished({"", PjlFault::kUnfinished, nullptr});
  EXPECT_EQ(unfinished.Heard(job), "@PJL USTATUS JOB\r\nEND\r\nNAME=");
  EXPECT_TRUE(unfinished.HoldOpen());
}

}  // namespace
}  // namespace quorvel
