#include "Presets.h"

#include <algorithm>

namespace rkvt::sim {

const std::vector<Preset>& Presets() {
  static const std::vector<Preset> presets{
      {"gen1-p2", "first generation, firmware 2.25, P2 synchronous",
       {.reserved = 0, .type = 1, .version = 0x22, .third = '5', .variantCode = 0, .loader = false}},
      {"gen2-e1", "second generation, firmware 3.15, variant 0, E1 module",
       {.reserved = 0, .type = 6, .version = 0x31, .third = '5', .variantCode = 0, .loader = false}},
      {"gen2-v4", "second generation, firmware 4.02, variant code 7",
       {.reserved = 0, .type = 6, .version = 0x40, .third = '2', .variantCode = 7, .loader = false}},
      {"gen2-v5", "second generation, firmware 5.01, variant code 7",
       {.reserved = 0, .type = 6, .version = 0x50, .third = '1', .variantCode = 7, .loader = false}},
      {"loader", "second-generation modem in its loader (type 5)",
       {.reserved = 0, .type = 5, .version = 0x10, .third = '0', .variantCode = 0, .loader = true}},
  };
  return presets;
}

std::optional<Preset> FindPreset(const std::string& name) {
  const auto& all = Presets();
  const auto it = std::find_if(all.begin(), all.end(), [&](const Preset& p) { return p.name == name; });
  if (it == all.end()) return std::nullopt;
  return *it;
}

}  // namespace rkvt::sim
