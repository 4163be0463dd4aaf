#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ImageFile.h"
#include "TestImage.h"

namespace rkvt {
namespace {

using test::Area;
using test::TestImage;

class ImageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // A load must start from zeros, not from the last file's bytes.
    std::fill(buffer_.Bytes().begin(), buffer_.Bytes().end(), 0xAA);
  }

  QString PathOf(const QString& name) const { return dir_.filePath(name); }

  QString Write(const TestImage& image, const QString& name = "image.vrk", std::size_t size = test::kImageBytes) {
    const QString path = PathOf(name);
    EXPECT_TRUE(image.WriteTo(path, size));
    return path;
  }

  bool BufferZeroFrom(std::size_t from) const {
    const auto bytes = buffer_.Bytes();
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                       [](std::uint8_t b) { return b == 0; });
  }

  QTemporaryDir dir_;
  ImageBuffer buffer_;
};

TEST_F(ImageFileTest, SoundImage_OkWithVersion) {
  TestImage image;
  const ImageValidation result = ValidateImageFile(Write(image), 12, buffer_);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.message, QString());
  EXPECT_EQ(result.version, QString("3.15"));
  EXPECT_TRUE(std::equal(buffer_.Bytes().begin(), buffer_.Bytes().end(), image.Bytes().begin()));
}

TEST_F(ImageFileTest, MissingFile_NotExist) {
  const ImageValidation result = ValidateImageFile(PathOf("sub dir/My Image.vrk"), 12, buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(R"( File "My Image.vrk" not exist!)"));
  EXPECT_EQ(result.version, QString());
  EXPECT_TRUE(BufferZeroFrom(0));
}

TEST_F(ImageFileTest, UnreadableFile_CantOpen) {
  const QString path = Write(TestImage(), "locked.vrk");
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions{}));
  if (QFile probe(path); probe.open(QIODevice::ReadOnly))
    GTEST_SKIP() << "permissions do not stop this user from reading";

  const ImageValidation result = ValidateImageFile(path, 12, buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(R"( Can't open file "locked.vrk" !)"));
  EXPECT_TRUE(BufferZeroFrom(0));
}

TEST_F(ImageFileTest, Directory_CantOpen) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.vrk"));
  const ImageValidation result = ValidateImageFile(PathOf("folder.vrk"), 12, buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(R"( Can't open file "folder.vrk" !)"));
}

struct SizeCase {
  std::size_t size;
  const char* message;  // "" = accepted
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.size << " bytes"; }

class ImageFileSize : public ImageFileTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(ImageFileSize, OnlyTheFirstImageBytesCount) {
  const auto [size, message] = GetParam();
  TestImage image;
  const ImageValidation result = ValidateImageFile(Write(image, "image.vrk", size), 12, buffer_);

  EXPECT_EQ(result.ok, *message == '\0');
  EXPECT_EQ(result.message, QString(message));
  EXPECT_EQ(result.version, result.ok ? QString("3.15") : QString());
  const std::size_t read = std::min(size, test::kImageBytes);
  EXPECT_TRUE(std::equal(image.Bytes().begin(), image.Bytes().begin() + static_cast<std::ptrdiff_t>(read),
                         buffer_.Bytes().begin()));
  EXPECT_TRUE(BufferZeroFrom(read));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImageFileSize,
                         testing::Values(SizeCase{0, R"( File "image.vrk" is empty!)"},
                                         SizeCase{1, R"( File "image.vrk" has not valid size!)"},
                                         SizeCase{0x20000, R"( File "image.vrk" has not valid size!)"},
                                         SizeCase{327679, R"( File "image.vrk" has not valid size!)"},
                                         SizeCase{327680, ""}, SizeCase{327681, ""}, SizeCase{400000, ""}));

class ImageFileDamagedArea : public ImageFileTest, public testing::WithParamInterface<Area> {};

TEST_P(ImageFileDamagedArea, ErrorInFile) {
  TestImage image;
  image.Bytes()[image.ChecksumAt(GetParam()) - 1] ^= 0x01;
  const ImageValidation result = ValidateImageFile(Write(image, "bad.vrk"), 12, buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(R"( Error in file "bad.vrk" !)"));
  EXPECT_EQ(result.version, QString());
}

INSTANTIATE_TEST_SUITE_P(Areas, ImageFileDamagedArea, testing::Values(Area::A, Area::B, Area::C, Area::D));

class ImageFileNoVersion : public ImageFileTest, public testing::WithParamInterface<int> {};

TEST_P(ImageFileNoVersion, ErrorInFileAtEveryLevel) {
  TestImage image;
  image.RemoveMarker().PutMarker(0x40, 2, 0x31, '5').SealAll();  // a kind 2 marker is no version
  const ImageValidation result = ValidateImageFile(Write(image, "plain.vrk"), GetParam(), buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(R"( Error in file "plain.vrk" !)"));
  EXPECT_EQ(result.version, QString());
}

INSTANTIATE_TEST_SUITE_P(Levels, ImageFileNoVersion, testing::Values(0, 12, 22, 99));

struct MismatchCase {
  int level;
  std::uint8_t versionByte;
  char character;
  const char* message;
};

void PrintTo(const MismatchCase& c, std::ostream* os) { *os << "level " << c.level; }

class ImageFileMismatch : public ImageFileTest, public testing::WithParamInterface<MismatchCase> {};

TEST_P(ImageFileMismatch, RuleMessageAndNoVersion) {
  const MismatchCase c = GetParam();
  TestImage image;
  image.PutMarker(TestImage::kMarkerOffset, 7, c.versionByte, static_cast<std::uint8_t>(c.character)).SealAll();
  const ImageValidation result = ValidateImageFile(Write(image), c.level, buffer_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, QString(c.message));
  EXPECT_EQ(result.version, QString());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ImageFileMismatch,
    testing::Values(MismatchCase{0, 0x30, '0', " SW higher 2.xx (3.00) can't be load into R-KVT-MS !"},
                    MismatchCase{12, 0x31, '6', " SW higher 3.15 (3.16) can't be load into R-KVT-MS-2 !"},
                    MismatchCase{22, 0x70, '2', " SW 5.xx (7.02) can't be load into R-KVT-MS-2 !"}));

// Every way out closes the file; checked on systems that list open descriptors.
TEST_F(ImageFileTest, EveryOutcome_ClosesTheFile) {
  const QDir fds("/proc/self/fd");
  if (!fds.exists()) GTEST_SKIP() << "no descriptor list here";
  TestImage image;
  const QString good = Write(image, "good.vrk");
  const QString shortFile = Write(image, "short.vrk", 1000);
  const QString empty = Write(image, "empty.vrk", 0);
  TestImage damaged;
  damaged.Bytes()[10] ^= 1;
  const QString bad = Write(damaged, "bad.vrk");

  const auto openCount = [&] { return fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size(); };
  const auto before = openCount();
  for (int level : {0, 12}) {
    for (const QString& path : {good, shortFile, empty, bad}) ValidateImageFile(path, level, buffer_);
  }
  EXPECT_EQ(openCount(), before);
}

}  // namespace
}  // namespace rkvt
