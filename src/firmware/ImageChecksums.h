#pragma once

#include "firmware/ImageBuffer.h"

namespace rkvt {

// True when areas A, B, C and D all carry their own checksum. Stops at the first
// bad area; a length over its bound counts as bad before any byte is summed.
bool CheckImageChecksums(ImageBytes image);

}  // namespace rkvt
