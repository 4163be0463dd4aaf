#include "SetupTestSupport.h"

namespace rkvt::setup::test {
namespace {

struct DecodeCase { int level, variant; RecordBytes record; Key key; const char* text; };

// Field decodes where the tables have edges: the value text for a record.
const DecodeCase kDecodes[] = {
    {15, 8, Rec({{1, 5}}), Key::MBitRate, "5.6"},
    {14, 8, Rec({{1, 5}}), Key::MBitRate, "9.6"},
    {12, 0, Rec({{1, 0x0B}}), Key::MBitRate, "64"},            // index 11: four bits from level 9
    {8, 0, Rec({{1, 0x0B}}), Key::MBitRate, "256"},            // three bits below 9: index 3
    {12, 3, Rec({{1, 0x07}, {11, 3}, {22, 0x60}}), Key::MBitRate, "512"},  // E1 view: only 9 is "640"
    {13, 9, Rec({{1, 0x00}}), Key::MBitRate, "24.0"},
    {13, 9, Rec({{1, 0x06}}), Key::MBitRate, "12.0"},
    {1, 0, Rec({{1, 9 << 3}}), Key::MTransmitLevel, "-3"},      // level 1: index in byte 1
    {1, 0, Rec({{1, 12 << 3}}), Key::MTransmitLevel, "-42"},
    {12, 0, Rec({{2, 3 << 3}}), Key::MClockFreq, ""},
    {13, 7, Rec({{2, 3 << 3}}), Key::MClockFreq, "128"},
    {13, 7, Rec({{2, 1 << 3}}), Key::MClockFreq, "As Bit Rate"},
    {12, 0, Rec({{3, 6 << 3}}), Key::SClockMode, "Internal (TxC)"},
    {12, 0, Rec({{5, 3}}), Key::ABitRate, "57.6"},
    {12, 0, Rec({{7, 0xC0}}), Key::E1JittAtt, "Disabled"},
    {14, 8, Rec({{14, 12}}), Key::MAspType, "ASK 1"},
    {14, 8, Rec({{14, 0x19}}), Key::MAspType, "SPI 2ch w/o sys"},
    {13, 7, Rec({{14, 3}}), Key::MAspType, "WBC12"},
    {17, 9, Rec({{14, 7}}), Key::MAspType, "AVC"},
    {12, 7, Rec({{14, 11}}), Key::MChannels, "1-2-3"},
    {12, 7, Rec({{14, 9}}), Key::MChannels, "10-11-12"},
    {12, 0, Rec({{0, 1}, {1, 0x80}}), Key::MTransitions, "3"},
    {12, 0, Rec({{0, 2}}), Key::MTransitions, "None"},         // count 4
    {12, 3, Rec({{0, 1}, {1, 0x80}}), Key::MTransitions, "14"},
    {14, 7, Rec({{1, 0x10}}), Key::MBitRateUpTo, "48"},        // 1 is no list position
    {14, 8, Rec({{1, 0x40}}), Key::MBitRateUpTo, "24.0"},
    {13, 7, Rec({{6, 31 << 3}}), Key::E1TSMap, "1"},           // one slot, t = 31
    {13, 7, Rec({{6, 30 << 3}}), Key::E1TSMap, "31"},
    {13, 7, Rec({{6, 5 << 3}, {7, 1}}), Key::E1TSMap, "6, 7"},
    {13, 7, Rec({{6, 4 << 3}, {7, 1}}), Key::E1TSMap, "2, 3"},
    {13, 7, Rec({{6, 31 << 3}, {7, 1}}), Key::E1TSMap, "2, 3"},
    {8, 0, Rec({{1, 4}, {7, 4}, {6, 2 << 4}, {11, 3}}), Key::E1TSMap, "17...20"},
    {11, 2, Rec({{1, 7}, {7, 4}, {6, 3 << 4}, {11, 3}}), Key::E1TSMap, "1...7"},
    {11, 2, Rec({{1, 9}, {6, 1 << 4}, {11, 3}}), Key::E1TSMap, "0, 17...24"},
    {11, 0, Rec({{1, 2}, {11, 3}}), Key::E1TSMap, "0, 1...2"},  // index 2 reads "256" in an E1 view
    {11, 2, Rec({{1, 5}, {11, 0}}), Key::E1TSMap, ""},          // "384" has no time-slot row
    {12, 0, Rec({{6, 0xC0}}), Key::E1TSSig, "31"},
    {5, 0, Rec({{11, 3}}), Key::Interface, "P2 Sync"},
    {12, 0, Rec({{11, 4}}), Key::Interface, "E1 + KSI"},
    {12, 0, Rec({{11, 1}, {22, 0x08}}), Key::Interface, "Ethernet"},  // QLD-ENX100 in the lower slot
    {12, 0, Rec({{11, 1}}), Key::Interface, "P2 Sync"},               // no Ethernet module
    {4, 0, Rec({{11, 1}, {23, 0}}), Key::Interface, "Ethernet"},
    {4, 0, Rec({{11, 1}, {23, 1}}), Key::Interface, "P2 Sync"},
};

TEST(RecordDecode, EdgesOfEveryTable) {
  const auto decode = [](int level, int variant, const RecordBytes& record, Key key) {
    ConfigRecord r({level, variant});
    r.TakeIn(record);
    return r.Decode(key).value_or(QStringLiteral("<none>")).toStdString();
  };
  for (const DecodeCase& c : kDecodes)
    EXPECT_EQ(decode(c.level, c.variant, c.record, c.key), c.text) << KeyName(c.key) << " at level " << c.level
                                                                   << " variant " << c.variant;
  // Transmit level from byte 15, by family: C (variant 3), B (variant 1), A, then D (variants 7-9) below and
  // from level 13.
  const std::tuple<int, int, int, const char*> levels[] = {
      {10, 3, 86, "-37"}, {10, 3, 90, "-37"}, {10, 3, 120, "-12"}, {10, 3, 141, "-9.5"}, {10, 3, 150, "-6"},
      {10, 1, 86, "-37"}, {10, 1, 87, "-29"}, {10, 1, 200, "-29"}, {10, 1, 67, "-46"},
      {5, 0, 59, "-50"},  {5, 0, 61, "-49.5"}, {9, 0, 110, "-27.5"}, {9, 0, 123, "-9.5"}, {9, 0, 148, "-3"},
      {12, 8, 100, "-27.5"}, {13, 7, 100, "-30"}, {13, 7, 148, "-6"}, {13, 7, 149, ""}, {13, 7, 47, "-56"}};
  for (const auto& [level, variant, byte15, text] : levels)
    EXPECT_EQ(decode(level, variant, Rec({{15, byte15}}), Key::MTransmitLevel), text) << level << " " << byte15;
}

TEST(RecordTakeIn, ModulesAvcViewAndPayload) {
  ConfigRecord r({14, 8});
  // Slot codes 3 (E1) and 2 (QLD-ENX); byte 20 not 1 hides AVC from level 14.
  r.TakeIn(Rec({{22, (3 << 5) | (2 << 1)}, {20, 0}, {11, 3}, {16, 1}, {17, 2}, {18, 3}, {19, 4}}));
  const auto state = [&r] {
    return std::tuple(r.Modules().e1, r.Modules().qldEnx, r.Modules().qldEnx100, r.AvcPermitted(), r.InterfaceView());
  };
  EXPECT_EQ(state(), std::tuple(true, true, false, false, view::kE1));
  EXPECT_EQ(r.Payload(), (ExitPayload{1, 2, 3, 4}));
  EXPECT_FALSE(r.Changed());

  // Below level 7 only QLD-ENX is derived (from byte 23); E1 keeps its flag.
  r.SetContext({5, 0});
  r.TakeIn(Rec({{23, 1}, {11, 3}, {20, 0}}));
  EXPECT_EQ(state(), std::tuple(true, false, false, true, view::kP2Sync));

  // Level 13 ignores byte 20.
  r.SetContext({13, 7});
  r.TakeIn(Rec({{20, 0}}));
  EXPECT_TRUE(r.AvcPermitted());
}

// after: the bytes that must change, with their new values.
struct EncodeCase { int level, variant; RecordBytes before; Key key; const char* text;
                    std::vector<std::pair<int, int>> after; };

// What a chosen text writes; every byte not listed stays as it was.
const EncodeCase kEncodes[] = {
    {12, 8, Rec({{14, 0x15}}), Key::MAspType, "AVS 1", {{14, 0x11}}},  // M/S default bit kept
    {12, 7, Rec({{14, 0x15}}), Key::MChannels, "3-4-5", {{14, 0x02}}},  // whole byte: Slave cleared
    {17, 9, Rec({{14, 0xF5}}), Key::MAspType, "AVC", {{14, 0xF0}}},
    {12, 0, Rec({{11, 0x88}}), Key::Interface, "E1", {{11, 3}}},         // LLC and carrier shift cleared
    {5, 0, Rec({{11, 0x80}}), Key::Interface, "E1", {}},                // unknown below level 7
    {5, 0, Rec({{11, 0x80}}), Key::Interface, "P2 Async", {{11, 2}}},
    {12, 0, Rec({{11, 2}}), Key::Interface, "E1 - change bitrate", {}},
    {12, 1, Rec({{1, 0xF0}}), Key::MBitRate, "640", {{1, 0xF9}}},       // four bits
    {12, 8, Rec({{1, 0xF8}}), Key::MBitRate, "24.0", {{1, 0xFC}}},      // three bits
    {8, 0, Rec({{1, 0xF8}}), Key::MBitRate, "320", {{1, 0xFC}}},
    {12, 8, Rec({}), Key::MBitRate, "5.6", {{1, 5}}},
    {14, 7, Rec({{1, 0x8F}}), Key::MBitRateUpTo, "80", {{1, 0xCF}}},
    {12, 0, Rec({{1, 0x8F}}), Key::MBitRateUpTo, "48", {}},             // no ceiling below variant 7
    {1, 0, Rec({{1, 0x87}}), Key::MTransmitLevel, "-27.5", {{1, 0xBF}}},
    {12, 0, Rec({}), Key::MTransmitLevel, "-49.5", {{15, 61}}},
    {12, 1, Rec({}), Key::MTransmitLevel, "-50", {}},                   // not in family B
    {12, 3, Rec({}), Key::MTransmitLevel, "-6", {{15, 148}}},
    {12, 8, Rec({}), Key::MTransmitLevel, "-30", {}},                   // family D reaches -37 below 13
    {13, 7, Rec({}), Key::MTransmitLevel, "-30", {{15, 100}}},
    {12, 0, Rec({{0, 0xFF}, {1, 0xFF}}), Key::MTransitions, "2", {{0, 0xFD}, {1, 0x7F}}},
    {12, 4, Rec({}), Key::MTransitions, "14", {{0, 1}, {1, 0x80}}},
    {13, 7, Rec({{1, 0x46}}), Key::MClockFreq, "64", {{1, 0x22}, {2, 0x10}}},  // ceiling 48, index 2
    {12, 0, Rec({{1, 0x46}}), Key::MClockFreq, "64", {{2, 0x10}}},
    {12, 0, Rec({{2, 0x10}}), Key::MClockFreq, "128", {}},
    {13, 7, Rec({{2, 0xFF}}), Key::MClockFreq, "As Bit Rate", {{2, 0xE7}}},
    {12, 0, Rec({{3, 0xFF}}), Key::SClockMode, "Receiver (RxC)", {{3, 0xD7}}},
    {12, 0, Rec({{5, 0xFF}}), Key::ABitRate, "230.4", {{5, 0xFE}}},
    {12, 0, Rec({{7, 0xFF}}), Key::E1JittAtt, "Disabled", {{7, 0x7F}}},
    {12, 0, Rec({{6, 0xFF}}), Key::E1TSSig, "16", {{6, 0x3F}}},
    {13, 7, Rec({{6, 0x07}}), Key::E1TSMap, "31", {{6, 0xF7}}},
    {13, 7, Rec({{6, 0x07}, {7, 1}}), Key::E1TSMap, "4, 5", {{6, 0x1F}}},
    {13, 7, Rec({{7, 1}}), Key::E1TSMap, "5, 6", {}},
    {11, 0, Rec({{1, 3}, {6, 0xFF}, {11, 3}}), Key::E1TSMap, "0, 25...26", {}},  // already g = 3
    {11, 0, Rec({{1, 3}, {6, 0xFF}, {11, 3}}), Key::E1TSMap, "0, 9...10", {{6, 0xDF}}},
    {11, 5, Rec({{1, 9}, {6, 0xFF}, {7, 4}, {11, 3}}), Key::E1TSMap, "1...9", {{6, 0xCF}}},
};

TEST(RecordEncode, ChosenTextsWriteTheirBitsAndNothingElse) {
  for (const EncodeCase& c : kEncodes) {
    ConfigRecord r({c.level, c.variant});
    r.TakeIn(c.before);
    r.Encode(c.key, QString::fromLatin1(c.text));
    EXPECT_EQ(r.Working(), With(c.before, c.after)) << KeyName(c.key) << " \"" << c.text << "\" level " << c.level;
    EXPECT_EQ(std::pair(r.Received(), r.Changed()), std::pair(c.before, !c.after.empty()));
  }
}

}  // namespace
}  // namespace rkvt::setup::test
