// What the modem answers to each request, and the state it keeps.
#include <numeric>

#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

// E7, address, code, then the given bytes from frame byte 3, sealed.
Frame Sealed(std::uint8_t address, std::uint8_t code, Bytes rest = {}) {
  Frame f{0xE7, address, code};
  std::copy(rest.begin(), rest.end(), f.begin() + 3);
  SealFrame(f);
  return f;
}

struct AnswerCase {
  const char* name;
  std::uint8_t subAddress, code;
  Bytes data;
  std::optional<std::uint8_t> response;  // none: acknowledgement only
  std::optional<std::uint8_t> repeat;    // frame byte 4 of the answer
};

const std::vector<AnswerCase> kAnswerCases{
    {"Identify", 1, 3, {}, 0x03, 0},           {"Reset", 1, 2, {}, 0x02, 0},
    {"ResetSecondStep", 1, 4, {}, 0x04, 0},    {"EnterSetup", 2, 1, {}, 0x21, {}},
    {"ExitSetup", 2, 24, {1, 2, 3, 4}, 0x26, {}}, {"StatePage", 2, 3, {0, 7}, 0x29, 7},
    {"StatisticsPage2", 2, 3, {0, 2}, 0x29, 2}, {"StatisticsPage3", 2, 3, {0, 3}, 0x29, 3},
    {"ResetStatistics", 2, 4, {}, 0x2A, {}},   {"SetNewMode", 2, 20, Bytes(26, 0x11), 0x22, {}},
    {"LoadProfile", 2, 22, {0, 3}, 0x24, {}},  {"SaveProfile", 2, 21, {0, 2}, 0x23, 2},
    {"ConnectLoop", 2, 2, {0, 1}, 0x31, 1},    {"DisconnectLoop", 2, 18, {0, 1}, 0x32, 1},
    {"LoopStatistics", 2, 19, {0, 9}, 0x29, 9}, {"ResetLoopStatistics", 2, 17, {}, {}, {}},
    {"UnknownCode", 2, 16, {}, {}, {}},
    // Pages of the other layout are no pages of this firmware.
    {"StatePageOfTheFirstLayout", 2, 3, {0, 1}, {}, {}}, {"LoopPageOfTheFirstLayout", 2, 19, {0, 5}, {}, {}},
};

class EveryAnswer : public ModemOnLine, public ::testing::WithParamInterface<AnswerCase> {};

// Local modem, remote modem absent (the local one only acknowledges), remote
// modem present (answering from station 0).
TEST_P(EveryAnswer, AcknowledgementThenTheExpectedAnswer) {
  const AnswerCase& c = GetParam();
  for (const int target : {0, 1, 2}) {
    if (target == 2) modem.Configure([](ModemModel& m) { m.RemoteIdentity() = m.LocalIdentity(); });
    const std::uint8_t address = (target == 0 ? 0x70 : 0x30) | c.subAddress;
    const Exchange e = Ask(Request(c.subAddress, c.code, c.data, target == 0));
    EXPECT_EQ(e.ack, Sealed(address, c.code)) << target;
    ASSERT_EQ(e.answer.has_value(), c.response && target != 1) << target;
    if (!e.answer) continue;
    const Frame& a = *e.answer;
    EXPECT_EQ(Bytes(a.begin(), a.begin() + 5), (Bytes{0xE7, address, *c.response, a[3], c.repeat.value_or(a[4])}));
    EXPECT_TRUE(ChecksumMatches(a));
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryAnswer, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IdentifyAnswer, CarriesTheIdentityInFrameBytes5To8AndTheVariantIn10) {
  ModemModel model({.reserved = 0x5A, .type = 6, .version = 0x40, .third = '2', .variantCode = 7});
  EXPECT_EQ(AnswerOf(model, Request(1, 3)), Sealed(0x71, 3, {0, 0, 0x5A, 0x06, 0x40, '2', 0x00, 0x07}));
  Frame bad = Request(1, 3);
  bad[30] ^= 1;
  EXPECT_TRUE(model.Handle(bad).empty()) << "a bad checksum gets no reply at all";
}

TEST(SetupAnswers, HeldIsRefusedEnterHandsOutTheRecordExitKeepsThePayloadAndResetLeaves) {
  ModemModel model;
  ConfigStore& config = model.Local().config;
  config.setupHeld = true;
  config.holder = SetupActivity(Actor::RemoteModem);
  const Frame refused = AnswerOf(model, Request(2, 1)).value_or(Frame{});
  EXPECT_EQ(Bytes(refused.begin() + 2, refused.begin() + 7), (Bytes{0x27, 0, 0, 0x20, 0x00})) << "setup by remote modem";
  EXPECT_FALSE(config.InSetup());
  config.setupHeld = false;
  const ConfigRecord record = config.Record();
  const Frame entered = AnswerOf(model, Request(2, 1)).value_or(Frame{});
  EXPECT_TRUE(std::equal(record.begin(), record.end(), entered.begin() + 3)) << "record bytes 2 to 27";
  EXPECT_TRUE(config.InSetup());
  EXPECT_EQ(AnswerOf(model, Request(2, 24, {0x5A, 0xA5, 0x01, 0x02})).value_or(Frame{})[2], 0x26);
  EXPECT_FALSE(config.InSetup());
  EXPECT_EQ(config.LastExitPayload(), (std::array<std::uint8_t, 4>{0x5A, 0xA5, 0x01, 0x02}));
  // A reset leaves setup and drops the loop without counting a disconnect.
  for (const Frame& r : {Request(2, 1), Request(2, 2, {0, 2}), Request(1, 2), Request(1, 4)}) AnswerOf(model, r);
  const ModemPeer& p = model.Local();
  // In setup, loop connected, disconnects, resets, second steps.
  EXPECT_EQ(std::tuple(p.config.InSetup(), p.loops.Connected().has_value(), p.loops.Disconnects(), p.resets, p.resetSecondSteps),
            std::tuple(false, false, 0, 1, 1));
}

TEST(LoaderFraming, EveryRequestGetsOneAcknowledgementAndAResetStartsTheFirmware) {
  ModemModel model({.reserved = 0x12, .type = 5, .version = 0x13, .third = '4', .loader = true});
  model.Handle(Request(1, 2));
  EXPECT_EQ(model.CurrentFraming(), Framing::Loader) << "no firmware to start";
  model.FirmwareAfterLoaderReset() = Identity{.type = 6, .version = 0x31, .third = '5'};
  for (const auto& [request, reply] : {std::pair(Request(1, 3), Sealed(0x71, 3, {0, 0, 0x12, 0x05, 0x13, '4'})),
                                       std::pair(Request(1, 2), Sealed(0x71, 2))}) {
    const auto replies = model.Handle(request);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].frame, reply);
  }
  EXPECT_EQ(std::tuple(model.LoaderResets(), model.CurrentFraming(), model.LocalIdentity().type),
            std::tuple(2, Framing::Working, 6));
}

Bytes RecordIn(const Frame& answer) { return {answer.begin() + 3, answer.begin() + 29}; }
Bytes Copy(const ConfigRecord& record) { return {record.begin(), record.end()}; }

using Profiles = ModemOnLine;

TEST_F(Profiles, SetModeThenSaveAndLoadBringsTheRecordBackUnderItsNumber) {
  Bytes mine(26);
  std::iota(mine.begin(), mine.end(), 0x40);
  EXPECT_EQ(AnswerTo(Request(2, 20, mine))[2], 0x22);
  EXPECT_EQ(RecordIn(AnswerTo(Request(2, 1))), mine) << "entering setup hands out what was set";
  const Frame saved = AnswerTo(Request(2, 21, {0, 4}));
  EXPECT_EQ(Bytes(saved.begin() + 2, saved.begin() + 5), (Bytes{0x23, 0, 4}));
  const Frame other = AnswerTo(Request(2, 22, {0, 2}));
  EXPECT_EQ(other[2], 0x24);
  EXPECT_NE(RecordIn(other), mine);
  EXPECT_EQ(RecordIn(other)[ConfigStore::kActiveProfileByte], 2);
  Bytes expected = mine;
  expected[ConfigStore::kActiveProfileByte] = 4;
  EXPECT_EQ(RecordIn(AnswerTo(Request(2, 22, {0, 4}))), expected);
  modem.Examine([&](const ModemModel& m) {
    EXPECT_EQ(std::tuple(Copy(m.Local().config.Record()), m.Local().config.ModeChanges()), std::tuple(expected, 1));
  });
}

TEST_F(Profiles, FiveDistinctProfilesCarryTheirNumberAndOtherNumbersChangeNothing) {
  std::vector<Bytes> seen;
  for (std::uint8_t n = 1; n <= 5; ++n) {
    const Bytes r = RecordIn(AnswerTo(Request(2, 22, {0, n})));
    EXPECT_EQ(r[ConfigStore::kActiveProfileByte], n);
    for (const auto& earlier : seen) EXPECT_NE(r, earlier);
    seen.push_back(r);
  }
  for (std::uint8_t n : {0, 6, 255}) {
    EXPECT_FALSE(Ask(Request(2, 22, {0, n}), 50ms).answer) << int(n);
    EXPECT_FALSE(Ask(Request(2, 21, {0, n}), 50ms).answer) << int(n);
  }
  modem.Examine([&](const ModemModel& m) { EXPECT_EQ(Copy(m.Local().config.Record()), seen.back()); });
}

constexpr Identity kFirstLayout{.type = 1, .version = 0x21, .third = '5'};   // level 5
constexpr Identity kSecondLayout{.type = 6, .version = 0x31, .third = '5'};  // level 12
constexpr Identity kLevel7{.type = 1, .version = 0x22, .third = '5'};
constexpr Identity kLevel4{.type = 1, .version = 0x20, .third = '8'};

Bytes Slice(const Bytes& record, std::size_t from, std::size_t to) { return {record.begin() + from, record.begin() + to + 1}; }

TEST(FirstLayout, FieldsLandInBytes4To13) {
  ModemModel model(kFirstLayout);
  model.Local().state = {.line = {.levelTooLow = true}, .quality = 4, .lineRate = 2, .asyncRate = 3,
                         .circuits = {.dtr = false, .cts = false},
                         .ethernet = {.link = true, .rx = true, .collision = true, .valid = false},
                         .interface = gen1_interface::kP2Async, .cable = 21,
                         .activity = TestActivity(test_code::kRdlEs, Actor::LocalModem)};
  const Bytes page = StatePage(model);
  // Level too low; quality, line rate, async rate; RTS bit 1 (DTR bit 0 off);
  // DSR, DCD, LRx, Coll, Lnk, not valid; byte 9 interface and cable; test by
  // the local modem, code 1, from byte 10.
  EXPECT_EQ(Slice(page, 4, 7), (Bytes{0x08, 0x04 | (2 << 3) | (3 << 6), 0x02, 0x80 | 0x20 | 0x10 | 0x04 | 0x02 | 0x01}));
  EXPECT_EQ(Slice(page, 9, 11), (Bytes{(2 << 5) | 21, 0x50, 0x40}));
  EXPECT_EQ(page[22], 0) << "nothing at the second layout's activity place";
}

TEST(SecondLayout, SlotsSitAt6And10AndActivityAt22) {
  ModemModel model(kSecondLayout);
  model.Local().state = {
      .line = {.freqShiftTooHigh = true}, .quality = 5, .lineRate = 9,
      .slotA = {.valid = true, .interface = slot_interface::kE1, .e1Alarms = 0xA5, .syncRate = 3, .asyncRate = 2},
      .slotB = {.valid = true, .interface = slot_interface::kP2, .cable = 18, .circuits = {.dtr = false, .cts = false},
                .syncRate = 5, .asyncRate = 1, .async = true},
      .activity = SlaveTestActivity(test_code::kRdlEs, Actor::RemoteTerminal)};
  // Frequency shift; quality and four bits of line rate; slot A E1 with its
  // alarms, all circuits on, rates; slot B P2 with cable 18, RTS bit 4, DSR
  // bit 2, DCD bit 0, rates and async. Then the slave record: test code 9 in
  // b0/b1, the master's RDL-ES record from b2.
  EXPECT_EQ(Slice(StatePage(model), 4, 27),
            (Bytes{0x10, 5 | (9 << 3), 0x10 | (3 << 5), 0xA5, 0x1F, 0x23, 0x10 | (1 << 5), 18, 0x10 | 0x04 | 0x01,
                   0x80 | 0x10 | 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x40, 0x90, 0x40, 0x00, 0x00}));
}

TEST(SecondLayout, EthernetSpeedBitIsInByte7WhicheverSlotCarriesIt) {
  ModemModel model(kSecondLayout);
  ModemState& s = model.Local().state;
  s.slotA = {.valid = true, .interface = slot_interface::kEthernet100,
             .ethernet = {.link = true, .rx = true, .tx = true, .collision = false, .speed100 = true}};
  EXPECT_EQ(StatePage(model)[7], 0x40 | 0x08 | 0x04 | 0x01) << "speed, LRx, LTx, Lnk";
  s.slotA = {.valid = false, .interface = slot_interface::kP2, .cable = 31};
  s.slotB = {.valid = true, .interface = slot_interface::kEthernet100, .ethernet = {.link = false, .speed100 = true}};
  // Slot A's cable with the speed bit; slot B keeps only its indicators.
  EXPECT_EQ(Slice(StatePage(model), 7, 11), (Bytes{0x40 | 31, 0x1F, 0x00, 0x10 | (4 << 5), 0x00}));
}

TEST(OwnActivity, SetupAndTestsShowWhenNoRecordIsSet) {
  ModemModel model(kSecondLayout);
  model.RemoteIdentity() = kSecondLayout;
  EXPECT_EQ(StatePage(model)[22], 0x00);
  AnswerOf(model, Request(2, 2, {0, test_code::kDl}));
  EXPECT_EQ(Slice(StatePage(model), 22, 23), (Bytes{0xC0 | 0x10 | 0x02, 0x00})) << "local terminal, test, code 8";
  AnswerOf(model, Request(2, 1, {}, false));
  EXPECT_EQ(StatePage(model, false)[22], 0x80 | 0x20) << "setup from a remote terminal";
  model.Local().state.activity = AccessDeniedActivity(Actor::LocalModem);
  EXPECT_EQ(StatePage(model)[22], 0x40 | 0x08) << "a set record wins";
}

// Statistics (code 3) and loop statistics (code 19) pages a firmware answers.
TEST(PageCodes, OnlyThePagesOfTheFirmwaresLayoutAreAnswered) {
  const std::tuple<Identity, std::uint8_t, std::uint8_t, bool> rules[] = {
      {kFirstLayout, 3, 1, true},   {kFirstLayout, 3, 7, false},  {kLevel4, 3, 1, true},
      {kLevel7, 3, 1, false},       {kLevel7, 3, 7, true},        {kSecondLayout, 3, 7, true},
      {kSecondLayout, 3, 2, true},  {kFirstLayout, 3, 3, true},   {kSecondLayout, 3, 4, false},
      {kFirstLayout, 19, 5, true},  {kFirstLayout, 19, 6, true},  {kFirstLayout, 19, 4, true},
      {kFirstLayout, 19, 9, false}, {kLevel7, 19, 9, true},       {kLevel7, 19, 7, true},
      {kLevel7, 19, 8, true},       {kLevel7, 19, 5, false},
  };
  for (const auto& [identity, code, page, answered] : rules) {
    ModemModel model(identity);
    const auto a = AnswerOf(model, Request(2, code, {0, page}));
    ASSERT_EQ(a.has_value(), answered) << int(identity.version) << " code " << int(code) << " page " << int(page);
    if (!a) continue;
    EXPECT_EQ(RecordByte(*a, 3), page);
  }
}

TEST(LoopInterfacePage, RepeatsStateBytes4To13WithoutTheActivity) {
  for (const Identity& identity : {kFirstLayout, kSecondLayout}) {
    ModemModel model(identity);
    model.Local().state = {.quality = 2, .cable = 20,
                           .slotA = {.valid = true, .interface = slot_interface::kP2, .cable = 28, .syncRate = 4},
                           .slotB = {.valid = true, .interface = slot_interface::kEthernet10},
                           .activity = SetupActivity(Actor::LocalTerminal)};
    const bool first = LayoutOf(identity) == PageLayout::First;
    const Frame loop = AnswerOf(model, Request(2, 19, {0, std::uint8_t(first ? 6 : 7)})).value_or(Frame{});
    Bytes expected = Slice(StatePage(model), 4, 13);
    if (first) std::fill(expected.begin() + 6, expected.end(), 0);  // the activity stays on the state page
    EXPECT_EQ(Bytes(loop.begin() + 5, loop.begin() + 15), expected);
  }
}

}  // namespace
}  // namespace rkvt::sim::test
