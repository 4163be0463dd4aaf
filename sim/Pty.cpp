#include "sim/Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace rkvt::sim {

namespace {
[[noreturn]] void Throw(const char* what) {
  throw std::runtime_error(std::string("pty: ") + what + ": " + std::strerror(errno));
}
}  // namespace

Pty::Pty() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) Throw("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) Throw("grantpt/unlockpt");
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) Throw("ptsname");
  slavePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) Throw("open slave");
  termios tio{};
  if (tcgetattr(slave_, &tio) != 0) Throw("tcgetattr");
  cfmakeraw(&tio);
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  if (tcsetattr(slave_, TCSANOW, &tio) != 0) Throw("tcsetattr");
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

Pty::~Pty() { Close(); }

void Pty::Close() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

}  // namespace rkvt::sim
