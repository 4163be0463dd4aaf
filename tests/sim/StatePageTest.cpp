#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

constexpr Identity kFirstLayout{.type = 1, .version = 0x21, .third = '5'};   // level 5
constexpr Identity kSecondLayout{.type = 6, .version = 0x31, .third = '5'};  // level 12

// Record bytes 4..27 of the answer to a state page request.
std::vector<std::uint8_t> StatePage(ModemModel& model, bool local = true) {
  const std::uint8_t page = LayoutOf(local ? model.LocalIdentity() : *model.RemoteIdentity()) == PageLayout::First ? 1 : 7;
  const auto a = AnswerOf(model, Request(2, 3, {0, page}, local));
  EXPECT_TRUE(a.has_value());
  if (!a) return {};
  EXPECT_EQ(a->at(2), 0x29);
  EXPECT_EQ(RecordByte(*a, 3), page);
  return {a->begin() + 5, a->begin() + 29};
}

// Block byte for record byte n.
std::uint8_t At(const std::vector<std::uint8_t>& block, std::size_t recordByte) { return block.at(recordByte - 4); }

TEST(FirstLayout, FieldsLandInBytes4To13) {
  ModemModel model(kFirstLayout);
  ModemState& s = model.Local().state;
  s.line.levelTooLow = true;
  s.quality = 4;
  s.lineRate = 2;
  s.asyncRate = 3;
  s.circuits = {.dtr = false, .dsr = true, .rts = true, .cts = false, .dcd = true};
  s.ethernet = {.link = true, .rx = true, .tx = false, .collision = true, .valid = false};
  s.interface = gen1_interface::kP2Async;
  s.cable = 21;
  s.activity = TestActivity(test_code::kRdlEs, Actor::LocalModem);
  const auto page = StatePage(model);
  EXPECT_EQ(At(page, 4), 0x08) << "input level too low";
  EXPECT_EQ(At(page, 5), 0x04 | (2 << 3) | (3 << 6));
  EXPECT_EQ(At(page, 6), 0x02) << "RTS bit 1, DTR bit 0";
  EXPECT_EQ(At(page, 7), 0x80 | 0x20 | 0x10 | 0x04 | 0x02 | 0x01) << "DSR, DCD, LRx, Coll, Lnk, not valid";
  EXPECT_EQ(At(page, 9), (2 << 5) | 21);
  EXPECT_EQ(At(page, 10), 0x50) << "test, local modem, code 1 high bits";
  EXPECT_EQ(At(page, 11), 0x40) << "code 1 low bits";
  EXPECT_EQ(At(page, 22), 0) << "nothing at the second layout's activity place";
}

TEST(SecondLayout, SlotsSitAt6And10AndActivityAt22) {
  ModemModel model(kSecondLayout);
  ModemState& s = model.Local().state;
  s.line.freqShiftTooHigh = true;
  s.quality = 5;
  s.lineRate = 9;
  s.slotA = {.valid = true, .interface = slot_interface::kE1, .e1Alarms = 0xA5, .syncRate = 3, .asyncRate = 2};
  s.slotB = {.valid = true,
             .interface = slot_interface::kP2,
             .cable = 18,
             .circuits = {.dtr = false, .dsr = true, .rts = true, .cts = false, .dcd = true},
             .syncRate = 5,
             .asyncRate = 1,
             .async = true};
  s.activity = SlaveTestActivity(test_code::kRdlEs, Actor::RemoteTerminal);
  const auto page = StatePage(model);
  EXPECT_EQ(At(page, 4), 0x10);
  EXPECT_EQ(At(page, 5), 5 | (9 << 3)) << "four bits of line rate";
  EXPECT_EQ(At(page, 6), 0x10 | (3 << 5));
  EXPECT_EQ(At(page, 7), 0xA5) << "E1 alarms";
  EXPECT_EQ(At(page, 8), 0x1F) << "all circuits on";
  EXPECT_EQ(At(page, 9), 0x23);
  EXPECT_EQ(At(page, 10), 0x10 | (1 << 5));
  EXPECT_EQ(At(page, 11), 18) << "cable of a P2 slot";
  EXPECT_EQ(At(page, 12), 0x10 | 0x04 | 0x01) << "RTS bit 4, DSR bit 2, DCD bit 0";
  EXPECT_EQ(At(page, 13), 0x80 | 0x10 | 0x05);
  // Slave record: test code 9 in b0/b1, the master's RDL-ES record from b2.
  EXPECT_EQ(std::vector<std::uint8_t>(page.begin() + 18, page.end()),
            (std::vector<std::uint8_t>{0x12, 0x40, 0x90, 0x40, 0x00, 0x00}));
}

TEST(SecondLayout, EthernetSpeedBitIsInByte7WhicheverSlotCarriesIt) {
  ModemModel model(kSecondLayout);
  ModemState& s = model.Local().state;
  s.slotA = {.valid = true,
             .interface = slot_interface::kEthernet100,
             .ethernet = {.link = true, .rx = true, .tx = true, .collision = false, .speed100 = true}};
  EXPECT_EQ(At(StatePage(model), 7), 0x40 | 0x08 | 0x04 | 0x01) << "speed, LRx, LTx, Lnk";

  s.slotA = {.valid = false, .interface = slot_interface::kP2, .cable = 31};
  s.slotB = {.valid = true, .interface = slot_interface::kEthernet100, .ethernet = {.link = false, .speed100 = true}};
  const auto page = StatePage(model);
  EXPECT_EQ(At(page, 7), 0x40 | 31);
  EXPECT_EQ(At(page, 11), 0x00) << "slot B keeps only its indicators";
}

TEST(OwnActivity, SetupAndTestsShowWhenNoRecordIsSet) {
  ModemModel model(kSecondLayout);
  model.RemoteIdentity() = kSecondLayout;
  EXPECT_EQ(At(StatePage(model), 22), 0x00);
  AnswerOf(model, Request(2, 2, {0, test_code::kDl}));
  EXPECT_EQ(At(StatePage(model), 22), 0xC0 | 0x10 | 0x02) << "local terminal, test, code 8";
  EXPECT_EQ(At(StatePage(model), 23), 0x00);
  AnswerOf(model, Request(2, 1, {}, false));
  EXPECT_EQ(At(StatePage(model, false), 22), 0x80 | 0x20) << "setup from a remote terminal";
  model.Local().state.activity = AccessDeniedActivity(Actor::LocalModem);
  EXPECT_EQ(At(StatePage(model), 22), 0x40 | 0x08) << "a set record wins";
}

struct PageRule {
  const char* name;
  Identity identity;
  std::uint8_t code;  // request code byte: 3 statistics, 19 loop statistics
  std::uint8_t page;
  bool answered;
};

class PageCodes : public ::testing::TestWithParam<PageRule> {};

TEST_P(PageCodes, OnlyThePagesOfTheFirmwaresLayoutAreAnswered) {
  ModemModel model(GetParam().identity);
  const auto a = AnswerOf(model, Request(2, GetParam().code, {0, GetParam().page}));
  ASSERT_EQ(a.has_value(), GetParam().answered);
  if (a) {
    EXPECT_EQ(RecordByte(*a, 3), GetParam().page);
  }
}

constexpr Identity kLevel7{.type = 1, .version = 0x22, .third = '5'};
constexpr Identity kLevel4{.type = 1, .version = 0x20, .third = '8'};

INSTANTIATE_TEST_SUITE_P(
    Layouts, PageCodes,
    ::testing::Values(PageRule{"Level5State1", kFirstLayout, 3, 1, true},
                      PageRule{"Level5State7", kFirstLayout, 3, 7, false},
                      PageRule{"Level4State1", kLevel4, 3, 1, true},
                      PageRule{"Level7State1", kLevel7, 3, 1, false},
                      PageRule{"Level7State7", kLevel7, 3, 7, true},
                      PageRule{"Level12State7", kSecondLayout, 3, 7, true},
                      PageRule{"Level12Page2", kSecondLayout, 3, 2, true},
                      PageRule{"Level5Page3", kFirstLayout, 3, 3, true},
                      PageRule{"Page4IsNoStatisticsPage", kSecondLayout, 3, 4, false},
                      PageRule{"Level5LoopEs", kFirstLayout, 19, 5, true},
                      PageRule{"Level5LoopInterface", kFirstLayout, 19, 6, true},
                      PageRule{"Level5LoopDl", kFirstLayout, 19, 4, true},
                      PageRule{"Level5LoopEsOfSecondLayout", kFirstLayout, 19, 9, false},
                      PageRule{"Level7LoopEs", kLevel7, 19, 9, true},
                      PageRule{"Level7LoopInterface", kLevel7, 19, 7, true},
                      PageRule{"Level7LoopDl", kLevel7, 19, 8, true},
                      PageRule{"Level7LoopEsOfFirstLayout", kLevel7, 19, 5, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoopInterfacePage, RepeatsStateBytes6To13WithoutTheActivity) {
  for (const Identity& identity : {kFirstLayout, kSecondLayout}) {
    ModemModel model(identity);
    ModemState& s = model.Local().state;
    s.quality = 2;
    s.cable = 20;
    s.slotA = {.valid = true, .interface = slot_interface::kP2, .cable = 28, .syncRate = 4};
    s.slotB = {.valid = true, .interface = slot_interface::kEthernet10};
    s.activity = SetupActivity(Actor::LocalTerminal);
    const std::uint8_t page = LayoutOf(identity) == PageLayout::First ? 6 : 7;
    const auto loop = AnswerOf(model, Request(2, 19, {0, page}));
    ASSERT_TRUE(loop);
    const auto state = StatePage(model);
    for (std::size_t n = 4; n <= 9; ++n) EXPECT_EQ(RecordByte(*loop, n), At(state, n)) << "record byte " << n;
    if (LayoutOf(identity) == PageLayout::Second) {
      for (std::size_t n = 10; n <= 13; ++n) EXPECT_EQ(RecordByte(*loop, n), At(state, n)) << "record byte " << n;
    } else {
      EXPECT_EQ(RecordByte(*loop, 10), 0) << "the activity stays on the state page";
    }
  }
}

}  // namespace
}  // namespace rkvt::sim::test
