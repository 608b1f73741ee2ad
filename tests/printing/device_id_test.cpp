#include "printing/device_id.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(DeviceId, FieldsByTheirKeys) {
  const std::string id = "MFG:ACME; MODEL:Laser 9;COMMAND SET: PCL, PJL ;CLS:PRINTER";
  EXPECT_EQ(DeviceIdField(id, {"MDL", "MODEL"}), "Laser 9");
  EXPECT_EQ(DeviceIdField(id, {"CMD", "COMMAND SET"}), "PCL, PJL");
  EXPECT_EQ(DeviceIdField(id, {"MFG"}), "ACME");
  EXPECT_EQ(DeviceIdField(id, {"DES"}), "");
  EXPECT_EQ(DeviceIdField("mdl:x;", {"MDL"}), "x");
}

// The command sets each page is for, as printers' device IDs list them.
TEST(DeviceId, TheCommandSetChoosesThePage) {
  struct Case {
    std::string id;
    std::string page;  // empty: can't tell
    std::string reason;
  };
  const Case cases[] = {
      {"MFG:HP;MDL:LaserJet 4;CMD:PCL,PJL;", "pcl", "CMD:PCL,PJL -> the PCL page"},
      {"CMD:PCL5E;", "pcl", "CMD:PCL5E -> the PCL page"},
      {"CMD:POSTSCRIPT,PCL6;", "pcl", "CMD:POSTSCRIPT,PCL6 -> the PCL page"},
      {"CMD:pclxl;", "pcl", "CMD:pclxl -> the PCL page"},
      {"MFG:EPSON;CMD:ESCP9;MDL:LQ-590;", "dot-matrix", "CMD:ESCP9 -> the dot-matrix page"},
      {"CMD:EPSONFX;", "dot-matrix", "CMD:EPSONFX -> the dot-matrix page"},
      {"CMD:PRPII9;", "dot-matrix", "CMD:PRPII9 -> the dot-matrix page"},
      {"CMD:PRPXL24;", "dot-matrix", "CMD:PRPXL24 -> the dot-matrix page"},
      {"COMMAND SET:IBMPPR;", "dot-matrix", "CMD:IBMPPR -> the dot-matrix page"},
      {"CMD:POSTSCRIPT,PDF;", "", ""},
      {"CMD:PCL3GUI;", "", ""},
      {"MFG:ACME;MDL:X;", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const std::optional<PageChoice> choice = PageForDeviceId(c.id);
    EXPECT_EQ(choice.has_value(), !c.page.empty()) << c.id;
    if (choice) {
      EXPECT_EQ(choice->page, c.page) << c.id;
      EXPECT_EQ(choice->reason, c.reason) << c.id;
    }
  }
}

}  // namespace
}  // namespace quorvel
