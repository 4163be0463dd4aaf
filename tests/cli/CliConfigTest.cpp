// config show|choices|set against the emulated modem: the record on the line,
// the list printed, the exit status.
#include <gtest/gtest.h>

#include "CliProcess.h"
#include "cli/ConfigArguments.h"

namespace rkvt::test {
namespace {

using sim::ConfigRecord;
using sim::Identity;

const Identity kKap{.type = 6, .version = 0x31, .third = '5'};                      // level 12, variant 0
const Identity kPln3k{.type = 6, .version = 0x40, .third = '2', .variantCode = 7};  // level 13, variant 7

std::vector<std::uint8_t> Bytes(const ConfigRecord& r) { return {r.begin(), r.end()}; }

struct ConfigBench : CliOnPty {
  ConfigBench(Identity identity, const std::function<void(ConfigRecord&)>& change = {})
      : CliOnPty(sim::ModemModel{identity}) {
    modem.Configure([&](sim::ModemModel& m) {
      if (change) change(m.Local().config.Record());
      before = m.Local().config.Record();
    });
  }
  ConfigRecord InForce() {
    ConfigRecord r{};
    modem.Examine([&](const sim::ModemModel& m) { r = m.Local().config.Record(); });
    return r;
  }
  // Identify, enter setup, the frames between, exit setup with the received record's bytes 16-19.
  std::vector<Frame> Road(std::vector<Frame> between = {}) const {
    std::vector<Frame> frames{Req(0xD1, 3), Req(0xD2, 1)};
    frames.insert(frames.end(), between.begin(), between.end());
    frames.push_back(Req(0xD2, 24, {before[16], before[17], before[18], before[19]}));
    return frames;
  }
  ConfigRecord before{};
};

TEST(CliConfigSet, TwoChangesGoOutInOneRecordAndTheModemKeepsIt) {
  ConfigBench bench(kKap);
  const CliRun run = bench.Run({"config", "set", "Interleaver", "High", "SClockMode", "External (CLK)"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  ConfigRecord expected = bench.before;
  expected[0] = (expected[0] & ~0x60) | 0x60;
  expected[3] = (expected[3] & ~0x38) | 0x08;
  EXPECT_EQ(bench.Sent(), bench.Road({Req(0xD2, 20, Bytes(expected))}));
  EXPECT_EQ(bench.InForce(), expected);
  EXPECT_TRUE(run.out.contains(" Interleaver :                       High [Interleaver]\n"));
  EXPECT_TRUE(run.out.contains("     Clock Mode :                    External (CLK) [SClockMode]\n"));
  EXPECT_TRUE(run.err.contains(" Set new mode OK.\n")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(" Exit modem setup OK.\n"));
}

TEST(CliConfigSet, ManualRateOnAClock64LineAlsoCapsTheRateInTheSameRecord) {
  ConfigBench bench(kPln3k, [](ConfigRecord& r) {
    r[1] = 0x44;  // ceiling 80, rate "80"
    r[2] = 0x10;  // clock 64
    r[11] = 0;
  });
  const CliRun run = bench.Run({"config", "set", "MRateMode", "Manual"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  ConfigRecord expected = bench.before;
  expected[0] |= 0x80;
  expected[1] = 0x42;
  EXPECT_EQ(bench.Sent(), bench.Road({Req(0xD2, 20, Bytes(expected))}));
  EXPECT_TRUE(run.out.contains("     Bit Rate, Kbit/s :              48 [MBitRate]\n")) << run.out.toStdString();
}

TEST(CliConfigSet, RefusedValuesSendNothingAndListTheChoices) {
  const std::pair<QStringList, const char*> cases[] = {
      {{"MBitRate", "999"}, "MBitRate: \"999\" is not a choice; its choices:\n  64\n  128\n  192\n  256\n  320\n"},
      {{"Interleaver", "High", "MConnection", "Medium"}, "MConnection flips between \"Long\" and \"Short\", not \"Medium\""},
      {{"E1Crc4", "Enabled"}, "E1Crc4: no row of this modem's list carries it"},
      {{"Interface", "E1 - change bitrate"}, "Interface: \"E1 - change bitrate\" names no interface"},
  };
  for (const auto& [args, err] : cases) {
    ConfigBench bench(kKap, [](ConfigRecord& r) { r[1] = 2; });  // "192": E1 does not fit
    const CliRun run = bench.Run(QStringList{"config", "set"} + args);
    EXPECT_EQ(run.exitCode, 1) << err;
    EXPECT_TRUE(run.err.contains(QLatin1String(err)) && run.err.contains("nothing was sent")) << run.err.toStdString();
    EXPECT_EQ(bench.Sent(), bench.Road()) << err;
    EXPECT_EQ(bench.InForce(), bench.before);
  }
}

TEST(CliConfigSet, ARefusedSetNewModeShowsTheReceivedRecordAgain) {
  ConfigBench bench(kKap);
  bench.modem.AddFault({.fault = sim::Fault::WrongResponse, .code = 20, .reply = sim::ReplyKind::Answer});
  const CliRun run = bench.Run({"config", "set", "Interleaver", "Off"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(" Set new mode error!\n")) << run.err.toStdString();
  EXPECT_TRUE(run.out.contains("Low [Interleaver]"));
  EXPECT_EQ(bench.Sent().back(), bench.Road().back()) << "setup is left all the same";
}

TEST(CliConfigShow, RowsChoicesAndHelpAsTheWindowHasThem) {
  ConfigBench bench(kKap, [](ConfigRecord& r) { r[11] = 3; });
  const CliRun markup = bench.Run({"config", "show", "--markup"});
  EXPECT_EQ(markup.exitCode, 0);
  EXPECT_EQ(markup.OutLines().value(1), R"( Interface : <IND x="150"><A href="Interface">E1</A><HR>)");
  EXPECT_EQ(markup.OutLines().value(10), R"(       TS Mapping : <IND x="150"><A href="E1TSMap">0, 1...2</A>)");

  EXPECT_EQ(bench.Run({"config", "choices", "E1JittAtt"}).out,
            "Disabled\nReceiver\nTransmitter\nhelp: Select E1 Jitter Attenuator: Disabled; Receiver; Transmitter\n");
  EXPECT_EQ(bench.Run({"config", "choices", "E1Sig"}).out,
            "flips between \"CAS\" and \"CCS\"\nhelp: Select E1 Signaling: CAS; CCS\n");
  EXPECT_EQ(bench.Run({"config", "choices", "Interface"}).out,
            "P2 Sync\nEthernet\nP2 Async\nE1\nE1 + KSI\nhelp: Select Interface: P2 Sync; Ethernet; P2 Async; E1\n");
  EXPECT_EQ(bench.InForce(), bench.before);
}

TEST(CliConfigArguments, UsageMistakesAreRefusedBeforeTheModemIsAsked) {
  const std::pair<QStringList, const char*> bad[] = {
      {{"config"}, "config needs show"},
      {{"config", "set", "MBitRate"}, "KEY VALUE pairs"},
      {{"config", "set", "Bitrate", "64"}, "unknown key \"Bitrate\""},
      {{"config", "choices"}, "exactly one KEY"},
      {{"config", "show", "--markup", "x"}, "unexpected argument"},
      {{"config", "choices", "LLC", "--markup"}, "--markup belongs to config show"},
      {{"config", "load"}, "unknown config action"},
      {{"config", "show", "--bogus"}, "unknown option --bogus"},
  };
  for (const auto& [args, why] : bad) {
    const auto parsed = cli::ParseConfigArguments(QStringList{"--port", "p"} + args);
    EXPECT_EQ(parsed.kind, cli::ParsedConfig::Kind::Usage) << why;
    EXPECT_TRUE(parsed.error.contains(QLatin1String(why))) << parsed.error.toStdString();
  }
  // A negative level is a value, not an option.
  const auto level = cli::ParseConfigArguments({"config", "set", "MTransmitLevel", "-30", "--port", "p"});
  ASSERT_EQ(level.kind, cli::ParsedConfig::Kind::Run) << level.error.toStdString();
  EXPECT_EQ(level.options.changes.front().second, "-30");
  EXPECT_TRUE(cli::IsConfigCommand({"--port", "config", "config"}));
  EXPECT_FALSE(cli::IsConfigCommand({"--port", "config", "identify"}));
}

}  // namespace
}  // namespace rkvt::test
