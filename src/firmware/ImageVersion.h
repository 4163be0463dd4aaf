#pragma once

#include <QString>

#include "firmware/ImageBuffer.h"

namespace rkvt {

// The firmware version found in area B behind "$VER:" and an image kind byte.
struct ImageVersion {
  bool found = false;
  std::uint8_t kind = 0;
  int major = 0;               // high half of the version byte
  int minor = 0;               // low half: first minor digit
  std::uint8_t character = 0;  // second minor digit, a character ('0'..'9' in real images)
  QString text;                // "3.15"; empty when not found

  // 3.15 -> 315. Taken from the character code as it is, digit or not.
  int Number() const { return 100 * major + 10 * minor + (character - '0'); }
};

// The first "$VER:" that starts inside area B's content and is followed by kind
// 1, 6 or 7. The bytes behind the '$' may lie past the content.
ImageVersion FindImageVersion(ImageBytes image);

}  // namespace rkvt
