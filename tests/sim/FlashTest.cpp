#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

constexpr std::size_t kSegment = FlashMemory::kSegmentSize;

Frame Step(std::uint8_t code, std::uint16_t offset = 0, std::uint8_t fill = 0) {
  std::vector<std::uint8_t> data;
  if (code >= 43) {
    data = {static_cast<std::uint8_t>(offset >> 8), static_cast<std::uint8_t>(offset)};
    for (int i = 0; i < 24; ++i) data.push_back(static_cast<std::uint8_t>(fill + i));
  }
  return Request(1, code, data);
}

bool AllOf(const std::vector<std::uint8_t>& flash, std::size_t from, std::size_t count, std::uint8_t value) {
  return std::all_of(flash.begin() + from, flash.begin() + from + count, [&](std::uint8_t b) { return b == value; });
}

class LoaderFlash : public ModemOnLine {
 protected:
  LoaderFlash() : ModemOnLine(ModemModel({.type = 5, .loader = true})) {}

  // One raw step: exactly one raw acknowledgement comes back.
  void Do(const Frame& request) {
    line.Send(request, Framing::Loader);
    const auto ack = line.ReadFrame(Framing::Loader);
    ASSERT_TRUE(ack);
    EXPECT_EQ(*ack, ModemModel::Acknowledgement(request));
    EXPECT_TRUE(line.Quiet(30ms)) << "a second reply";
  }
};

TEST_F(LoaderFlash, EraseBlanksOnlyItsSegmentAndWritesLandAtTheirOffset) {
  const auto before = modem.Flash();
  ASSERT_FALSE(AllOf(before, 2 * kSegment, 24, 0xFF)) << "the old firmware must not look blank";
  Do(Step(25));
  auto flash = modem.Flash();
  EXPECT_TRUE(AllOf(flash, 2 * kSegment, kSegment, 0xFF));
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + 2 * kSegment, flash.begin()));
  EXPECT_TRUE(std::equal(before.begin() + 3 * kSegment, before.end(), flash.begin() + 3 * kSegment));

  Do(Step(45, 0x0018, 0x80));
  Do(Step(45, 0xFFE8, 0x10));  // the final block, the segment's last 24 bytes
  flash = modem.Flash();
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(flash[2 * kSegment + 0x18 + i], 0x80 + i);
    EXPECT_EQ(flash[2 * kSegment + 0xFFE8 + i], 0x10 + i);
  }
  EXPECT_EQ(flash[2 * kSegment + 0x17], 0xFF);
  EXPECT_EQ(flash[2 * kSegment + 0x30], 0xFF);
  modem.Examine([](const ModemModel& m) {
    EXPECT_EQ(m.Flash().Erases(2), 1);
    EXPECT_EQ(m.Flash().Writes(), 2);
    EXPECT_EQ(m.Flash().WritesToUnerased(), 0);
  });
}

TEST_F(LoaderFlash, WriteWithoutEraseStillWritesButIsCounted) {
  Do(Step(47, 0x0030, 0x01));
  const auto flash = modem.Flash();
  EXPECT_EQ(flash[4 * kSegment + 0x30], 0x01);
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().WritesToUnerased(), 1); });
}

TEST_F(LoaderFlash, BlockRunningPastTheSegmentWritesOnlyWhatFitsAndIsCounted) {
  Do(Step(23));
  Do(Step(43, 0xFFF0, 0x40));
  const auto flash = modem.Flash();
  EXPECT_EQ(flash[0xFFF0], 0x40);
  EXPECT_EQ(flash[0xFFFF], 0x4F);
  EXPECT_NE(flash[kSegment], 0x50) << "segment 1 untouched";
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().WritesPastSegment(), 1); });
}

class FirmwareFlash : public ModemOnLine {
 protected:
  // Each step through the working firmware gets two acknowledgements.
  void Do(const Frame& request) {
    line.Send(request, Framing::Working);
    for (int i = 0; i < 2; ++i) {
      const auto reply = line.ReadFrame(Framing::Working);
      ASSERT_TRUE(reply) << "reply " << i + 1;
      EXPECT_EQ(*reply, ModemModel::Acknowledgement(request));
    }
    EXPECT_TRUE(line.Quiet(30ms));
  }
};

TEST_F(FirmwareFlash, EraseAndWriteInTheWorkingFramingChangeTheMemoryAlike) {
  for (std::uint8_t k = 0; k < 5; ++k) Do(Step(23 + k));
  EXPECT_TRUE(AllOf(modem.Flash(), 0, FlashMemory::kSize, 0xFF));
  Do(Step(43, 0x0000, 0xA0));
  Do(Step(46, 0xFFD8, 0x20));
  const auto flash = modem.Flash();
  EXPECT_EQ(flash[0], 0xA0);
  EXPECT_EQ(flash[23], 0xA0 + 23);
  EXPECT_EQ(flash[24], 0xFF);
  EXPECT_EQ(flash[3 * kSegment + 0xFFD8], 0x20);
  modem.Examine([](const ModemModel& m) { EXPECT_EQ(m.Flash().WritesToUnerased(), 0); });
}

TEST_F(FirmwareFlash, StepsOnSubAddressTwoOrToTheRemoteModemLeaveTheMemoryAlone) {
  modem.Configure([](ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
  const auto before = modem.Flash();
  Do(BuildRequest(0xC1, 23, {}));
  EXPECT_TRUE(Ask(BuildRequest(0xD2, 23, {}), 50ms).ack);
  EXPECT_EQ(modem.Flash(), before);
}

}  // namespace
}  // namespace rkvt::sim::test
