#include "app/printers.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace quorvel {
namespace {

using testing::FakeComboBox;
using testing::FakePrinterList;

TEST(GetPrinters, FillsTheListInOrderAndSelectsTheCurrentPrinter) {
  FakePrinterList list({"Zebra", "Virtual", "Epson FX"}, "Virtual");
  Printers printers(list);
  FakeComboBox combo;
  GetPrinters(printers, combo);
  EXPECT_EQ(combo.entries, (std::vector<std::string>{"Zebra", "Virtual", "Epson FX"}));
  EXPECT_EQ(combo.selected, 1u);
  EXPECT_EQ(combo.Text(), "Virtual");
  EXPECT_EQ(list.enumerations, 1);
}

TEST(GetPrinters, LeavesTheTextAloneWhenNothingMatches) {
  struct Case {
    std::vector<std::string> names;
    std::optional<std::string> current;
  };
  const Case cases[] = {
      {{}, "Virtual"},                       // no printers at all
      {{"Zebra"}, std::nullopt},             // no default printer
      {{"virtual", "Virtual "}, "Virtual"},  // case and blanks count
  };
  for (const Case& c : cases) {
    FakePrinterList list(c.names, c.current);
    Printers printers(list);
    FakeComboBox combo;
    GetPrinters(printers, combo);
    EXPECT_EQ(combo.entries, c.names);
    EXPECT_FALSE(combo.selected.has_value());
    EXPECT_EQ(combo.Text(), "Combo1");
  }
}

TEST(GetPrinters, SelectsTheFirstOfEqualNames) {
  FakePrinterList list({"A", "B", "B"}, "B");
  Printers printers(list);
  FakeComboBox combo;
  GetPrinters(printers, combo);
  EXPECT_EQ(combo.selected, 1u);
}

TEST(SelectPrinter, MatchesDeviceNamesExactly) {
  struct Case {
    std::string name;
    bool found;
  };
  const Case cases[] = {
      {"Virtual", true},   {"virtual", false},
      {"Virtual ", false}, {" Virtual", false},
      {"", false},         {"Virt", false},
      {"Zebra", true},     {std::string("Virtual\0x", 9), false},  // bytes after a NUL still count
  };
  for (const Case& c : cases) {
    FakePrinterList list({"Zebra", "Virtual"}, "Zebra");
    Printers printers(list);
    EXPECT_EQ(SelectPrinter(printers, c.name), c.found) << "'" << c.name << "'";
    EXPECT_EQ(*printers.Current(), c.found ? c.name : "Zebra") << "'" << c.name << "'";
    EXPECT_EQ(list.DefaultDeviceName(), "Zebra") << "the system default is never changed";
  }
}

TEST(SelectPrinter, ReturnsFalseWithoutPrintersAndRestoresByName) {
  FakePrinterList none({}, std::nullopt);
  Printers nothing(none);
  EXPECT_FALSE(SelectPrinter(nothing, "Virtual"));
  EXPECT_FALSE(nothing.Current().has_value());

  FakePrinterList list({"A", "B"}, "A");
  Printers printers(list);
  ASSERT_TRUE(SelectPrinter(printers, "B"));
  ASSERT_TRUE(SelectPrinter(printers, "A"));
  EXPECT_EQ(printers.Current(), "A");
}

// A print server may carry far more queues than a 16-bit counter holds; every one of them is
// listed and selectable; the list is read once per GetPrinters, and SelectPrinter looks up the
// one name it is given.
TEST(PrinterSelection, HandlesTensOfThousandsOfPrintersWithOneEnumerationPerCall) {
  std::vector<std::string> names;
  for (int i = 0; i < 40000; ++i) {
    names.push_back("Queue " + std::to_string(i));
  }
  FakePrinterList list(names, "Queue 39999");
  Printers printers(list);
  FakeComboBox combo;
  GetPrinters(printers, combo);
  EXPECT_EQ(combo.Count(), 40000u);
  EXPECT_EQ(combo.selected, 39999u);
  EXPECT_EQ(list.enumerations, 1);

  EXPECT_TRUE(SelectPrinter(printers, "Queue 32768"));
  EXPECT_FALSE(SelectPrinter(printers, "Queue 40000"));
  EXPECT_EQ(printers.Current(), "Queue 32768");
  // Selecting asks for the one name: the list is not read again.
  EXPECT_EQ(list.enumerations, 1);
  EXPECT_EQ(list.lookups, (std::vector<std::string>{"Queue 32768", "Queue 40000"}));
}

}  // namespace
}  // namespace quorvel
