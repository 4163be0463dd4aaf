#include "SetupTestSupport.h"

namespace rkvt::setup::test {
namespace {

TEST(ListRows, P2SyncAtLevel12HasTheExactTextsAfterTheValuePass) {
  const SetupModel m = Built(12, 0, Rec({{0, 0x20}, {1, 0x03}, {3, 0x08}, {15, 100}}));
  EXPECT_EQ(m.List().Rows(),
            L({R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)",
                  R"( Interface : <IND x="150"><A href="Interface">P2 Sync</A><HR>)",
                  R"( Modulation :</A>)",
                  R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">256</A>)",
                  R"(     Transmit Level, dB : <IND x="150"><A href="MTransmitLevel">-30</A>)",
                  R"(     Transitions : <IND x="150"><A href="MTransitions">None</A>)",
                  R"(     Connection : <IND x="150"><A href="MConnection">Long</A>)",
                  R"( Interleaver : <IND x="150"><A href="Interleaver">Low</A><HR>)",
                  R"( Port 2 :</A>)",
                  R"(     Sync BitRate, Kbit/s : <IND x="150">256)",
                  R"(     Clock Frequency, kHz : <IND x="150"><A href="MClockFreq">As Bit Rate</A>)",
                  R"(     Clock Mode : <IND x="150"><A href="SClockMode">External (CLK)</A>)"}));
  EXPECT_EQ(std::pair(m.Layout().windowHeight, m.Layout().listHeight), std::pair(450, 307));
}

TEST(ListRows, E1AtLevel8WithMultiplexerAndSignalling) {
  // Index 4 ("320"), E1 mode 2, CCS with group 1 and time-slot signalling "28".
  const SetupModel m =
      Built(8, 0, Rec({{1, 0x04}, {6, 0x08 | (1 << 4) | (2 << 6)}, {7, 0x04}, {11, 3}, {15, 150}, {22, 0x60}}));
  EXPECT_EQ(m.List().Rows(),
            L({R"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)",
                  R"( Interface : <IND x="150"><A href="Interface">E1</A><HR>)",
                  R"( Modulation :</A>)",
                  R"(     Bit Rate, Kbit/s : <IND x="150"><A href="MBitRate">320</A>)",
                  R"(     Transmit Level, dB : <IND x="150"><A href="MTransmitLevel">-3</A>)",
                  R"(     Transitions : <IND x="150"><A href="MTransitions">None</A>)",
                  R"( Interleaver : <IND x="150"><A href="Interleaver">Off</A><HR>)",
                  R"( E1 :</A>)",
                  R"(     Mode : <IND x="150"><A href="E1Mode">2</A>)",
                  R"(     Multiplexer :</A>)",
                  R"(       TS Mapping : <IND x="150"><A href="E1TSMap">9...12</A>)",
                  R"(       TS Signaling : <IND x="150"><A href="E1TSSig">28</A>)",
                  R"(     CRC4 : <IND x="150"><A href="E1Crc4">Disabled</A>)",
                  R"(     Jitter Attenuator : <IND x="150"><A href="E1JittAtt">Receiver</A>)",
                  R"(     Jitter Attenuatordepth, bit : <IND x="150"><A href="E1JittAttDepth">128</A>)",
                  R"(     RC Gain, dB : <IND x="150"><A href="E1RCGain">-12</A>)",
                  R"(     AIS : <IND x="150"><A href="E1AIS">Disabled</A>)",
                  R"(     RAI : <IND x="150"><A href="E1RAI">Disabled</A>)",
                  R"(     Signaling : <IND x="150"><A href="E1Sig">CCS</A>)"}));
}

struct KeysCase { const char* what; int level, variant; RecordBytes record; const char* keys; };

const KeysCase kKeyCases[] = {
    {"variant 8, Manual", 14, 8, Rec({{0, 0x80}}),
     "Interface MRateMode MBitRate MTransmitLevel MAspType MMSDefault Interleaver MClockFreq SClockMode"},
    {"variant 8, Manual, Slave", 14, 8, Rec({{0, 0x80}, {14, 0x10}}),
     "Interface MTransmitLevel MAspType MMSDefault Interleaver MClockFreq SClockMode"},
    {"P2 Async ignores Slave", 17, 9, Rec({{11, 2}, {14, 0x10}}),
     "Interface MRateMode MBitRateUpTo MTransmitLevel MAspType MMSDefault LLC CarrierShift ABitRate ADataBits "
     "AStopBits AParity AFlowControl DCDManagement CTSManagement DSRManagement DTRSensibility"},
    {"E1 at level 9: no multiplexer", 9, 0, Rec({{1, 3}, {11, 3}}),
     "Interface MBitRate MTransmitLevel MTransitions Interleaver E1Mode E1Crc4 E1JittAtt E1JittAttDepth E1RCGain "
     "E1AIS E1RAI E1Sig"},
    {"variant 7 at 13, clock 64: fixed ceiling", 13, 7, Rec({{2, 0x10}}),
     "Interface MRateMode MTransmitLevel MAspType MMSDefault Interleaver MClockFreq SClockMode"},
    {"variant 7 at 12", 12, 7, Rec({}),
     "Interface MBitRate MTransmitLevel MConnection MChannels Interleaver MClockFreq SClockMode"},
    {"variant 7 E1, two time slots", 13, 7, Rec({{6, 0x18}, {7, 1}, {11, 3}}),
     "Interface MRateMode MBitRateUpTo MTransmitLevel MAspType MMSDefault Interleaver E1TSNumber E1TSMap E1Crc4 "
     "E1JittAtt E1JittAttDepth E1RCGain E1AIS E1RAI"},
    {"E1 + KSI, variant 3 at 11", 11, 3, Rec({{1, 7}, {6, 0x08}, {11, 4}}),
     "Interface MBitRate MTransmitLevel MTransitions Interleaver E1Mode E1TSMap E1TSSig E1Crc4 E1JittAtt "
     "E1JittAttDepth E1RCGain E1AIS E1RAI E1Sig"},
    {"QLD-ENX100 at 15", 15, 0, Rec({{11, 1}, {22, 4 << 1}}),
     "Interface MBitRate MTransmitLevel LLC CarrierShift Interleaver EDuplex EFilter ESpeed"},
    {"QLD-ENX at 5", 5, 0, Rec({{11, 1}}),
     "Interface MBitRate MTransmitLevel MTransitions MConnection Interleaver EDuplex EFilter ECompression"},
    {"variant 9 at 15, E1", 15, 9, Rec({{11, 3}}),
     "Interface MRateMode MBitRateUpTo MTransmitLevel MAspType MMSDefault LLC CarrierShift Interleaver E1TSMap "
     "E1Crc4 E1JittAtt E1JittAttDepth E1RCGain E1AIS E1RAI"},
};

TEST(ListRows, WhichLinksEachModemShows) {
  for (const KeysCase& c : kKeyCases) EXPECT_EQ(LinkKeys(Built(c.level, c.variant, c.record)), c.keys) << c.what;
}

TEST(ListRows, FixedRowsAndValuesThatOnlyTheRowsCarry) {
  const auto has = [](const SetupModel& m, const char* row) { return m.List().Rows().contains(QLatin1String(row)); };
  EXPECT_TRUE(has(Built(13, 7, Rec({{2, 0x10}})), R"(     Bit Rate Up To, Kbit/s : <IND x="150">48)"));

  const SetupModel ksi = Built(11, 3, Rec({{1, 7}, {6, 0x08}, {11, 4}}));
  EXPECT_EQ(ksi.List().Rows().mid(ksi.List().Rows().size() - 2),
            L({" Port 2 :</A>", R"(     Sync BitRate, Kbit/s : <IND x="150">64)"}));
  EXPECT_EQ(Value(ksi, "E1TSMap"), "0, 1...6");
  EXPECT_TRUE(has(ksi, R"(     Repiters : <IND x="150"><A href="MTransitions">None</A>)"));
  EXPECT_EQ(std::pair(ksi.Layout().windowHeight, ksi.Layout().listHeight), std::pair(650, 497));

  const SetupModel async = Built(17, 9, Rec({{11, 2}, {5, 2}}));
  QStringList values;
  for (const char* key : {"DCDManagement", "DTRSensibility", "ADataBits", "ABitRate", "MBitRateUpTo"})
    values << Value(async, key);
  EXPECT_EQ(values, L({"Always active", "Normal", "8", "230.4", "33.6"}));
  EXPECT_TRUE(has(async, R"(     LLC :<IND x="150"><A href="LLC">Disabled</A>)"));

  // The sync rate row reads four bits for variant 8 at every level.
  EXPECT_TRUE(has(Built(14, 8, Rec({{1, 0x0C}})), R"(     Sync BitRate, Kbit/s : <IND x="150">9.6)"));
  EXPECT_TRUE(has(Built(10, 2, Rec({{1, 0x05}})), R"(     Sync BitRate, Kbit/s : <IND x="150">384)"));
}

TEST(ListProfiles, Byte21SelectsTheLoadAndSaveEntries) {
  const std::tuple<int, int, int> cases[] = {{1, 1, 2}, {2, 2, 2}, {4, 4, 4}, {5, 5, 5}, {0, 1, 2}, {6, 1, 2}};
  for (const auto& [active, load, save] : cases) {
    const ProfileSelection p = ProfilesFor(Rec({{21, active}}));
    EXPECT_EQ(std::pair(p.load, p.save), std::pair(load, save)) << "byte 21 = " << active;
  }
}

TEST(ListMarkup, PlainRowsKeepIndentColumnsAndNameTheKey) {
  EXPECT_EQ(PlainRow(uR"( Parameter : <IND x="140">|<IND x="150">Value :<HR>)"),
            QStringLiteral(" Parameter :") + QString(23, u' ') + QStringLiteral("| Value :"));
  EXPECT_EQ(PlainRow(uR"(     LLC :<IND x="150"><A href="LLC">Enabled</A>)"),
            QStringLiteral("     LLC :") + QString(27, u' ') + QStringLiteral("Enabled [LLC]"));
  EXPECT_EQ(PlainRow(u" Modulation :</A>"), QStringLiteral(" Modulation :"));
  EXPECT_EQ(PlainRow(uR"(     Jitter Attenuatordepth, bit : <IND x="150"><A href="E1JittAttDepth">32</A>)"),
            QStringLiteral("     Jitter Attenuatordepth, bit :   32 [E1JittAttDepth]"));

  ParamList list;
  EXPECT_TRUE(list.Add(QStringLiteral(R"(x<A href="K">a</A>)")));
  EXPECT_FALSE(list.Add(QStringLiteral(R"(y<A href="K">b</A>)")));  // a key is carried once
  EXPECT_FALSE(list.SetValue(u"Other", u"v"));
  EXPECT_TRUE(list.SetValue(u"K", u"longer text"));
  EXPECT_EQ(list.Rows(), QStringList{QStringLiteral(R"(x<A href="K">longer text</A>)")});
}

}  // namespace
}  // namespace rkvt::setup::test
