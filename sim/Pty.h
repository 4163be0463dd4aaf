#pragma once

#include <string>

namespace rkvt::sim {

// A raw pseudo-terminal pair. The program under test opens the slave side by
// name like any serial port; the emulator serves the master side. The
// emulator keeps its own slave descriptor open so that the master never sees
// a hang-up between two opens of the port.
class Pty {
 public:
  Pty();
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }
  bool IsOpen() const { return master_ >= 0; }
  // Closes both sides: to the program this looks like a pulled cable.
  void Close();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace rkvt::sim
