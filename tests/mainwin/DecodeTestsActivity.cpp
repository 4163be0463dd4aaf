#include <gtest/gtest.h>

#include "Decode.h"
#include "DecodeTestSupport.h"

namespace rkvt {
namespace {

using test::Block;

constexpr int kAt = 4;  // where results 19 and 44 carry the record

struct ActivityCase {
  std::array<std::uint8_t, 6> record;  // b0..b5 as the modem sent them
  bool targetLocal;
  const char* text;
};

class Activity : public ::testing::TestWithParam<ActivityCase> {};

TEST_P(Activity, Text) {
  const ActivityCase& c = GetParam();
  Block block;
  for (int i = 0; i < 6; ++i) block[kAt + i] = c.record[static_cast<std::size_t>(i)];
  EXPECT_EQ(ActivityText(block.bytes, kAt, c.targetLocal), QString(c.text));
}

constexpr bool kLocal = true;
constexpr bool kRemote = false;

INSTANTIATE_TEST_SUITE_P(
    Table, Activity,
    ::testing::Values(
        // The worked example: pieces "Test ", "RDL-ES ", "(master) ", "from ", "local ", "modem".
        ActivityCase{{0x50, 0x40, 0, 0, 0, 0}, kLocal, "Test RDL-ES (master) from local modem"},
        // Remote target turns b0's local bit round.
        ActivityCase{{0x50, 0x40, 0, 0, 0, 0}, kRemote, "Test RDL-ES (master) from remote modem"},
        ActivityCase{{0x10, 0x40, 0, 0, 0, 0}, kRemote, "Test RDL-ES (master) from local modem"},
        ActivityCase{{0xD0, 0x80, 0, 0, 0, 0}, kLocal, "Test RDL (master) from local terminal"},
        ActivityCase{{0x11, 0x00, 0, 0, 0, 0}, kLocal, "Test AL-ES from remote modem"},
        ActivityCase{{0x11, 0x80, 0, 0, 0, 0}, kLocal, "Test ES from remote modem"},
        ActivityCase{{0x11, 0xC0, 0, 0, 0, 0}, kLocal, "Test AL from remote modem"},
        ActivityCase{{0x12, 0x00, 0, 0, 0, 0}, kLocal, "Test DL from remote modem"},
        ActivityCase{{0x12, 0x80, 0, 0, 0, 0}, kLocal, "Test LL from remote modem"},
        // A test code without a name still names the actor.
        ActivityCase{{0x10, 0xC0, 0, 0, 0, 0}, kLocal, "Test from remote modem"},
        // Setup wins over access denied, which wins over a test.
        ActivityCase{{0xE0, 0x00, 0, 0, 0, 0}, kLocal, "Setup activated from local terminal"},
        ActivityCase{{0x38, 0x40, 0, 0, 0, 0}, kLocal, "Setup activated from remote modem"},
        ActivityCase{{0x98, 0x40, 0, 0, 0, 0}, kLocal, "Access denied on remote terminal"},
        ActivityCase{{0x08, 0x00, 0, 0, 0, 0}, kRemote, "Access denied on local modem"},
        // Code 9 with a test running: the far end of a loop, record from b2,
        // whose local bit is the one turned round for a local target.
        ActivityCase{{0x12, 0x40, 0x10, 0x40, 0, 0}, kLocal, "Test RDL-ES (slave) from local modem"},
        ActivityCase{{0x12, 0x40, 0x50, 0x80, 0, 0}, kLocal, "Test RDL (slave) from remote modem"},
        ActivityCase{{0x12, 0x40, 0x00, 0x00, 0xAB, 0xCD}, kLocal, " ??? 0x4000ABCD ??? "},
        // Code 9 without the test bit is no slave record.
        ActivityCase{{0x02, 0x40, 0x00, 0x00, 0, 0}, kLocal, " ??? 0x02404000 ??? "},
        // None of bits 3-5: the dump, showing the turned bit.
        ActivityCase{{0x40, 0x00, 0x01, 0xFF, 0, 0}, kRemote, " ??? 0x000001FF ??? "},
        ActivityCase{{0x00, 0x00, 0x00, 0x00, 0, 0}, kLocal, " ??? 0x00004000 ??? "}));

TEST(Activity, LocalTargetTurnsBitSixOfTheThirdByteInTheBlock) {
  Block block{{4, 0x50}, {5, 0x40}, {6, 0x12}, {7, 0x34}, {8, 0x56}, {9, 0x78}};
  const Block before = block;
  ActivityText(block.bytes, kAt, true);
  for (int i = 0; i < 120; ++i) EXPECT_EQ(block[i], i == 6 ? 0x52 : before.bytes[static_cast<std::size_t>(i)]) << i;
}

TEST(Activity, RemoteTargetTurnsBitSixOfTheFirstByteInTheBlock) {
  Block block{{22, 0x50}, {23, 0x40}, {24, 0x12}};
  const Block before = block;
  ActivityText(block.bytes, 22, false);
  for (int i = 0; i < 120; ++i) EXPECT_EQ(block[i], i == 22 ? 0x10 : before.bytes[static_cast<std::size_t>(i)]) << i;
}

TEST(Activity, RecordAtTheEndOfAShortBlockNeitherCrashesNorWritesPastIt) {
  std::array<std::uint8_t, 6> buffer{0, 0, 0, 0, 0x50, 0x40};
  std::span<std::uint8_t> block(buffer.data(), 5);  // the record starts in the last byte
  EXPECT_EQ(ActivityText(block, 4, true), QString("Test from local modem"));
  EXPECT_EQ(buffer[5], 0x40) << "byte past the block was touched";
  EXPECT_EQ(ActivityText(block, 200, false), QString(" ??? 0x00000000 ??? "));
}

}  // namespace
}  // namespace rkvt
