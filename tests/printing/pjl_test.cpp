#include "printing/pjl.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace quorvel {
namespace {

using testing::RecordingSpooler;
using namespace std::string_view_literals;

TEST(PjlString, QuotesAndControlCharactersCannotEndTheString) {
  struct Case {
    std::string name;
    std::string quoted;
  };
  const Case cases[] = {
      {"Command Print 1", "Command Print 1"},
      {"say \"hi\"", "say 'hi'"},
      {std::string("a\r\n@PJL RESET\x1B", 14), "a??@PJL RESET?"},
      {std::string("nul\0x", 5), "nul?x"},
      {"caf\xC3\xA9", "caf??"},
      {std::string(100, 'x'), std::string(80, 'x')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PjlString(c.name), c.quoted) << c.name;
  }
}

TEST(PjlJob, PageGoesUnchangedBetweenHeaderAndTrailer) {
  RecordingSpooler inner;
  PjlJobSpooler spooler(inner, "Job \"7\"");
  ASSERT_TRUE(spooler.Open("h:9100"));
  spooler.StartDocument("Command Print");
  spooler.StartPage();
  spooler.Write(
      std::string("\x1B"
                  "E page\f",
                  8));
  spooler.EndPage();
  spooler.EndDocument();
  spooler.Close();
  const std::vector<std::string> written{
      "\x1B%-12345X@PJL JOB NAME=\"Job '7'\"\r\n@PJL USTATUS JOB=ON\r\n",
      std::string("\x1B"
                  "E page\f",
                  8),
      "\x1B%-12345X@PJL EOJ NAME=\"Job '7'\"\r\n\x1B%-12345X",
  };
  EXPECT_EQ(inner.written, written);
  EXPECT_EQ(inner.calls.back(), "Close");
}

TEST(PjlJob, NamesDifferFromJobToJob) {
  EXPECT_NE(PjlJobName(), PjlJobName());
  EXPECT_EQ(PjlJobName().rfind("Command Print ", 0), 0U);
}

TEST(PjlReplies, SplitIntoMessagesAtFormFeeds) {
  const PjlReplies replies = ParsePjlReplies(
      "\r\n\0@PJL INFO ID\r\n\"LaserJet 4\"\r\n\f"
      "@pjl  ustatus   job\r\nEND\r\nNAME=\"x\"\r\nPAGES=1\r\n\f"
      "garbage\f@PJL USTATUS DEV"sv);
  ASSERT_EQ(replies.messages.size(), 2U);
  EXPECT_EQ(replies.messages[0], (PjlMessage{"@PJL INFO ID", {"\"LaserJet 4\""}}));
  EXPECT_EQ(replies.messages[1],
            (PjlMessage{"@PJL USTATUS JOB", {"END", "NAME=\"x\"", "PAGES=1"}}));
  EXPECT_TRUE(replies.partial);
  EXPECT_FALSE(ParsePjlReplies("@PJL ECHO 1\r\n\f").partial);
  EXPECT_TRUE(ParsePjlReplies("").messages.empty());
}

// Each reply as the printer sent it, and what it means for the job named "J 1".
TEST(PjlReplies, TheJobsEndDecides) {
  using End = BackChannel::End;
  struct Case {
    std::string bytes;
    End end;
    JobVerdict verdict;
    std::string detail;
  };
  const std::string endOf = "@PJL USTATUS JOB\r\nEND\r\nNAME=\"J 1\"\r\n";
  const Case cases[] = {
      {endOf + "PAGES=1\r\n\f", End::kEnough, JobVerdict::kPrinted, "1 page"},
      {endOf + "PAGES=3\r\n\f", End::kEnough, JobVerdict::kPrinted, "3 pages"},
      {"@PJL USTATUS JOB\r\nend\r\nname = \"J 1\"\r\npages = 2\r\n\f", End::kEnough,
       JobVerdict::kPrinted, "2 pages"},
      {endOf + "PAGES=0\r\n\f", End::kEnough, JobVerdict::kNotPrinted,
       "the printer reported the job's end with 0 pages"},
      {endOf + "PAGES=0\r\nRESULT=USER_CANCELED\r\n\f", End::kEnough, JobVerdict::kNotPrinted,
       "the printer canceled the job (RESULT=USER_CANCELED)"},
      {endOf + "PAGES=1\r\nRESULT=JOB_CANCELED\r\n\f", End::kEnough, JobVerdict::kNotPrinted,
       "the printer canceled the job (RESULT=JOB_CANCELED)"},
      {endOf + "\f", End::kEnough, JobVerdict::kNotConfirmed,
       "the printer reported the job's end without a page count"},
      {endOf + "PAGES=lots\r\n\f", End::kEnough, JobVerdict::kNotConfirmed,
       "the printer reported the job's end without a page count"},
      {"", End::kClosed, JobVerdict::kNotConfirmed, "the printer did not answer PJL"},
      {"\r\n", End::kTimedOut, JobVerdict::kNotConfirmed, "the printer did not answer PJL"},
      {"@PJL USTATUS JOB\r\nEND\r\nNAME=\"J 2\"\r\nPAGES=1\r\n\f", End::kClosed,
       JobVerdict::kNotConfirmed,
       "the printer answered PJL but closed the connection without the job's end"},
      {"@PJL USTATUS JOB\r\nSTART\r\nNAME=\"J 1\"\r\n\f", End::kTimedOut, JobVerdict::kNotConfirmed,
       "the printer answered PJL but did not report the job's end in time"},
      {endOf + "PAGES=1\r\n", End::kTimedOut, JobVerdict::kNotConfirmed,
       "the printer answered PJL but did not report the job's end in time"},
      {std::string(1000, '@'), End::kCapped, JobVerdict::kNotConfirmed,
       "the printer's PJL reply went past 64 KiB without the job's end"},
      {"", End::kStopped, JobVerdict::kNotConfirmed,
       "stopped waiting (Ctrl-C) before the printer answered PJL"},
      {"@PJL USTATUS JOB\r\nSTART\r\nNAME=\"J 1\"\r\n\f", End::kStopped, JobVerdict::kNotConfirmed,
       "stopped waiting (Ctrl-C) before the printer reported the job's end"},
      {endOf + "PAGES=1\r\n\f", End::kStopped, JobVerdict::kPrinted, "1 page"},  // it came first
  };
  for (const Case& c : cases) {
    const DeviceVerdict verdict = JudgePjlReply(BackChannel{c.bytes, c.end}, "J 1");
    EXPECT_EQ(verdict.verdict, c.verdict) << c.bytes;
    EXPECT_EQ(verdict.detail, c.detail) << c.bytes;
    EXPECT_EQ(verdict.source, "pjl");
  }
}

TEST(PjlReplies, InfoAnswersBecomeCheckLines) {
  const std::string both =
      "@PJL INFO ID\r\n\"LaserJet 4\"\r\n\f"
      "@PJL INFO STATUS\r\nCODE=10001\r\nDISPLAY=\"READY\"\r\nONLINE=TRUE\r\n\f";
  EXPECT_TRUE(HasInfoAnswers(both));
  EXPECT_FALSE(HasInfoAnswers("@PJL INFO ID\r\n\"LaserJet 4\"\r\n\f"));
  const std::vector<PrinterDetail> details{
      {"pjl id", "LaserJet 4"}, {"pjl status", "CODE=10001, DISPLAY='READY', ONLINE=TRUE"}};
  EXPECT_EQ(PjlInfoDetails(BackChannel{both, BackChannel::End::kEnough}), details);
  EXPECT_EQ(PjlInfoDetails(BackChannel{}), (std::vector<PrinterDetail>{{"pjl", "no answer"}}));
}

// The virtual printer answers a job as it comes, in pieces of any size.
}  // namespace
}  // namespace quorvel
