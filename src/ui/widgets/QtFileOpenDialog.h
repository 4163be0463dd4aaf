#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/Dialogs.h"

namespace rkvt::ui {

// Picks a firmware image: "*.vrk" first, all files as the second filter.
class QtFileOpenDialog : public FileOpenDialog {
 public:
  explicit QtFileOpenDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::optional<QString> Open(const QString& directory, const QString& fileName) override;

  static QString Title();
  static QString Filters();

 private:
  QPointer<QWidget> parent_;
};

}  // namespace rkvt::ui
