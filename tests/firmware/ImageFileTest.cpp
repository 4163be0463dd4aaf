#include <algorithm>
#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "firmware/ImageFile.h"
#include "sim/FirmwareImage.h"
#include "sim/ImageWriter.h"

namespace rkvt {
namespace {

using Area = sim::ImageArea;
using TestImage = sim::FirmwareImage;

class ImageFileCheck : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // A load must start from zeros, not from the last file's bytes.
    std::fill(buffer_.Bytes().begin(), buffer_.Bytes().end(), 0xAA);
  }
  QString Write(const TestImage& image, const QString& name, std::size_t size = TestImage::kSize) {
    EXPECT_TRUE(image.WriteTo(dir_.filePath(name).toStdString(), size));
    return dir_.filePath(name);
  }
  bool BufferZeroFrom(std::size_t from) const {
    const auto bytes = buffer_.Bytes();
    return std::all_of(bytes.begin() + std::ptrdiff_t(from), bytes.end(), [](std::uint8_t b) { return b == 0; });
  }
  // The outcome as "ok|message|version".
  std::string Check(const QString& path, int level = 12) {
    const ImageValidation r = ValidateImageFile(path, level, buffer_);
    return QString("%1|%2|%3").arg(r.ok).arg(r.message, r.version).toStdString();
  }
  static std::string Refused(const QString& message) { return "0|" + message.toStdString() + "|"; }

  QTemporaryDir dir_;
  ImageBuffer buffer_;
};

TEST_F(ImageFileCheck, MissingOrDirectoryRefused) {
  EXPECT_EQ(Check(dir_.filePath("sub dir/My Image.vrk")), Refused(R"( File "My Image.vrk" not exist!)"));
  EXPECT_TRUE(BufferZeroFrom(0));
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.vrk"));
  EXPECT_EQ(Check(dir_.filePath("folder.vrk")), Refused(R"( Can't open file "folder.vrk" !)"));
}

TEST_F(ImageFileCheck, UnreadableFileCantOpen) {
  const QString path = Write(TestImage(), "locked.vrk");
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions{}));
  if (QFile probe(path); probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "permissions do not stop this user";
  EXPECT_EQ(Check(path), Refused(R"( Can't open file "locked.vrk" !)"));
  EXPECT_TRUE(BufferZeroFrom(0));
}

// Only the first 327680 bytes count; a short file leaves zeros behind its bytes.
TEST_F(ImageFileCheck, SizeOnlyTheFirstImageBytesCount) {
  const std::pair<std::size_t, const char*> sizes[] = {{0, R"( File "image.vrk" is empty!)"},
                                                       {1, R"( File "image.vrk" has not valid size!)"},
                                                       {327679, R"( File "image.vrk" has not valid size!)"},
                                                       {327680, ""},
                                                       {327681, ""}};
  TestImage image;
  for (const auto& [size, message] : sizes) {
    EXPECT_EQ(Check(Write(image, "image.vrk", size)), *message ? Refused(message) : "1||3.15") << size;
    const auto read = std::ptrdiff_t(std::min(size, TestImage::kSize));
    EXPECT_TRUE(std::equal(image.Bytes().begin(), image.Bytes().begin() + read, buffer_.Bytes().begin())) << size;
    EXPECT_TRUE(BufferZeroFrom(read)) << size;
  }
}

// A damaged area, or no version marker (kind 2 is none), is an error in the file
// whatever the modem; a version the modem cannot take gives the rule's refusal.
TEST_F(ImageFileCheck, ContentExactMessageNoVersion) {
  const QString error = R"( Error in file "bad.vrk" !)";
  const std::tuple<int, int, std::uint8_t, std::uint8_t, char, QString> cases[] = {
      // level, damaged area (-1: none), marker kind, version byte, character
      {12, 0, 1, 0x31, '5', error}, {12, 1, 1, 0x31, '5', error}, {12, 2, 1, 0x31, '5', error},
      {12, 3, 1, 0x31, '5', error}, {0, -1, 2, 0x31, '5', error},  {22, -1, 2, 0x31, '5', error},
      {99, -1, 2, 0x31, '5', error},
      {12, -1, 7, 0x31, '6', " SW higher 3.15 (3.16) can't be load into R-KVT-MS-2 !"},
      {22, -1, 7, 0x70, '2', " SW 5.xx (7.02) can't be load into R-KVT-MS-2 !"}};
  for (const auto& [level, damaged, kind, versionByte, character, message] : cases) {
    SCOPED_TRACE(testing::Message() << "level " << level << " area " << damaged << " kind " << int(kind));
    TestImage image;
    image.PutMarker(TestImage::kMarkerOffset, kind, versionByte, character).SealAll();
    if (damaged >= 0) image.Bytes()[image.ChecksumAt(Area(damaged)) - 1] ^= 0x01;
    EXPECT_EQ(Check(Write(image, "bad.vrk"), level), Refused(message));
  }
}

// The emulator's images: a good one of the longest areas, and each break
// refused the way the check says.
TEST_F(ImageFileCheck, EmulatorImagesEachBreakRefusedAsNamed) {
  using sim::ImageBreak;
  const QString error = R"( Error in file "sim.vrk" !)";
  const std::pair<sim::ImageRecipe, QString> cases[] = {
      {{}, ""},
      {{.areaA = TestImage::kAreaAMax, .areaB = TestImage::kAreaMax, .areaC = TestImage::kAreaMax, .areaD = TestImage::kAreaMax}, ""},
      {{.spoil = ImageBreak::AreaA}, error}, {{.spoil = ImageBreak::AreaB}, error}, {{.spoil = ImageBreak::AreaC}, error},
      {{.spoil = ImageBreak::AreaD}, error}, {{.spoil = ImageBreak::Length}, error}, {{.spoil = ImageBreak::Marker}, error},
      {{.spoil = ImageBreak::Size}, R"( File "sim.vrk" has not valid size!)"}};
  for (const auto& [recipe, message] : cases) {
    const QString path = dir_.filePath("sim.vrk");
    ASSERT_TRUE(sim::WriteImageFile(path.toStdString(), sim::BuildImage(recipe)));
    EXPECT_EQ(Check(path), message.isEmpty() ? "1||3.15" : Refused(message)) << int(recipe.spoil);
  }
  EXPECT_THROW(sim::BuildImage({.areaC = TestImage::kAreaMax + 1}), std::invalid_argument);
}

// Every way out closes the file; checked on systems that list open descriptors.
TEST_F(ImageFileCheck, EveryOutcomeClosesTheFile) {
  const QDir fds("/proc/self/fd");
  if (!fds.exists()) GTEST_SKIP() << "no descriptor list here";
  TestImage image;
  const QStringList paths = {Write(image, "good.vrk"), Write(image, "short.vrk", 1000), Write(image, "empty.vrk", 0),
                             Write(TestImage().Put(10, {0}), "bad.vrk")};
  const auto openCount = [&] { return fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size(); };
  const auto before = openCount();
  for (int level : {0, 12}) {
    for (const QString& path : paths) ValidateImageFile(path, level, buffer_);
  }
  EXPECT_EQ(openCount(), before);
}

}  // namespace
}  // namespace rkvt
