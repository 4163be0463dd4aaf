#include "SimHarness.h"

namespace rkvt::sim::test {
namespace {

ConfigRecord RecordIn(const Frame& answer) {
  ConfigRecord record;
  std::copy_n(answer.begin() + 3, record.size(), record.begin());
  return record;
}

std::vector<std::uint8_t> Bytes(const ConfigRecord& record) { return {record.begin(), record.end()}; }

class Profiles : public ModemOnLine {};

TEST_F(Profiles, SetModeThenSaveAndLoadBringsTheRecordBackUnderItsNumber) {
  ConfigRecord mine{};
  for (std::size_t i = 0; i < mine.size(); ++i) mine[i] = static_cast<std::uint8_t>(0x40 + i);
  EXPECT_EQ(AnswerTo(Request(2, 20, Bytes(mine))).at(2), 0x22);
  // Entering setup now hands out what was set.
  EXPECT_EQ(RecordIn(AnswerTo(Request(2, 1))), mine);

  const Frame saved = AnswerTo(Request(2, 21, {0, 4}));
  EXPECT_EQ(saved[2], 0x23);
  EXPECT_EQ(saved[4], 4);

  const Frame other = AnswerTo(Request(2, 22, {0, 2}));
  EXPECT_EQ(other[2], 0x24);
  EXPECT_NE(RecordIn(other), mine);
  EXPECT_EQ(RecordIn(other)[ConfigStore::kActiveProfileByte], 2);

  ConfigRecord expected = mine;
  expected[ConfigStore::kActiveProfileByte] = 4;
  EXPECT_EQ(RecordIn(AnswerTo(Request(2, 22, {0, 4}))), expected);
  modem.Examine([&](const ModemModel& m) {
    EXPECT_EQ(m.Local().config.Record(), expected);
    EXPECT_EQ(m.Local().config.ModeChanges(), 1);
  });
}

TEST_F(Profiles, TheFiveStoredProfilesDifferAndCarryTheirNumber) {
  std::vector<ConfigRecord> seen;
  for (std::uint8_t n = 1; n <= 5; ++n) {
    const ConfigRecord r = RecordIn(AnswerTo(Request(2, 22, {0, n})));
    EXPECT_EQ(r[ConfigStore::kActiveProfileByte], n);
    for (const auto& earlier : seen) EXPECT_NE(r, earlier);
    seen.push_back(r);
  }
}

TEST_F(Profiles, ProfileNumbersOutsideOneToFiveGetNoAnswerAndChangeNothing) {
  ConfigRecord before;
  modem.Examine([&](const ModemModel& m) { before = m.Local().config.Record(); });
  for (std::uint8_t n : {0, 6, 255}) {
    EXPECT_FALSE(Ask(Request(2, 22, {0, n}), 100ms).answer) << int(n);
    EXPECT_FALSE(Ask(Request(2, 21, {0, n}), 100ms).answer) << int(n);
  }
  modem.Examine([&](const ModemModel& m) { EXPECT_EQ(m.Local().config.Record(), before); });
}

TEST(DefaultRecord, CarriesDistinctUninterpretedBytesAndTheModulesOfItsLayout) {
  const ConfigRecord second = ConfigStore::DefaultRecord(12);
  for (std::size_t i : {4u, 8u, 10u, 12u, 13u, 24u, 25u}) EXPECT_NE(second[i], 0) << "byte " << i;
  EXPECT_EQ(second[21], 1) << "profile 1 in force";
  EXPECT_EQ(second[22] >> 5, 3) << "E1 module in the upper slot code";
  EXPECT_EQ((second[22] >> 1) & 7, 4) << "QLD-ENX100 in the lower";
  const ConfigRecord first = ConfigStore::DefaultRecord(5);
  EXPECT_EQ(first[23] & 1, 0) << "QLD-ENX fitted";
  EXPECT_EQ(first[22], 0);
}

}  // namespace
}  // namespace rkvt::sim::test
