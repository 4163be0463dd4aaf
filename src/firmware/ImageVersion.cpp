#include "firmware/ImageVersion.h"

#include <algorithm>
#include <array>

namespace rkvt {
namespace {

constexpr std::size_t kAreaB = 0x20000;
constexpr std::array<std::uint8_t, 5> kMarker = {'$', 'V', 'E', 'R', ':'};
// "$VER:", kind, version byte, character.
constexpr std::size_t kMarkerSpan = kMarker.size() + 3;

// Even with the largest length field a marker starting at the last content byte
// stays inside the image, so the scan needs no further bounds.
static_assert(kAreaB + 2 + 0xFFFF - 1 + kMarkerSpan <= kImageSize);

bool AcceptedKind(std::uint8_t kind) { return kind == 1 || kind == 6 || kind == 7; }

QString VersionText(int major, int minor, std::uint8_t character) {
  // A control byte would cut or garble the window's text; the number still uses its code.
  QChar shown = QChar::fromLatin1(static_cast<char>(character));
  if (!shown.isPrint()) shown = u'?';
  return QString::number(major) + u'.' + QString::number(minor) + shown;
}

}  // namespace

ImageVersion FindImageVersion(ImageBytes image) {
  const std::size_t length = std::size_t{image[kAreaB]} << 8 | image[kAreaB + 1];
  const auto content = image.begin() + kAreaB + 2;
  // A match must start before the end of the content but may run past it.
  const auto searchEnd = content + length + (kMarker.size() - 1);

  // std::search rather than a hand-rolled skip: skipping behind a mismatching
  // byte would miss the marker in "$$VER:".
  for (auto from = content; from < searchEnd;) {
    const auto hit = std::search(from, searchEnd, kMarker.begin(), kMarker.end());
    if (hit == searchEnd) break;
    const auto kind = hit[kMarker.size()];
    if (!AcceptedKind(kind)) {
      from = hit + kMarker.size();  // the kind byte may itself start a marker
      continue;
    }
    ImageVersion version;
    version.found = true;
    version.kind = kind;
    version.major = hit[kMarker.size() + 1] >> 4;
    version.minor = hit[kMarker.size() + 1] & 0x0F;
    version.character = hit[kMarker.size() + 2];
    version.text = VersionText(version.major, version.minor, version.character);
    return version;
  }
  return {};
}

}  // namespace rkvt
