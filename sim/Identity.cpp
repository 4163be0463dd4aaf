#include "sim/Identity.h"

namespace rkvt::sim {

int SoftwareLevel(const Identity& id) {
  const int major = id.version >> 4;
  const int minor = id.version & 0x0F;
  const int x = id.third - '0';
  switch (id.type) {
    case 1:
      if (major == 1 && minor <= 2) return 1;
      if (major == 1 && minor == 3) return 2;
      if (major == 1 && minor == 4) return 3;
      if (major == 2 && minor == 0) return x == 9 ? 5 : 4;
      if (major == 2 && minor == 1) return 5;
      if (major == 2 && minor == 2) return x < 6 ? 7 : 8;
      return 0;
    case 6:
      if (major == 3 && minor == 0) return 9;
      if (major == 3 && minor == 1) return x < 2 ? 10 : x <= 4 ? 11 : 12;
      if (major == 4) return 13;
      if (major == 5) return minor == 0 ? 14 : 15;
      if (major == 6) return 16;
      if (major == 7) return 17;
      return 0;
    case 2: return 21;
    case 5: return 22;
    case 9: return 23;
    default: return 0;
  }
}

int ModemVariant(const Identity& id) {
  if (id.type != 6) return 0;
  const int major = id.version >> 4;
  const int minor = id.version & 0x0F;
  const int code = id.variantCode & 7;
  if (major >= 5 && major <= 7) return code != 7 ? 0 : major == 5 ? 8 : major == 6 ? 7 : 9;
  if (code == 7) return major == 4 || (major == 3 && minor == 1 && id.third >= '5') ? 7 : 0;
  constexpr int kOlderCodes[] = {0, 1, 4, 0, 5, 2, 3};
  return kOlderCodes[code];
}

PageLayout LayoutOf(const Identity& identity) {
  return SoftwareLevel(identity) < 7 ? PageLayout::First : PageLayout::Second;
}

}  // namespace rkvt::sim
