#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ModemModel.h"

namespace rkvt::sim {

struct Preset {
  std::string name;
  std::string description;
  Identity identity;
};

const std::vector<Preset>& Presets();
std::optional<Preset> FindPreset(const std::string& name);

}  // namespace rkvt::sim
