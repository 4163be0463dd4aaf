// r-kvt-ms-sim: an emulated modem on a pty, for trying the program without one.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "ModemEmulator.h"
#include "Presets.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: r-kvt-ms-sim [--preset NAME] [--baud N] [--no-remote] --link PATH\n"
               "Serves an emulated modem on a new pty, puts a symbolic link to it at PATH,\n"
               "prints PATH and serves until interrupted.\n"
               "  --preset NAME  the modem to emulate (default gen2-e1)\n"
               "  --baud N       pace replies as on a line of N baud (default: unpaced)\n"
               "  --no-remote    no modem at the far end of the line\n"
               "presets:\n");
  for (const auto& p : rkvt::sim::Presets()) std::fprintf(out, "  %-10s %s\n", p.name.c_str(), p.description.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string link;
  std::string presetName = "gen2-e1";
  int baud = 0;
  bool remote = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--link" && hasValue) link = argv[++i];
    else if (arg == "--preset" && hasValue) presetName = argv[++i];
    else if (arg == "--baud" && hasValue) baud = std::atoi(argv[++i]);
    else if (arg == "--no-remote") remote = false;
    else if (arg == "--help" || arg == "-h") { Usage(stdout); return 0; }
    else { Usage(stderr); return 64; }
  }
  const auto preset = rkvt::sim::FindPreset(presetName);
  if (link.empty() || !preset) {
    if (!preset) std::fprintf(stderr, "r-kvt-ms-sim: unknown preset %s\n", presetName.c_str());
    Usage(stderr);
    return 64;
  }

  rkvt::sim::ModemModel model(preset->identity);
  if (remote && !preset->identity.loader) model.RemoteIdentity() = preset->identity;
  rkvt::sim::ModemEmulator modem(model);
  modem.SetBaudRate(baud);

  std::error_code ec;
  std::filesystem::remove(link, ec);
  std::filesystem::create_symlink(modem.PortPath(), link, ec);
  if (ec) {
    std::fprintf(stderr, "r-kvt-ms-sim: cannot link %s: %s\n", link.c_str(), ec.message().c_str());
    return 1;
  }
  std::printf("%s\n", link.c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "r-kvt-ms-sim: %s (%s) on %s\n", preset->name.c_str(), preset->description.c_str(),
               modem.PortPath().c_str());

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!gStop && !modem.Vanished()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::filesystem::remove(link, ec);
  std::fprintf(stderr, "r-kvt-ms-sim: %zu frames received\n", modem.FrameCount());
  return 0;
}
