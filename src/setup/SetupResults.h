#pragma once

#include <cstdint>
#include <string_view>

namespace rkvt::setup {

// What follows the end of a setup command.
enum class SetupAfter {
  CloseWindow,      // the text goes to the main window
  StayOpen,
  RebuildWorking,   // the list again from the working copy
  RebuildReceived,  // the list again from the received copy
  RebuildReply,     // the list from the record in the reply (bytes 2-27)
  Nothing,
};

struct SetupResult {
  std::uint8_t result;
  std::string_view text;  // the message line's text
  bool error;             // beep, red text
  SetupAfter after;
};

// The results of exit setup, set new mode, load and save profile; nullptr for others.
const SetupResult* FindSetupResult(std::uint8_t result);

}  // namespace rkvt::setup
