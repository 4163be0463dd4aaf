#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include <QString>
#include <QStringView>

#include "setup/Keys.h"
#include "setup/ValueTables.h"

namespace rkvt::setup {

inline constexpr std::size_t kRecordSize = 26;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;
using ExitPayload = std::array<std::uint8_t, 4>;

// Record bytes the parts below name.
namespace byte {
inline constexpr std::size_t kExitPayload = 16;  // to 19
inline constexpr std::size_t kAvc = 20;
inline constexpr std::size_t kActiveProfile = 21;
inline constexpr std::size_t kModuleSlots = 22;
inline constexpr std::size_t kOldModules = 23;
}  // namespace byte

struct ModuleFlags {
  bool qldEnx = false;
  bool e1 = false;
  bool qldEnx100 = false;
};

// Interface views, numbered like the interface code of the main window.
namespace view {
inline constexpr int kP2Sync = 1;
inline constexpr int kEthernet = 2;     // QLD-ENX
inline constexpr int kEthernet100 = 3;  // QLD-ENX100
inline constexpr int kP2Async = 4;
inline constexpr int kE1 = 5;
inline constexpr int kE1Ksi = 6;
}  // namespace view

// The modem's 26-byte configuration record as the setup window holds it:
// the copy received last, the working copy the user's choices change, and
// what is derived at each intake. Bytes and bits no parameter names pass
// from the received copy to the working copy untouched.
class ConfigRecord {
 public:
  explicit ConfigRecord(ModemContext context = {}) : context_(context) {}

  void SetContext(ModemContext context) { context_ = context; }
  const ModemContext& Context() const { return context_; }

  // Both copies become these bytes (missing ones read as 0); module flags,
  // AVC flag, interface view and exit payload are derived again.
  void TakeIn(std::span<const std::uint8_t> bytes);

  const RecordBytes& Received() const { return received_; }
  const RecordBytes& Working() const { return working_; }
  RecordBytes& Working() { return working_; }
  ExitPayload Payload() const { return payload_; }
  const ModuleFlags& Modules() const { return modules_; }
  bool AvcPermitted() const { return avcPermitted_; }
  int InterfaceView() const { return view_; }

  // The key's value text from the working copy; nothing for a key without a
  // decode here (its row keeps the text it has).
  std::optional<QString> Decode(Key key) const;
  // Writes a chosen text of a choice key (or Interface) into the working
  // copy, with the limits and the companion changes the choice brings.
  // False for a text the key does not know; the copy is then unchanged.
  bool Encode(Key key, QStringView text);

  // The working copy differs from the received copy: set new mode is due.
  bool Changed() const { return working_ != received_; }

  // Conditions the list and the choice lists read from the received copy.
  bool Slave() const { return (received_[14] & 0x10) != 0; }
  bool Manual() const { return (received_[0] & 0x80) != 0; }
  bool Clock64() const { return ((received_[2] >> 3) & 3) == 2; }
  bool TwoTimeSlots() const { return (received_[7] & 0x01) != 0; }
  bool SignallingBit() const { return (received_[6] & 0x08) != 0; }
  int E1Mode() const { return (received_[7] & 0x04) != 0 ? 2 : 1; }
  int InterfaceField() const { return received_[11] & 7; }

  // The view a given interface field gives with the present module flags.
  int ViewOf(int interfaceField) const;

 private:
  ModemContext context_;
  RecordBytes received_{};
  RecordBytes working_{};
  ExitPayload payload_{};
  ModuleFlags modules_;
  bool avcPermitted_ = true;
  int view_ = view::kP2Sync;
};

// The interface texts of the views 1-6.
QString ViewText(int view);

}  // namespace rkvt::setup
