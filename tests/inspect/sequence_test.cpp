#include "inspect/sequence_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/hex.h"

namespace quorvel::inspect {
namespace {

using testing::Hex;

TEST(SpelledBytes, ReadsControlNamesWordsAndContinuationLines) {
  struct Case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const std::vector<Case> cases{
      {{"ESC SYN A BS 1234567@:"}, Hex("1B 16 41 08") + "1234567@"},
      {{"ESC SYN B DC2", "12345678901@:"}, Hex("1B 16 42 12") + "12345678901@"},
      {{"ESC SYN B CAN PLJ", "BARCODE DRUCK@:"}, Hex("1B 16 42 18") + "PLJ BARCODE DRUCK@"},
      {{"ESC(0Y"}, Hex("1B 28 30 59")},
      {{"ESC )15Y"}, Hex("1B 29 31 35 59")},
      {{"ESC SP DEL NUL"}, Hex("1B 20 7F 00")},
      {{"ESC:"}, Hex("1B")},
      {{"ESC 1:2:"}, Hex("1B") + "1:2"},
      {{""}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpelledBytes(c.lines), c.bytes) << c.lines[0];
  }
}

TEST(AlignBytes, PairsEqualBytesAndPlacesExtraSentBytesLast) {
  const std::vector<SequenceStep> steps =
      AlignBytes(Hex("1B 16 01 01 1B"), Hex("1B 10 01 01 01 01 1B"));
  const std::vector<SequenceStep> expected{
      {0x1B, 0x1B},         {0x16, 0x10},         {0x01, 0x01}, {0x01, 0x01},
      {std::nullopt, 0x01}, {std::nullopt, 0x01}, {0x1B, 0x1B},
  };
  ASSERT_EQ(steps.size(), expected.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].named, expected[i].named) << i;
    EXPECT_EQ(steps[i].sent, expected[i].sent) << i;
  }
  const std::vector<SequenceStep> missing = AlignBytes("ABC", "AC");
  ASSERT_EQ(missing.size(), 3u);
  EXPECT_EQ(missing[1].named, std::optional<std::uint8_t>('B'));
  EXPECT_EQ(missing[1].sent, std::nullopt);
  EXPECT_TRUE(AlignBytes("", "").empty());
}

}  // namespace
}  // namespace quorvel::inspect
