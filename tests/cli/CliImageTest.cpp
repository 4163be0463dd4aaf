// check-image and update, run as the built program.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CliProcess.h"
#include "sim/FirmwareImage.h"

namespace rkvt::test {
namespace {

using sim::Identity;
using Image = sim::FirmwareImage;
constexpr long kImageBytes = long(Image::kSize);

const Identity kLevel13{.type = 6, .version = 0x40, .third = '2'};
constexpr const char* kWrongMajor13 = " SW 3.15 can't be load into R-KVT-MS-2-PLN 3ch !";

class CliImage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QTemporaryDir dir_;
  const QString path_ = dir_.filePath("fw.vrk");
};

TEST_F(CliImage, CheckImagePrintsTheCheckMessageExactly) {
  const std::tuple<long, bool, int, const char*, int> cases[] = {
      // bytes written (-1: no file), area C damaged, --level, the one line printed, exit status
      {kImageBytes, false, 12, "OK 3.15", 0},
      {kImageBytes, false, 0, " SW higher 2.xx (3.15) can't be load into R-KVT-MS !", 1},
      {kImageBytes, false, 13, kWrongMajor13, 1},
      {kImageBytes, true, 12, " Error in file \"fw.vrk\" !", 1},
      {kImageBytes - 1, false, 12, " File \"fw.vrk\" has not valid size!", 1},
      {0, false, 12, " File \"fw.vrk\" is empty!", 1},
      {-1, false, 12, " File \"fw.vrk\" not exist!", 1}};
  for (const auto& [size, damaged, level, line, exitCode] : cases) {
    QFile::remove(path_);
    Image image;
    if (damaged) image.Bytes()[Image::AreaStart(sim::ImageArea::C) + 7] ^= 0x01;
    ASSERT_TRUE(size < 0 || image.WriteTo(path_.toStdString(), std::size_t(size)));
    const CliRun run = RunCli({"check-image", path_, "--level", QString::number(level)});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, exitCode) << line;
    EXPECT_EQ(run.out, QString::fromLatin1(line) + '\n');
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  }
}

// Without --level the level comes from the modem; update refuses before any erase.
TEST_F(CliImage, LevelFromTheModemRefusedWithoutErase) {
  ASSERT_TRUE(Image().WriteTo(path_.toStdString()));
  CliOnPty bench(sim::ModemModel{kLevel13});
  for (const char* command : {"check-image", "update"}) {
    const CliRun run = bench.Run({command, path_});
    EXPECT_EQ(run.exitCode, 1) << command;
    const QStringList lines = run.OutLines();
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("level 13"));
    EXPECT_EQ(lines[3], QString(kWrongMajor13));
  }
  EXPECT_EQ(bench.SettledJournal().size(), 2u) << "only the two identifications";
}

struct UpdateCase {
  const char* name;
  Identity identity;
  std::uint8_t result;
  sim::Framing framing;
};

class CliUpdate : public CliImage, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(CliUpdate, LoadsTheImageInTheFormTheModemAnswered) {
  const UpdateCase& c = GetParam();
  // Bytes outside the checksummed areas are blank, so only a few hundred blocks go on the line.
  Image image;
  ASSERT_TRUE(image.BlankOutsideAreas().WriteTo(path_.toStdString()));
  CliOnPty bench(sim::ModemModel{c.identity});

  const CliRun run = bench.Run({"update", path_});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
  ASSERT_EQ(run.OutLines().size(), 6) << run.out.toStdString();
  EXPECT_EQ(run.OutLines().mid(3, 2), QStringList({"OK 3.15", R(c.result)}));
  EXPECT_TRUE(run.err.startsWith(" Erase software ...\n")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("\n Update software ...\n"));
  EXPECT_TRUE(run.err.contains("100 %  327680 / 327680 bytes"));
  EXPECT_EQ(bench.modem.Flash(), image.Bytes());

  // The first write carries offset 0 and image bytes 0 to 23, in the modem's framing.
  const auto journal = bench.SettledJournal();
  const auto first = std::find_if(journal.begin(), journal.end(), [](const auto& e) { return e.frame[2] == 0x2B; });
  ASSERT_NE(first, journal.end());
  EXPECT_EQ(first->framing, c.framing);
  std::vector<std::uint8_t> data(26, 0x00);
  std::copy_n(image.Bytes().begin(), 24, data.begin() + 2);
  EXPECT_EQ(first->frame, Req(0xD1, 0x2B, data));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CliUpdate,
    ::testing::Values(UpdateCase{"ThroughWorkingFirmware", {.type = 6, .version = 0x31, .third = '5'}, 6,
                                 sim::Framing::Working},
                      UpdateCase{"ThroughLoader", {.type = 5, .version = 0x31, .third = '5', .loader = true}, 5,
                                 sim::Framing::Loader}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rkvt::test
