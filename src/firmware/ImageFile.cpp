#include "firmware/ImageFile.h"

#include <QFile>
#include <QFileInfo>

#include "firmware/Compatibility.h"
#include "firmware/ImageChecksums.h"
#include "firmware/ImageVersion.h"

namespace rkvt {
namespace {

ImageValidation Failure(const QString& message) { return {false, message, {}}; }

// Straight into the buffer. One request for the whole image, repeated only when
// the system hands back less than is there (pipes, network shares).
// Returns the bytes read, or -1 if the file refused to be read at all.
qint64 ReadImage(QFile& file, std::span<std::uint8_t, kImageSize> into) {
  qint64 total = 0;
  while (total < qint64{kImageSize}) {
    const qint64 got = file.read(reinterpret_cast<char*>(into.data()) + total, qint64{kImageSize} - total);
    if (got < 0) return total > 0 ? total : -1;
    if (got == 0) break;
    total += got;
  }
  return total;
}

}  // namespace

ImageValidation ValidateImageFile(const QString& fullPath, std::int32_t softwareLevel, ImageBuffer& buffer) {
  buffer.Clear();
  const QString quotedName = u'"' + QFileInfo(fullPath).fileName() + u'"';

  if (!QFileInfo::exists(fullPath)) return Failure(" File " + quotedName + " not exist!");

  qint64 got = 0;
  {
    // Unbuffered: no copy of the image inside QFile. Closed when the block ends.
    QFile file(fullPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
      return Failure(" Can't open file " + quotedName + " !");
    got = ReadImage(file, buffer.Bytes());
  }
  if (got < 0) return Failure(" Can't open file " + quotedName + " !");
  if (got == 0) return Failure(" File " + quotedName + " is empty!");
  if (got < qint64{kImageSize}) return Failure(" File " + quotedName + " has not valid size!");

  const QString corrupt = " Error in file " + quotedName + " !";
  if (!CheckImageChecksums(buffer.Bytes())) return Failure(corrupt);

  const ImageVersion version = FindImageVersion(buffer.Bytes());
  // Without a version there is nothing to match the modem against; the file is
  // treated as damaged whatever the modem.
  if (!version.found) return Failure(corrupt);

  const CompatibilityResult compatible = CheckCompatibility(softwareLevel, version);
  if (!compatible.ok) return Failure(compatible.message);
  return {true, {}, version.text};
}

}  // namespace rkvt
