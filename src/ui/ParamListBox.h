#pragma once

#include <QStringList>
#include <functional>
#include <optional>

#include "ui/Control.h"

namespace rkvt::ui {

// The parameter list as window logic sees it: the rows in their markup (with
// the value texts they show now), the choice list dropped down under a row,
// and what the user does on a value link. The widget mirrors the rows and
// the dropped list; clicks, picks and hovers come back here.
class ParamListBox : public Control {
 public:
  struct Drop {
    QString key;
    QStringList entries;
    friend bool operator==(const Drop&, const Drop&) = default;
  };

  explicit ParamListBox(const QString& name) : Control(name) {}

  const QStringList& Rows() const { return rows_; }
  void SetRows(const QStringList& rows) { Set(rows_, rows); }
  const std::optional<Drop>& Dropped() const { return dropped_; }
  void DropChoices(const QString& key, const QStringList& entries) { Set(dropped_, std::optional<Drop>(Drop{key, entries})); }
  void CloseChoices() { Set(dropped_, std::optional<Drop>()); }

  // What the widget calls. A disabled list ignores clicks and picks.
  void ClickLink(const QString& key) {
    if (Enabled() && OnParamClick) OnParamClick(key);
  }
  // An entry of the list dropped for `key`; the list closes either way. Taken
  // by value: the caller may hand in the dropped list's own texts.
  void PickChoice(QString key, QString text) {
    const bool open = dropped_ && dropped_->key == key;
    CloseChoices();
    if (open && Enabled() && OnParamSelect) OnParamSelect(key, text);
  }
  void EnterLink(const QString& key) {
    if (OnParamEnter) OnParamEnter(key);
  }
  void LeaveLink(const QString& key) {
    if (OnParamLeave) OnParamLeave(key);
  }

  std::function<void(const QString& key)> OnParamClick;
  std::function<void(const QString& key, const QString& text)> OnParamSelect;
  std::function<void(const QString& key)> OnParamEnter;
  std::function<void(const QString& key)> OnParamLeave;

 private:
  QStringList rows_;
  std::optional<Drop> dropped_;
};

}  // namespace rkvt::ui
