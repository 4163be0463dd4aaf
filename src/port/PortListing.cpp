#include "port/PortListing.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

namespace rkvt {

namespace {

// udev's links to USB serial devices by vendor, model and serial number.
constexpr char kByIdFolder[] = "/dev/serial/by-id";

QString StableLinkTo(const QString& location) {
  const QDir folder(QString::fromLatin1(kByIdFolder));
  if (location.isEmpty() || !folder.exists()) return {};
  const QString target = QFileInfo(location).canonicalFilePath();
  for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
    if (link.isSymLink() && link.canonicalFilePath() == target) return link.absoluteFilePath();
  }
  return {};
}

}  // namespace

QString PortListing::Label() const {
  QStringList parts;
  for (const QString& part : {description, manufacturer, usbId}) {
    if (!part.isEmpty() && !parts.contains(part)) parts << part;
  }
  if (!serialNumber.isEmpty()) parts << QStringLiteral("serial ") + serialNumber;
  return parts.isEmpty() ? name : name + QStringLiteral(" - ") + parts.join(QStringLiteral(", "));
}

QList<PortListing> SystemPorts() {
  QList<PortListing> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    PortListing port{.name = info.portName(),
                     .location = info.systemLocation(),
                     .description = info.description(),
                     .manufacturer = info.manufacturer(),
                     .serialNumber = info.serialNumber()};
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
      port.usbId = QStringLiteral("%1:%2")
                       .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                       .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
    port.stableLink = StableLinkTo(port.location);
    ports << port;
  }
  std::sort(ports.begin(), ports.end(), [](const PortListing& a, const PortListing& b) { return a.name < b.name; });
  ports.erase(std::unique(ports.begin(), ports.end(),
                          [](const PortListing& a, const PortListing& b) { return a.name == b.name; }),
              ports.end());
  return ports;
}

QStringList PortNames(const QList<PortListing>& ports) {
  QStringList names;
  for (const PortListing& port : ports) names << port.name;
  return names;
}

}  // namespace rkvt
