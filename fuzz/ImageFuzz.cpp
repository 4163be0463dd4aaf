// Damaged firmware images: patches applied to a valid image, then the
// checks the update window runs. Some inputs also go through a real file
// of the length they ask for.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "firmware/Compatibility.h"
#include "FuzzCheck.h"
#include "firmware/ImageBuffer.h"
#include "firmware/ImageChecksums.h"
#include "firmware/ImageFile.h"
#include "firmware/ImageVersion.h"
#include "sim/FirmwareImage.h"
#include "sim/ImageWriter.h"

namespace {

using namespace rkvt;
using Image = sim::FirmwareImage;

// Valid images of each generation and the longest areas there may be.
const std::vector<std::uint8_t>& BaseImage(int which) {
  static const std::vector<std::uint8_t> images[] = {
      sim::BuildImage({}),
      sim::BuildImage({.major = 2, .minor = 2, .third = '5', .kind = 1}),
      sim::BuildImage({.major = 5, .minor = 0, .third = '2', .kind = 7}),
      sim::BuildImage({.areaA = Image::kAreaAMax, .areaB = Image::kAreaMax, .areaC = Image::kAreaMax, .areaD = Image::kAreaMax}),
  };
  return images[which % 4];
}

// Patches: three offset bytes, a length byte, that many bytes; repeated.
void ApplyPatches(std::span<const std::uint8_t> patches, std::span<std::uint8_t, kImageSize> image) {
  while (patches.size() >= 4) {
    const std::size_t offset = (std::size_t{patches[0]} << 16 | patches[1] << 8 | patches[2]) % kImageSize;
    const std::size_t length = std::min<std::size_t>({patches[3], patches.size() - 4, kImageSize - offset});
    std::copy_n(patches.begin() + 4, length, image.begin() + offset);
    patches = patches.subspan(4 + length);
  }
}

void CheckVersion(const ImageVersion& version) {
  FUZZ_CHECK(version.found != version.text.isEmpty());
  FUZZ_CHECK(!version.found || version.kind == 1 || version.kind == 6 || version.kind == 7);
}

void CheckCompatibilityResult(const CompatibilityResult& result, const ImageVersion& version) {
  FUZZ_CHECK(!result.ok || result.message.isEmpty());
  FUZZ_CHECK(result.ok || result.message.isEmpty() == !version.found);
  FUZZ_CHECK(!result.ok || version.found);
}

// The file road must agree with the checks made on the buffer.
void CheckThroughFile(const ImageBuffer& expected, std::size_t fileSize, int level, bool bufferOk,
                      const ImageVersion& version) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.vrk"));
  {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const auto bytes = expected.Bytes();
    std::vector<char> content(fileSize, '\xFF');
    std::memcpy(content.data(), bytes.data(), std::min(fileSize, kImageSize));
    FUZZ_CHECK(file.write(content.data(), static_cast<qint64>(content.size())) == static_cast<qint64>(fileSize));
  }
  ImageBuffer loaded;
  const ImageValidation result = ValidateImageFile(path, level, loaded);
  FUZZ_CHECK(result.ok == result.message.isEmpty());
  FUZZ_CHECK(result.ok == !result.version.isEmpty());
  if (fileSize < kImageSize) {
    FUZZ_CHECK(!result.ok);
    return;
  }
  FUZZ_CHECK(std::equal(loaded.Bytes().begin(), loaded.Bytes().end(), expected.Bytes().begin()));
  FUZZ_CHECK(result.ok == bufferOk);
  if (result.ok) FUZZ_CHECK(result.version == version.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int level = data[0] % 24;
  const std::uint8_t flags = data[1];
  static ImageBuffer image;
  const auto& base = BaseImage(flags >> 1 & 3);
  std::copy(base.begin(), base.end(), image.Bytes().begin());
  ApplyPatches(std::span(data + 2, size - 2), image.Bytes());

  const bool checksums = CheckImageChecksums(image.Bytes());
  const ImageVersion version = FindImageVersion(image.Bytes());
  CheckVersion(version);
  const CompatibilityResult compatible = CheckCompatibility(level, version);
  CheckCompatibilityResult(compatible, version);

  if (flags & 1) {
    // Bits 3-4 of the flags: the file one short, exact, one long or far longer.
    static constexpr std::size_t kSizes[] = {kImageSize - 1, kImageSize, kImageSize + 1, kImageSize + 4096};
    CheckThroughFile(image, kSizes[flags >> 3 & 3], level, checksums && version.found && compatible.ok, version);
  }
  return 0;
}
