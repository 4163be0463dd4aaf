#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace rkvt {

// One serial port of this machine as the system describes it.
struct PortListing {
  QString name;          // what gets stored and opened: "ttyUSB0", "COM3"
  QString location;      // "/dev/ttyUSB0"
  QString description;   // "CP2102 USB to UART Bridge Controller"
  QString manufacturer;  // "Silicon Labs"
  QString usbId;         // "10c4:ea60", empty for ports that are not on USB
  QString serialNumber;
  QString stableLink;    // a /dev/serial/by-id/ link to it, which survives re-plugging

  // The name with everything known about the device, for a pick list.
  QString Label() const;
};

using PortLister = std::function<QList<PortListing>()>;

// The serial ports QSerialPortInfo finds, sorted by name.
QList<PortListing> SystemPorts();
// The names alone, for texts that say which ports exist.
QStringList PortNames(const QList<PortListing>& ports);

}  // namespace rkvt
