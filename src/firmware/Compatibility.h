#pragma once

#include <cstdint>

#include <QString>

#include "firmware/ImageVersion.h"

namespace rkvt {

struct CompatibilityResult {
  bool ok = false;
  QString message;  // the refusal shown to the user; empty when ok
};

// Whether a modem at this software level takes an image of this version.
// A version that was not found is refused with an empty message at every level:
// such an image is reported as a corrupt file by whoever read it.
CompatibilityResult CheckCompatibility(std::int32_t softwareLevel, const ImageVersion& version);

}  // namespace rkvt
