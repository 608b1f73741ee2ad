// print and check --format json, read back in the test by a strict JSON reader, with names that
// are not UTF-8: a raw port "h<C3>x:1" (the resolver refuses the name before asking anyone) and
// an installed printer's name "N<C3>pe" that no queue has. In a name each lone 0xC3 comes back
// as U+FFFD with the name's bytes beside it; in a message as U+00C3. Two queues whose names differ
// only in such bytes stay apart in text, JSON and JUnit, and each name given back reaches its own.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cli/cups_cli.h"
#include "common/json_text.h"

namespace quorvel::testing {
namespace {

using json::Value;

const std::string kRawName = "h\xC3x:1";           // as typed
const std::string kRawRead = "h\xEF\xBF\xBDx:1";   // as a JSON reader gets the name
const std::string kRawInMessage = "h\xC3\x83x:1";  // and a message naming it
const std::string kQueueName = "N\xC3pe";
const std::string kQueueRead = "N\xEF\xBF\xBDpe";

Value Parsed(const CommandResult& result) {
  Value document;
  EXPECT_NO_THROW(document = Value::parse(result.out)) << result.out << result.err;
  return document;
}

std::string Closed() {
  return "127.0.0.1:" + std::to_string(UnusedPort());
}

// printer -> outcome, from a run's report; every member of every item is there.
std::map<std::string, std::string> Outcomes(const Value& report) {
  std::map<std::string, std::string> outcomes;
  for (const Value& item : report.at("printers")) {
    EXPECT_EQ(item.size(), item.contains("printerBytes") ? 7U : 6U) << item.dump();
    EXPECT_TRUE(item.at("confirmedBy").is_null() || item.at("confirmedBy").is_string())
        << item.dump();
    EXPECT_TRUE(item.at("seconds").is_number()) << item.dump();
    EXPECT_TRUE(item.at("detail").is_string()) << item.dump();
    outcomes[item.at("printer").get<std::string>()] = item.at("outcome").get<std::string>();
  }
  return outcomes;
}

TEST(CliJson, CheckOfOnePrinterWhoseNameIsNotUtf8) {
  const CommandResult raw = RunQuorvelCli("check --to '" + kRawName + "' --format json");
  EXPECT_EQ(raw.status, 5) << raw.err;
  const Value port = Parsed(raw);
  EXPECT_EQ(port["printer"], kRawRead);
  EXPECT_EQ(port["verdict"], "not ready");
  EXPECT_EQ(port["exists"], true);
  EXPECT_EQ(port["printerBytes"], "h\\xC3x:1");
  EXPECT_EQ(port["reachable"], false);
  EXPECT_TRUE(port["acceptingJobs"].is_null());  // nobody said
  EXPECT_EQ(port["details"]["port"], kRawInMessage);

  const CommandResult queue = RunQuorvelCli("check --printer '" + kQueueName + "' --format json");
  EXPECT_EQ(queue.status, 3) << queue.err;
  EXPECT_EQ(Parsed(queue), Value::parse(R"({"printer": "N\uFFFDpe", "printerBytes": "N\\xC3pe",
      "verdict": "no such printer", "exists": false, "notReady": ["there is no such printer"],
      "state": "unknown", "reasons": [], "message": "", "reachable": true, "acceptingJobs": true,
      "jobsWaiting": 0, "details": {}, "notes": []})"));
}

TEST(CliJson, CheckOfManyPrinters) {
  const std::string closed = Closed();
  const Value ports =
      Parsed(RunQuorvelCli("check --to '" + kRawName + "' --to " + closed + " --format json"));
  EXPECT_EQ(Outcomes(ports),
            (std::map<std::string, std::string>{{kRawRead, "not ready"}, {closed, "not ready"}}));
  EXPECT_EQ(ports["summary"]["printers"], 2);
  EXPECT_EQ(ports["summary"]["notReady"], 2);
  EXPECT_EQ(ports["exitStatus"], 5);

  AddQueue("JsonChecked", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  const CommandResult queues =
      RunQuorvelCli("check --printer '" + kQueueName + "' --printer JsonChecked --format json");
  EXPECT_EQ(queues.status, 3) << queues.err;
  const Value report = Parsed(queues);
  EXPECT_EQ(Outcomes(report), (std::map<std::string, std::string>{{kQueueRead, "not recognized"},
                                                                  {"JsonChecked", "ready"}}));
  EXPECT_EQ(report["exitStatus"], 3);
}

TEST(CliJson, PrintToManyPrinters) {
  const std::string closed = Closed();
  const CommandResult ports =
      RunQuorvelCli("print pcl --to '" + kRawName + "' --to " + closed + " --to 'ipp://" + closed +
                    "/printers/" + kQueueName + "' --format json");
  EXPECT_EQ(ports.status, 4) << ports.err;
  const Value sent = Parsed(ports);
  const std::string ipp = "ipp://" + closed + "/printers/" + kQueueRead;
  std::map<std::string, std::string> outcomes = Outcomes(sent);
  EXPECT_EQ(outcomes.size(), 3U);
  EXPECT_EQ(outcomes[kRawRead], "failed");
  EXPECT_EQ(outcomes[closed], "failed");
  EXPECT_EQ(outcomes.count(ipp), 1U);  // whatever the closed port makes of it
  for (const Value& item : sent["printers"]) {
    EXPECT_TRUE(item["job"].is_null());
  }
  EXPECT_EQ(sent["summary"]["printers"], 3);
  EXPECT_EQ(sent["exitStatus"], 4);

  AddQueue("JsonPrinted", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  const CommandResult queues = RunQuorvelCli("print dot-matrix --printer '" + kQueueName +
                                             "' --printer JsonPrinted --format json");
  EXPECT_EQ(queues.status, 3) << queues.err;
  const Value report = Parsed(queues);
  EXPECT_EQ(Outcomes(report), (std::map<std::string, std::string>{{kQueueRead, "not recognized"},
                                                                  {"JsonPrinted", "executed"}}));
  EXPECT_EQ(report["summary"]["executed"], 1);
  EXPECT_EQ(report["summary"]["notRecognized"], 1);
}

TEST(CliJson, QueuesWhoseNamesDifferOnlyInBytesThatAreNotUtf8StayApart) {
  const std::string latin1 = "B\xFCro";
  const std::string utf8 = "B\xC3\xBCro";
  AddQueue(latin1, "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  AddQueue(utf8, "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  RunChecked("cupsdisable -h " + UseTestSpooler().server + " '" + utf8 + "'");
  const std::string both = " --printer '" + latin1 + "' --printer '" + utf8 + "'";
  const Value report = Parsed(RunQuorvelCli("check" + both + " --format json"));
  EXPECT_EQ(Outcomes(report), (std::map<std::string, std::string>{{"B\xEF\xBF\xBDro", "ready"},
                                                                  {utf8, "not ready"}}));
  std::string given;
  for (const Value& item : report["printers"]) {
    given = item.value("printerBytes", given);
  }
  EXPECT_EQ(given, "B\\xFCro");
  // The bytes given back reach the queue that was reported, not the other one.
  const CommandResult back =
      RunQuorvelCli("check --printer \"$(bash -c 'printf %b \"$1\"' - '" + given + "')\"");
  EXPECT_EQ(back.status, 0) << back.out << back.err;
  EXPECT_EQ(back.out.substr(0, back.out.find('\n')), latin1 + ": ready");

  const std::string text = RunQuorvelCli("check" + both).out;
  EXPECT_NE(text.find(latin1 + ": ready, "), std::string::npos) << text;
  EXPECT_NE(text.find(utf8 + ": not ready, "), std::string::npos) << text;
  const std::string junit = RunQuorvelCli("check" + both + " --format junit").out;
  EXPECT_NE(junit.find("name=\"B\xEF\xBF\xBDro\" time=\""), std::string::npos) << junit;
  EXPECT_NE(junit.find("<property name=\"printerBytes\" value=\"B\\xFCro\"/>"), std::string::npos)
      << junit;
  EXPECT_NE(junit.find("name=\"" + utf8 + "\" time=\""), std::string::npos) << junit;
}

}  // namespace
}  // namespace quorvel::testing
