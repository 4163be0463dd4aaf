#pragma once

#include <cstdint>
#include <string_view>

namespace rkvt {

// What a worker's result code means, in a few words (for the command line and logs).
std::string_view ResultMeaning(std::uint8_t code);

}  // namespace rkvt
