#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/ActivityRecord.h"

namespace rkvt::sim {

using ConfigRecord = std::array<std::uint8_t, 26>;

// The operating-mode record, its five stored profiles and who is in setup.
class ConfigStore {
 public:
  static constexpr int kProfiles = 5;
  static constexpr std::size_t kActiveProfileByte = 21;
  static constexpr std::size_t kModulesByte = 22;

  // A plausible record for firmware of this software level. The bytes no
  // parameter uses hold distinct values, so a program that does not carry
  // them unchanged is caught.
  // Variants 7 to 9 (the PLN family) get a rate index and a ceiling of their range.
  static ConfigRecord DefaultRecord(int softwareLevel, int variant = 0);

  explicit ConfigStore(int softwareLevel = 12, int variant = 0);

  // A record of the user's own: it is in force, and each profile is a copy
  // of it under its own number, with an interleaver of its own.
  void Replace(const ConfigRecord& record);

  ConfigRecord& Record() { return record_; }
  const ConfigRecord& Record() const { return record_; }
  // Profiles are numbered 1 to 5; nullptr for other numbers.
  ConfigRecord* Profile(int number);
  const ConfigRecord* Profile(int number) const;

  // Someone else holds setup: enter setup is refused with this record.
  bool setupHeld = false;
  ActivityRecord holder = SetupActivity(Actor::RemoteTerminal);

  bool InSetup() const { return inSetup_; }
  // False while setup is held; the record is then not handed out.
  bool Enter();
  void Exit(const std::array<std::uint8_t, 4>& payload);
  void Leave() { inSetup_ = false; }
  // The four bytes the last exit request carried.
  const std::optional<std::array<std::uint8_t, 4>>& LastExitPayload() const { return exitPayload_; }

  void SetMode(const ConfigRecord& record);
  int ModeChanges() const { return modeChanges_; }
  // False for profile numbers the modem does not have.
  bool Load(int number);
  bool Save(int number);

 private:
  ConfigRecord record_;
  std::array<ConfigRecord, kProfiles> profiles_;
  bool inSetup_ = false;
  std::optional<std::array<std::uint8_t, 4>> exitPayload_;
  int modeChanges_ = 0;
};

}  // namespace rkvt::sim
