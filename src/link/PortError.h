#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace rkvt {

// The one failure that is raised: the serial port itself failed. The worker
// catches it and turns it into result 17 with a message built from the code.
class PortError : public std::runtime_error {
 public:
  static constexpr int kOpen = 1;
  static constexpr int kWrite = 2;
  static constexpr int kRead = 3;

  PortError(int code, const std::string& what, std::string reason = {})
      : std::runtime_error(what), code_(code), reason_(std::move(reason)) {}
  int Code() const { return code_; }
  // Which port, what the system answered and what to do; may be empty.
  const std::string& Reason() const { return reason_; }

 private:
  int code_;
  std::string reason_;
};

}  // namespace rkvt
