#include "cli/WorkerRunner.h"

#include <QEventLoop>
#include <QTimer>

#include "cli/WorkerOutcome.h"

namespace rkvt::cli {

WorkerRunner::WorkerRunner(PortFactory makePort, LinkTimings timings, ProtocolHost& host,
                           std::function<bool()> stopRequested)
    : makePort_(std::move(makePort)), timings_(timings), host_(host), stopRequested_(std::move(stopRequested)) {}

std::uint8_t WorkerRunner::Run(std::uint8_t command, bool local, std::span<std::uint8_t> reply, int softwareLevel,
                               std::span<const std::uint8_t> image) {
  const WorkerCommand* info = FindWorkerCommand(command);
  const std::uint8_t subAddress = info != nullptr ? info->subAddress : 0;
  auto* worker = new TProtocol(command, subAddress, local, static_cast<std::uint16_t>(reply.size()), reply.data(),
                               {makePort_, timings_, &host_, softwareLevel, image});
  QEventLoop loop;
  // The worker frees itself after its completion; waiting for that (not just
  // for the completion) leaves nothing behind when the program ends.
  QObject::connect(worker, &QObject::destroyed, &loop, &QEventLoop::quit);
  QTimer stopWatch;
  QObject::connect(&stopWatch, &QTimer::timeout, worker, [this, worker] {
    if (stopRequested_()) worker->Terminate();
  });
  stopWatch.start(kStopPollMs);
  worker->Start();
  loop.exec();
  return reply[0];
}

}  // namespace rkvt::cli
