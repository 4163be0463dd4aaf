#pragma once

namespace rkvt {

// Time-outs and attempts of the transaction routines. Tests shorten them.
struct LinkTimings {
  int acknowledgementMs = 3000;
  int answerMs = 181000;
  int attempts = 3;
};

}  // namespace rkvt
