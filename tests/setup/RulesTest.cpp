#include "SetupTestSupport.h"

#include "setup/Rules.h"

namespace rkvt::setup::test {
namespace {

struct InterfaceCase { const char* what; int level, variant; RecordBytes record; QStringList entries; };

TEST(InterfaceList, EntriesAndNoticesByLevelModulesAndBitRate) {
  const InterfaceCase cases[] = {
      {"level 8, 192, E1 module", 8, 0, Rec({{1, 2}, {22, 0x60}}),
       L({"P2 Sync", "Ethernet - no module", "P2 Async", "E1 - change bitrate"})},
      {"level 8, 256, E1 and QLD-ENX", 8, 0, Rec({{1, 3}, {22, 0x64}}), L({"P2 Sync", "Ethernet", "P2 Async", "E1"})},
      {"level 11, variant 3, 512", 11, 3, Rec({{1, 7}, {22, 0x60}}),
       L({"P2 Sync", "Ethernet - no module", "P2 Async", "E1", "E1 + KSI"})},
      {"level 11, variant 3, 384", 11, 3, Rec({{1, 5}, {22, 0x60}}),
       L({"P2 Sync", "Ethernet - no module", "P2 Async", "E1 - change bitrate"})},
      {"level 10, variant 0, 320", 10, 0, Rec({{1, 4}, {22, 0x60}}), L({"P2 Sync", "Ethernet - no module", "P2 Async", "E1"})},
      {"level 9 never fits", 9, 0, Rec({{1, 3}, {22, 0x60}}),
       L({"P2 Sync", "Ethernet - no module", "P2 Async", "E1 - change bitrate"})},
      {"level 12, no E1 module", 12, 0, Rec({{22, 4 << 1}}), L({"P2 Sync", "Ethernet", "P2 Async", "E1 - no module"})},
      {"level 13, variant 7", 13, 7, Rec({}), L({"P2 Sync", "Ethernet - no module", "E1 - no module"})},
      {"level 14, variant 0, E1", 14, 0, Rec({{22, 0x60}}), L({"P2 Sync", "Ethernet - no module", "E1"})},
      {"level 12, variant 7", 12, 7, Rec({{22, 0x60}}), L({"P2 Sync", "Ethernet - no module"})},
      {"level 5, QLD-ENX", 5, 0, Rec({{23, 0}}), L({"P2 Sync", "Ethernet", "P2 Async"})},
      {"level 5, none", 5, 0, Rec({{23, 1}}), L({"P2 Sync", "Ethernet - no module", "P2 Async"})},
  };
  for (const InterfaceCase& c : cases) {
    SetupModel m = Built(c.level, c.variant, c.record);
    const SetupModel::Click click = m.ClickLink(u"Interface");
    EXPECT_EQ(std::pair(click.action, click.entries), std::pair(SetupModel::ClickAction::OpenList, c.entries))
        << c.what;
  }
}

TEST(InterfaceList, ANoticePutsThePreviousTextBackAndSendsNothing) {
  SetupModel m = Built(8, 0, Rec({{1, 2}, {11, 2}, {22, 0x60}}));
  m.Choose(u"Interface", u"E1 - change bitrate");
  EXPECT_EQ(std::pair(Value(m, "Interface"), m.SendDue()), std::pair(QString("P2 Async"), false));
  m.Choose(u"Interface", u"P2 Sync");
  EXPECT_EQ(std::tuple(Value(m, "Interface"), +m.Record().Working()[11], m.SendDue()),
            std::tuple(QString("P2 Sync"), 0, true));
}

// shown: the row's text after the click; after: the bytes of the working copy that change.
struct FlipCase { const char* what; int level, variant; RecordBytes record; const char *key, *shown;
                  std::vector<std::pair<int, int>> after; };

TEST(Flips, EachClickChangesRowAndRecordTogether) {
  const FlipCase cases[] = {
      {"Manual with clock 64 caps 80 to 48", 13, 7, Rec({{1, 0x04}, {2, 0x10}}), "MRateMode", "Manual",
       {{0, 0x80}, {1, 0x02}}},
      {"Manual on one E1 slot caps", 13, 7, Rec({{1, 0x23}, {11, 3}}), "MRateMode", "Manual", {{0, 0x80}, {1, 0x22}}},
      {"Manual on two E1 slots keeps the rate", 13, 7, Rec({{1, 0x24}, {7, 1}, {11, 3}}), "MRateMode", "Manual",
       {{0, 0x80}}},
      {"Manual, P2 Sync without clock 64", 14, 8, Rec({{1, 0x04}}), "MRateMode", "Manual", {{0, 0x80}}},
      {"back to Auto", 14, 8, Rec({{0, 0x80}}), "MRateMode", "Auto", {{0, 0x00}}},
      {"Short connection", 12, 0, Rec({{0, 0x21}}), "MConnection", "Short", {{0, 0xA1}}},
      {"Slave", 14, 8, Rec({{14, 0x05}}), "MMSDefault", "Slave", {{14, 0x15}}},
      {"CCS back to CAS resets signalling", 12, 0, Rec({{6, 0xCF}, {11, 3}}), "E1Sig", "CAS", {{6, 0x07}}},
      {"CAS to CCS", 12, 0, Rec({{11, 3}}), "E1Sig", "CCS", {{6, 0x08}}},
      {"E1 mode 2 clears bit 3", 12, 0, Rec({{7, 0x08}, {11, 3}}), "E1Mode", "2", {{7, 0x04}}},
      {"E1 mode back to 1", 12, 0, Rec({{7, 0x0C}, {11, 3}}), "E1Mode", "1", {{7, 0x00}}},
      {"two time slots start at 2, 3", 13, 7, Rec({{6, 0x2F}, {11, 3}}), "E1TSNumber", "2", {{6, 0x0F}, {7, 0x01}}},
      {"one time slot: ceiling 48, rate 2, slot 1", 13, 7, Rec({{1, 0x44}, {6, 0x1F}, {7, 0x01}, {11, 3}}),
       "E1TSNumber", "1", {{1, 0x22}, {6, 0x07}, {7, 0x00}}},
      {"speed 100", 12, 0, Rec({{11, 1}, {22, 4 << 1}}), "ESpeed", "100", {{9, 0x40}}},
      {"duplex off", 12, 0, Rec({{11, 1}, {22, 2 << 1}}), "EDuplex", "Disabled", {{9, 0x08}}},
      {"LLC on", 15, 0, Rec({}), "LLC", "Enabled", {{11, 0x80}}},
      {"carrier shift", 15, 0, Rec({{11, 0x88}}), "CarrierShift", "Standart", {{11, 0x80}}},
      {"RC gain", 12, 0, Rec({{11, 3}}), "E1RCGain", "-43", {{6, 0x01}}},
  };
  for (const FlipCase& c : cases) {
    SetupModel m = Built(c.level, c.variant, c.record);
    EXPECT_EQ(m.ClickLink(QString::fromLatin1(c.key)).action, SetupModel::ClickAction::Flipped) << c.what;
    EXPECT_EQ(Value(m, c.key), c.shown) << c.what;
    const RecordBytes expected = With(c.record, c.after);
    EXPECT_EQ(std::pair(m.Record().Working(), m.SendDue()), std::pair(expected, expected != c.record)) << c.what;
  }
}

TEST(Clicks, DisplayRowsHeaderAndSameValueSendNothing) {
  SetupModel async = Built(12, 0, Rec({{11, 2}}));
  for (const char* key : {"DCDManagement", "E1Crc4", "Parameter"})  // a display row, no row in this view, the header
    EXPECT_EQ(async.ClickLink(QString::fromLatin1(key)).action, SetupModel::ClickAction::None) << key;
  EXPECT_EQ(Value(async, "DCDManagement"), "Always active");
  EXPECT_FALSE(async.SendDue());

  SetupModel m = Built(12, 0, Rec({{0, 0x20}}));
  m.Choose(u"Interleaver", u"Low");
  EXPECT_FALSE(m.SendDue());
  // Two changes before a send: one record carries both; a rebuild from the
  // received copy takes them back.
  m.Choose(u"Interleaver", u"High");
  m.Choose(u"SClockMode", u"Receiver (RxC)");
  EXPECT_EQ(std::pair(+m.Record().Working()[0], +m.Record().Working()[3]), std::pair(0x60, 0x10));
  m.RebuildFromReceived();
  EXPECT_EQ(Value(m, "Interleaver"), "Low");
  EXPECT_FALSE(m.SendDue());
}

TEST(ChoiceLists, EdgesByVariantLevelAndRows) {
  SetupModel cas = Built(12, 0, Rec({{6, 0x08}, {1, 3}, {11, 3}}));
  cas.ClickLink(u"E1Sig");  // CCS -> CAS
  const SetupModel::Click sig = cas.ClickLink(u"E1TSSig");
  EXPECT_EQ(std::pair(sig.action, sig.entries), std::pair(SetupModel::ClickAction::OpenList, QStringList()));

  EXPECT_EQ(Built(17, 9, Rec({})).ChoiceList(u"MAspType"), L({"AVC"}));
  EXPECT_EQ(Built(15, 8, Rec({})).ChoiceList(u"MBitRate").last(), "5.6");
  EXPECT_EQ(Built(14, 8, Rec({})).ChoiceList(u"MBitRate").last(), "24.0");
  EXPECT_EQ(Built(14, 8, Rec({{20, 0}})).ChoiceList(u"MAspType"),
            L({"ASK 1", "AVS 1", "ET6n", "SPI 1st ch", "SPI 2nd ch", "SPI 1ch w/o sys", "SPI 2ch w/o sys"}));
  EXPECT_EQ(Built(13, 7, Rec({{20, 0}})).ChoiceList(u"MAspType"), L({"ASK 3", "AVS 3", "AVC", "WBC12"}));
  EXPECT_EQ(Built(14, 7, Rec({{20, 0}})).ChoiceList(u"MAspType"), L({"ASK 3", "AVS 3", "WBC12"}));
  EXPECT_EQ(Built(13, 7, Rec({{2, 0x10}})).ChoiceList(u"MBitRate"), L({"16", "32", "48"}));
  EXPECT_EQ(Built(13, 7, Rec({{11, 3}})).ChoiceList(u"MBitRate"), L({"16", "32", "48"}));
  EXPECT_EQ(Built(13, 7, Rec({{11, 3}, {7, 1}})).ChoiceList(u"MBitRate"), L({"16", "32", "48", "64", "80"}));
  EXPECT_EQ(Built(8, 0, Rec({{11, 3}})).ChoiceList(u"MBitRate"), L({"256", "320"}));
  EXPECT_EQ(Built(12, 4, Rec({{11, 4}})).ChoiceList(u"MBitRate"), L({"512", "640"}));
  EXPECT_EQ(Built(12, 4, Rec({})).ChoiceList(u"MTransitions"), L({"None", "5", "10", "14"}));
  EXPECT_EQ(Built(13, 7, Rec({})).ChoiceList(u"MClockFreq"), L({"As Bit Rate", "64", "128"}));
  EXPECT_EQ(Built(12, 3, Rec({})).ChoiceList(u"MTransmitLevel").mid(18), L({"-37", "-27.5", "-12", "-11.5", "-11",
            "-10.5", "-10", "-9.5", "-9", "-8.5", "-8", "-7.5", "-7", "-6.5", "-6"}));
  EXPECT_EQ(Built(12, 0, Rec({})).ChoiceList(u"MTransmitLevel").size(), 48);
  EXPECT_EQ(Built(12, 8, Rec({})).ChoiceList(u"MTransmitLevel").size(), 39);
  EXPECT_EQ(Built(13, 8, Rec({})).ChoiceList(u"MTransmitLevel").last(), "-6");
  // The groups' list is their help text (HelpTexts); the slot pairs:
  const QStringList pairs = Built(13, 7, Rec({{7, 1}, {11, 3}})).ChoiceList(u"E1TSMap");
  EXPECT_EQ(std::tuple(pairs.size(), pairs.first() + u'|' + pairs.last()), std::tuple(15, QString("2, 3|30, 31")));
}

TEST(HelpTexts, ConditionalTextsAreTheSystemsOwn) {
  const std::tuple<int, int, RecordBytes, const char*, const char*> cases[] = {
      {12, 0, Rec({{11, 4}, {22, 0x64}}), "Interface", " Select Interface: P2 Sync; Ethernet; P2 Async; E1 + KSI"},
      {12, 0, Rec({{22, 0x60}}), "Interface", " Select Interface: P2 Sync; P2 Async; E1"},
      {5, 0, Rec({{23, 0}}), "Interface", " Select Interface: P2 Sync; Ethernet; P2 Async"},
      {13, 7, Rec({}), "MBitRateUpTo", " Bit Rate Up To: 48 Kbit/s"},
      {13, 7, Rec({{0, 0x80}}), "MBitRateUpTo", " Select Bit Rate Up To: 48; 64; 80 Kbit/s"},
      {15, 8, Rec({}), "MBitRate", " Select Line BitRate: 9.6; 14.4; 16.8; 19.2; 24.0; 5.6 Kbit/s"},
      {12, 2, Rec({{11, 3}}), "MBitRate", " Select Line BitRate: 512; 640 Kbit/s"},
      {14, 8, Rec({{20, 0}}), "MAspType", " Select ASP Type: ASK 1; AVS 1; ET6n; SPI... "},
      {14, 8, Rec({{20, 1}}), "MAspType", " Select ASP Type: ASK 1; AVS 1; ET6n; AVC; AVC-8 High; AVC-8 High; SPI..."},
      {12, 3, Rec({}), "MTransmitLevel", " Select Transmit Level: -46; -45.5; ...; -37.5; -37; -27.5; -12; -11.5; ...; -6.5; -6 dB"},
      {12, 7, Rec({}), "MTransitions", " Select Transitions: None; 1; 2; 3"},
      {8, 0, Rec({{1, 4}, {7, 4}, {11, 3}}), "E1TSMap", " Select E1 TS Mapping: 1...4; 9...12; 17...20; 25...28"},
      {13, 7, Rec({{7, 1}, {11, 3}}), "E1TSMap", " Select E1 TS Mapping: 2, 3; 4, 5; ... 28, 29; 30, 31"},
      {13, 7, Rec({}), "MClockFreq", " Select Clock Frequency: As Bit Rate; 64; 128 kHz"},
      {12, 0, Rec({}), "DTRSensibility", " Select P2Async DTR Sensibility: Normal; Ignore"},
      {12, 0, Rec({}), "ESpeed", " Select Speed: 100; 10 Mbit/s"},
  };
  for (const auto& [level, variant, record, key, text] : cases)
    EXPECT_EQ(Built(level, variant, record).HelpText(QString::fromLatin1(key)).toStdString(), text) << key << " " << level;
}

}  // namespace
}  // namespace rkvt::setup::test
