#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sim/Fault.h"
#include "sim/ImageWriter.h"
#include "sim/ModemModel.h"

namespace rkvt::sim {

// What r-kvt-ms-sim was asked to do.
struct SimOptions {
  bool help = false;
  // Serving a modem.
  std::string link;
  std::string preset = "gen2-e1";
  int baud = 0;
  bool remote = true;
  std::optional<std::string> interface;
  std::optional<int> quality;
  std::optional<int> lineRate;
  std::optional<int> cable;
  std::optional<std::string> line;
  std::optional<std::string> activity;
  std::string actor = "remote-terminal";
  bool setupHeld = false;
  std::optional<std::string> connect;
  // Another firmware or variant code than the preset's.
  std::optional<Identity> firmware;
  std::optional<std::uint8_t> variantCode;
  std::optional<ConfigRecord> record;
  // Faults on the answers to setup commands.
  std::vector<FaultRule> faults;
  std::optional<int> silentAfter;
  // A file of timed state changes (see ModemScript.h).
  std::string script;
  // Writing an image instead.
  std::string imagePath;
  ImageRecipe image;
  bool imageVersionGiven = false;
};

// The options, or the text of what is wrong with them.
std::variant<SimOptions, std::string> ParseSimOptions(const std::vector<std::string>& args);

// The local and remote modem the options describe, or what is wrong.
std::variant<ModemModel, std::string> BuildModel(const SimOptions& options);

std::string UsageText();

}  // namespace rkvt::sim
