#include "link/TProtocol.h"

#include <QMetaObject>

#include "link/Commands.h"
#include "link/FirmwareTransfer.h"
#include "link/Frame.h"
#include "link/LinkRoutines.h"
#include "link/PortError.h"

namespace rkvt {

TProtocol::TProtocol(std::uint8_t command, std::uint8_t subAddress, bool local,
                     std::uint16_t replySize, std::uint8_t* reply, ProtocolSetup setup)
    : local_(local), setup_(std::move(setup)) {
  const CommandInfo* info = FindCommand(command);
  // A command that would not fit the caller's buffer (or has no whole image to
  // send) is treated like a zero size: it must never write past the end.
  const bool fits = info == nullptr || (replySize >= info->replyNeed &&
                                        (!info->needsImage || setup_.image.size() == kImageSize));
  if (reply != nullptr && command != 0 && replySize != 0 && fits) {
    address_ = RequestAddress(local, subAddress);
    command_ = command;
    replySize_ = replySize;
    reply_ = reply;
  }
  connect(this, &QThread::finished, this, &TProtocol::Finished, Qt::QueuedConnection);
}

TProtocol::~TProtocol() = default;

void TProtocol::Start() { start(); }

void TProtocol::Finished() {
  wait();  // the body has returned; let the thread wind down completely
  // Pairs with the release at the end of run(): everything the worker wrote
  // (the reply above all) is visible here, also to ThreadSanitizer, which
  // cannot see inside Qt's own synchronisation.
  bodyReturned_.load(std::memory_order_acquire);
  if (OnTerminate) OnTerminate(*this);
  deleteLater();
}

QString TProtocol::PortErrorText(int code) {
  switch (code) {
    case PortError::kOpen: return QStringLiteral(" Can't open COM-port!");
    case PortError::kWrite: return QStringLiteral(" Can't write COM-port!");
    case PortError::kRead: return QStringLiteral(" Can't read COM-port!");
    default: return QStringLiteral(" Error (%1) COM-port!").arg(code);
  }
}

QString TProtocol::FaultDescription() const {
  if (fault_.kind == FaultKind::None) return {};
  if (fault_.kind == FaultKind::PortError && !portReason_.isEmpty()) return FaultText(fault_) + QStringLiteral(": ") + portReason_;
  return FaultText(fault_);
}

void TProtocol::run() {
  Execute();
  bodyReturned_.store(true, std::memory_order_release);
}

void TProtocol::Execute() {
  const CommandInfo* info = command_ == 0 ? nullptr : FindCommand(command_);
  if (info == nullptr) return;
  std::unique_ptr<SerialPort> port = setup_.makePort ? setup_.makePort() : nullptr;
  try {
    if (!port) throw PortError(PortError::kOpen, "no serial port");
    port->Open();
    LinkRoutines link(*port, address_, terminated_, setup_.timings);
    CommandContext ctx{link, std::span(reply_, replySize_), local_, terminated_,
                       setup_.softwareLevel, *this, setup_.image};
    const std::uint8_t result = RunCommand(*info, ctx);
    reply_[0] = result;
    switch (FindResult(result).kind) {
      case ResultKind::Failed:
      case ResultKind::Refused: fault_ = ctx.fault; break;
      case ResultKind::Stopped: fault_ = {.kind = FaultKind::Stopped}; break;
      default: fault_ = {}; break;
    }
    port->Close();
  } catch (const PortError& error) {
    ReportPortError(PortErrorText(error.Code()), QString::fromStdString(error.Reason()), port.get());
    reply_[0] = result::kPortError;
    fault_ = {.kind = FaultKind::PortError};
    portReason_ = QString::fromStdString(error.what());
    if (port) port->Close();
  }
}

void TProtocol::ReportPortError(const QString& text, const QString& reason, SerialPort* port) {
  ShowStatusText(text);
  if (!reason.isEmpty()) {
    detail_ = reason;
    Synchronize([this] {
      if (setup_.host) setup_.host->ShowStatusDetail(detail_);
    });
  }
  ShowProgress(0);
  if (port) port->Close();
  Synchronize([this] {
    if (setup_.host) setup_.host->Beep();
  });
}

void TProtocol::ShowStatusText(const QString& text) {
  message_ = text;
  Synchronize([this] {
    if (setup_.host) setup_.host->ShowStatusText(message_);
  });
}

void TProtocol::ShowProgress(int progress) {
  progress_ = progress;
  Synchronize([this] {
    if (setup_.host) setup_.host->ShowProgress(progress_);
  });
}

void TProtocol::Pause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

void TProtocol::Synchronize(const std::function<void()>& call) {
  if (!setup_.host) return;
  // This object lives on the user-interface thread, so RunPending runs there
  // and the worker waits for it. The call goes over by an atomic, not inside
  // a functor that Qt's uninstrumented queue hands over: ThreadSanitizer sees
  // both directions of the hand-over. It is not a lock.
  pending_.store(&call, std::memory_order_release);
  QMetaObject::invokeMethod(this, "RunPending", Qt::BlockingQueuedConnection);
  handOvers_.load(std::memory_order_acquire);
}

void TProtocol::RunPending() {
  const std::function<void()>* call = pending_.exchange(nullptr, std::memory_order_acquire);
  if (call != nullptr) (*call)();
  handOvers_.fetch_add(1, std::memory_order_release);
}

}  // namespace rkvt
