#include "ui/widgets/QtTextFieldAccessible.h"

#include "ui/widgets/QtTextField.h"

namespace rkvt::ui {

namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QLatin1String(QtTextField::staticMetaObject.className())) return nullptr;
  auto* field = qobject_cast<QtTextField*>(object);
  return field != nullptr ? new QtTextFieldAccessible(field) : nullptr;
}

}  // namespace

QtTextFieldAccessible::QtTextFieldAccessible(QtTextField* field) : QAccessibleWidget(field, QAccessible::StaticText) {}

void QtTextFieldAccessible::InstallFactory() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  Q_UNUSED(installed);
}

QtTextField* QtTextFieldAccessible::Field() const { return static_cast<QtTextField*>(widget()); }

void* QtTextFieldAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString QtTextFieldAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return Field()->text();
  return QAccessibleWidget::text(kind);
}

QString QtTextFieldAccessible::text(int startOffset, int endOffset) const {
  return Field()->text().mid(startOffset, endOffset - startOffset);
}

int QtTextFieldAccessible::characterCount() const { return static_cast<int>(Field()->text().size()); }

QString QtTextFieldAccessible::attributes(int, int* startOffset, int* endOffset) const {
  // One run: the whole field has one colour pair. Qt takes IAccessible2's
  // names here and hands them on as AT-SPI's fg-color and bg-color.
  *startOffset = 0;
  *endOffset = characterCount();
  const QPalette& palette = Field()->palette();
  const QPalette::ColorGroup group = Field()->isEnabled() ? QPalette::Active : QPalette::Disabled;
  return QStringLiteral("color:%1;background-color:%2;")
      .arg(Rgb(palette.color(group, Field()->foregroundRole())), Rgb(palette.color(group, Field()->backgroundRole())));
}

}  // namespace rkvt::ui
