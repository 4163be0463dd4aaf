// r-kvt-ms-sim: an emulated modem on a pty, for trying the program without one.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <variant>

#include "sim/FirmwareImage.h"
#include "sim/ImageWriter.h"
#include "sim/ModemEmulator.h"
#include "sim/ModemScript.h"
#include "sim/SimOptions.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

int WriteImage(const rkvt::sim::SimOptions& options) {
  if (!rkvt::sim::WriteImageFile(options.imagePath, rkvt::sim::BuildImage(options.image))) {
    std::fprintf(stderr, "r-kvt-ms-sim: cannot write %s\n", options.imagePath.c_str());
    return 1;
  }
  std::printf("%s\n", options.imagePath.c_str());
  return 0;
}

int Serve(const rkvt::sim::SimOptions& options, rkvt::sim::ModemModel model,
          const std::vector<rkvt::sim::ScriptStep>& script) {
  rkvt::sim::ModemEmulator modem(std::move(model));
  modem.SetBaudRate(options.baud);
  for (const rkvt::sim::FaultRule& rule : options.faults) modem.AddFault(rule);

  std::error_code ec;
  std::filesystem::remove(options.link, ec);
  std::filesystem::create_symlink(modem.PortPath(), options.link, ec);
  if (ec) {
    std::fprintf(stderr, "r-kvt-ms-sim: cannot link %s: %s\n", options.link.c_str(), ec.message().c_str());
    return 1;
  }
  std::printf("%s\n", options.link.c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "r-kvt-ms-sim: %s on %s\n", options.preset.c_str(), modem.PortPath().c_str());

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  const auto started = std::chrono::steady_clock::now();
  std::size_t next = 0;
  while (!gStop && !modem.Vanished()) {
    const auto elapsed = std::chrono::steady_clock::now() - started;
    for (; next < script.size() && std::chrono::seconds(script[next].atSeconds) <= elapsed; ++next) {
      const rkvt::sim::ScriptStep& step = script[next];
      bool shown = true;
      modem.Configure([&](rkvt::sim::ModemModel& m) { shown = rkvt::sim::ApplyStep(m, step); });
      std::fprintf(stderr, "r-kvt-ms-sim: %d s: %s%s\n", step.atSeconds, step.text.c_str(),
                   shown ? "" : " (interface not shown on this modem's pages)");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::filesystem::remove(options.link, ec);
  std::fprintf(stderr, "r-kvt-ms-sim: %zu frames received\n", modem.FrameCount());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = rkvt::sim::ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "r-kvt-ms-sim: %s (see --help)\n", error->c_str());
    return 64;
  }
  const auto& options = std::get<rkvt::sim::SimOptions>(parsed);
  if (options.help) {
    std::fputs(rkvt::sim::UsageText().c_str(), stdout);
    return 0;
  }
  if (!options.imagePath.empty()) return WriteImage(options);
  auto model = rkvt::sim::BuildModel(options);
  if (const auto* error = std::get_if<std::string>(&model)) {
    std::fprintf(stderr, "r-kvt-ms-sim: %s\n", error->c_str());
    return 64;
  }
  std::vector<rkvt::sim::ScriptStep> script;
  if (!options.script.empty()) {
    std::ifstream file(options.script);
    auto parsed = rkvt::sim::ParseScript(file);
    if (!file.is_open() || std::holds_alternative<std::string>(parsed)) {
      std::fprintf(stderr, "r-kvt-ms-sim: %s: %s\n", options.script.c_str(),
                   file.is_open() ? std::get<std::string>(parsed).c_str() : "cannot read");
      return 64;
    }
    script = std::move(std::get<std::vector<rkvt::sim::ScriptStep>>(parsed));
  }
  return Serve(options, std::move(std::get<rkvt::sim::ModemModel>(model)), script);
}
