#include "sim/ConfigStore.h"

namespace rkvt::sim {

ConfigRecord ConfigStore::DefaultRecord(int level, int variant) {
  ConfigRecord r{};
  r[0] = 0x20;  // interleaver low
  // Line bit rate index 3; the PLN family also a ceiling at its third value.
  r[1] = variant >= 7 && variant <= 9 ? 0x43 : 0x03;
  r[5] = 0x01;  // asynchronous 115.2
  r[15] = 100;  // transmit level -30 dB
  r[16] = 0x5A;  // exit payload
  r[17] = 0xA5;
  r[18] = 0x01;
  r[19] = 0x02;
  r[20] = 1;  // AVC permitted
  r[kActiveProfileByte] = 1;
  // Second-layout firmware lists its modules in byte 22 (E1 in the upper slot
  // code, QLD-ENX100 in the lower); older firmware has QLD-ENX when bit 0 of
  // byte 23 is clear.
  r[kModulesByte] = level >= 7 ? 0x68 : 0x00;
  r[23] = 0x00;
  // Never interpreted: carried unchanged by a correct program.
  r[4] = 0xC4;
  r[8] = 0xC8;
  r[10] = 0xCA;
  r[12] = 0xCC;
  r[13] = 0xCD;
  r[24] = 0xD8;
  r[25] = 0xD9;
  return r;
}

ConfigStore::ConfigStore(int level, int variant) { Replace(DefaultRecord(level, variant)); }

void ConfigStore::Replace(const ConfigRecord& record) {
  record_ = record;
  for (int n = 1; n <= kProfiles; ++n) {
    ConfigRecord& p = profiles_[n - 1];
    p = record_;
    p[kActiveProfileByte] = static_cast<std::uint8_t>(n);
    // Each profile differs in its interleaver, so a load is visible.
    p[0] = static_cast<std::uint8_t>((p[0] & ~0x60) | (((n - 1) & 3) << 5));
  }
}

ConfigRecord* ConfigStore::Profile(int number) {
  return number >= 1 && number <= kProfiles ? &profiles_[number - 1] : nullptr;
}

const ConfigRecord* ConfigStore::Profile(int number) const {
  return number >= 1 && number <= kProfiles ? &profiles_[number - 1] : nullptr;
}

bool ConfigStore::Enter() {
  if (setupHeld) return false;
  inSetup_ = true;
  return true;
}

void ConfigStore::Exit(const std::array<std::uint8_t, 4>& payload) {
  inSetup_ = false;
  exitPayload_ = payload;
}

void ConfigStore::SetMode(const ConfigRecord& record) {
  record_ = record;
  ++modeChanges_;
}

bool ConfigStore::Load(int number) {
  const ConfigRecord* p = Profile(number);
  if (!p) return false;
  record_ = *p;
  record_[kActiveProfileByte] = static_cast<std::uint8_t>(number);
  return true;
}

bool ConfigStore::Save(int number) {
  ConfigRecord* p = Profile(number);
  if (!p) return false;
  *p = record_;
  (*p)[kActiveProfileByte] = static_cast<std::uint8_t>(number);
  return true;
}

}  // namespace rkvt::sim
