#include "cli/WorkerRunner.h"

#include <QEventLoop>
#include <QTimer>

#include "cli/WorkerOutcome.h"

namespace rkvt::cli {

WorkerRunner::WorkerRunner(PortFactory makePort, LinkTimings timings, ProtocolHost& host,
                           std::function<int()> stopRequests)
    : makePort_(std::move(makePort)), timings_(timings), host_(host), stopRequests_(std::move(stopRequests)) {}

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
    if (StopRequested()) worker->Terminate();
  });
  stopWatch.start(kStopPollMs);
  worker->Start();
  loop.exec();
  return reply[0];
}

bool WorkerRunner::Wait(int ms) {
  QEventLoop loop;
  QTimer end;
  end.setSingleShot(true);
  QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
  QTimer stopWatch;
  QObject::connect(&stopWatch, &QTimer::timeout, &loop, [this, &loop] {
    if (StopRequested()) loop.quit();
  });
  end.start(ms);
  stopWatch.start(kStopPollMs);
  if (!StopRequested()) loop.exec();
  return !StopRequested();
}

}  // namespace rkvt::cli
