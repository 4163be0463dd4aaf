#include "link/ResultCodes.h"

#include <array>

namespace rkvt {

namespace {
constexpr std::array<std::string_view, 56> kMeanings{
    "none",
    "identified: the local modem runs its loader",
    "identified: the modem runs its working firmware",
    "identify failed",
    "identify stopped",
    "update through the loader done",
    "update through the working firmware done",
    "update failed: an erase step was not confirmed",
    "update failed: a block write was not confirmed",
    "update stopped",
    "reset through the loader done",
    "reset, first step done",
    "reset failed",
    "reset stopped",
    "reset, second step done",
    "reset, second step failed",
    "reset, second step stopped",
    "serial port error",
    "setup entered",
    "setup refused: the modem is held",
    "enter setup failed",
    "enter setup stopped",
    "setup left",
    "exit setup failed",
    "exit setup stopped",
    "statistics read",
    "get statistics failed",
    "get statistics stopped",
    "statistics cleared",
    "reset statistics failed",
    "reset statistics stopped",
    "new mode set",
    "set new mode failed",
    "set new mode stopped",
    "profile loaded",
    "load profile failed",
    "load profile stopped",
    "profile saved",
    "save profile failed",
    "save profile stopped",
    "loop connected",
    "connect loop stopped",
    "connect loop: no answer",
    "connect loop: answered 0x32",
    "connect loop refused: the modem is busy",
    "connect loop failed",
    "loop disconnected",
    "disconnect loop stopped",
    "disconnect loop: no answer",
    "disconnect loop failed",
    "loop statistics read",
    "get loop statistics failed",
    "get loop statistics stopped",
    "loop statistics cleared",
    "reset loop statistics failed",
    "reset loop statistics stopped",
};
}  // namespace

std::string_view ResultMeaning(std::uint8_t code) {
  return code < kMeanings.size() ? kMeanings[code] : std::string_view("unknown result");
}

}  // namespace rkvt
