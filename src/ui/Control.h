#pragma once

#include <QObject>
#include <QString>

namespace rkvt::ui {

// Base of every control model: a name (the control's own, e.g. "ButtonState")
// and one change notification that the Qt widget mirroring it listens to.
// Window logic sets models; it never touches a widget.
class Control : public QObject {
  Q_OBJECT

 public:
  explicit Control(const QString& name) { setObjectName(name); }
  QString Name() const { return objectName(); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Set(enabled_, enabled); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }
  // The long hint shown on the status line while the mouse is over the control.
  QString Hint() const { return hint_; }
  void SetHint(const QString& hint) { Set(hint_, hint); }

 signals:
  void Changed();

 protected:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    emit Changed();
  }

 private:
  bool enabled_ = true;
  bool visible_ = true;
  QString hint_;
};

}  // namespace rkvt::ui
