// check-image and update, run as the built program.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "CliProcess.h"
#include "Frame.h"
#include "ResultCodes.h"
#include "TestImage.h"

namespace rkvt::test {
namespace {

using sim::Identity;

QString ResultLine(std::uint8_t result) {
  const std::string_view meaning = ResultMeaning(result);
  return QStringLiteral("result %1: %2").arg(result).arg(QLatin1String(meaning.data(), meaning.size()));
}

// A valid image (3.15) whose bytes outside the checksummed areas are blank, so
// a transfer puts only a few hundred blocks on the line.
TestImage SmallImage() {
  TestImage image;
  std::vector<bool> covered(kImageBytes);
  for (Area area : {Area::A, Area::B, Area::C, Area::D})
    for (std::size_t i = AreaStart(area); i < image.ChecksumAt(area) + 2; ++i) covered[i] = true;
  for (std::size_t i = 0; i < kImageBytes; ++i)
    if (!covered[i]) image.Bytes()[i] = 0xFF;
  return image;
}

struct CheckCase {
  const char* name;
  std::function<bool(const QString& path)> makeFile;
  int level;
  const char* line;
  int exitCode;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class CliCheckImage : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CliCheckImage, PrintsTheCheckMessageExactly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("fw.vrk"));
  ASSERT_TRUE(GetParam().makeFile(path));
  const CliRun run = RunCli({"check-image", path, "--level", QString::number(GetParam().level)});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
  EXPECT_EQ(run.out, QString::fromLatin1(GetParam().line) + '\n');
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

bool WriteValid(const QString& path) { return TestImage().WriteTo(path); }

INSTANTIATE_TEST_SUITE_P(
    Files, CliCheckImage,
    ::testing::Values(
        CheckCase{"ValidForLevel12", WriteValid, 12, "OK 3.15", 0},
        CheckCase{"TooNewForUnidentified", WriteValid, 0, " SW higher 2.xx (3.15) can't be load into R-KVT-MS !", 1},
        CheckCase{"WrongMajorForLevel13", WriteValid, 13, " SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !", 1},
        CheckCase{"BrokenChecksum",
                  [](const QString& path) {
                    TestImage image;
                    image.Bytes()[AreaStart(Area::C) + 7] ^= 0x01;
                    return image.WriteTo(path);
                  },
                  12, " Error in file \"fw.vrk\" !", 1},
        CheckCase{"OneByteShort", [](const QString& path) { return TestImage().WriteTo(path, kImageBytes - 1); }, 12,
                  " File \"fw.vrk\" has not valid size!", 1},
        CheckCase{"Empty", [](const QString& path) { return TestImage().WriteTo(path, 0); }, 12,
                  " File \"fw.vrk\" is empty!", 1},
        CheckCase{"Missing", [](const QString&) { return true; }, 12, " File \"fw.vrk\" not exist!", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliCheckImage, LevelComesFromTheModemWithoutLevelOption) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fw.vrk"));
  ASSERT_TRUE(TestImage().WriteTo(path));
  CliOnPty bench(sim::ModemModel{Identity{.type = 6, .version = 0x40, .third = '2'}});
  const CliRun run = bench.Run({"check-image", path});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
  EXPECT_EQ(lines[2], QStringLiteral("level 13"));
  EXPECT_EQ(lines[3], QStringLiteral(" SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !"));
}

struct UpdateCase {
  const char* name;
  Identity identity;
  std::uint8_t result;
  sim::Framing framing;
};

void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.name; }

class CliUpdate : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(CliUpdate, LoadsTheImageInTheFormTheModemAnswered) {
  const UpdateCase& c = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fw.vrk"));
  TestImage image = SmallImage();
  ASSERT_TRUE(image.WriteTo(path));
  CliOnPty bench(sim::ModemModel{c.identity});

  const CliRun run = bench.Run({"update", path});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 6) << run.out.toStdString();
  EXPECT_EQ(lines[3], QStringLiteral("OK 3.15"));
  EXPECT_EQ(lines[4], ResultLine(c.result));
  EXPECT_TRUE(run.err.startsWith(QStringLiteral(" Erase software ...\n"))) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("\n Update software ...\n")));
  EXPECT_TRUE(run.err.contains(QStringLiteral("100 %  327680 / 327680 bytes")));

  std::vector<std::uint8_t> flash = bench.modem.Flash();
  ASSERT_EQ(flash.size(), kImageBytes);
  const auto mismatch = std::mismatch(flash.begin(), flash.end(), image.Bytes().begin());
  EXPECT_EQ(mismatch.first, flash.end()) << "flash differs at " << (mismatch.first - flash.begin());

  // The first write carries offset 0 and image bytes 0 to 23, in the modem's framing.
  const auto journal = bench.SettledJournal();
  const auto firstWrite = std::find_if(journal.begin(), journal.end(),
                                       [](const sim::JournalEntry& e) { return e.frame[2] == 0x2B; });
  ASSERT_NE(firstWrite, journal.end());
  EXPECT_EQ(firstWrite->framing, c.framing);
  EXPECT_EQ(firstWrite->frame[1], 0xD1);
  EXPECT_EQ(firstWrite->frame[3], 0x00);
  EXPECT_EQ(firstWrite->frame[4], 0x00);
  EXPECT_TRUE(std::equal(image.Bytes().begin(), image.Bytes().begin() + 24, firstWrite->frame.begin() + 5));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CliUpdate,
    ::testing::Values(UpdateCase{"ThroughWorkingFirmware", {.type = 6, .version = 0x31, .third = '5'}, 6,
                                 sim::Framing::Working},
                      UpdateCase{"ThroughLoader", {.type = 5, .version = 0x31, .third = '5', .loader = true}, 5,
                                 sim::Framing::Loader}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliUpdate, ImageTheModemCannotTakeIsRefusedBeforeAnyErase) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fw.vrk"));
  ASSERT_TRUE(SmallImage().WriteTo(path));
  CliOnPty bench(sim::ModemModel{Identity{.type = 6, .version = 0x40, .third = '2'}});
  const CliRun run = bench.Run({"update", path});
  EXPECT_EQ(run.exitCode, 1);
  const QStringList lines = run.OutLines();
  ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
  EXPECT_EQ(lines[3], QStringLiteral(" SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !"));
  EXPECT_EQ(bench.SettledJournal().size(), 1u) << "only the identification";
}

}  // namespace
}  // namespace rkvt::test
