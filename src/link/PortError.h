#pragma once

#include <stdexcept>
#include <string>

namespace rkvt {

// The one failure that is raised: the serial port itself failed. The worker
// catches it and turns it into result 17 with a message built from the code.
class PortError : public std::runtime_error {
 public:
  static constexpr int kOpen = 1;
  static constexpr int kWrite = 2;
  static constexpr int kRead = 3;

  PortError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

}  // namespace rkvt
