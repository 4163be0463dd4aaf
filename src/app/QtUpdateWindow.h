#pragma once

#include <QDialog>

#include "support/TIni.h"

class QMimeData;

namespace rkvt {

class TFormSoftware;

// The update window as Qt widgets: every control mirrors its model in
// TFormSoftware and reports clicks back to it; showing, closing and dropped
// image files go to the logic too. Nothing here decides. A modeless dialog:
// Escape closes it like its close box.
class QtUpdateWindow : public QDialog {
  Q_OBJECT

 public:
  // The designed size at 100 %; the width may grow to kMaxWidth.
  static constexpr int kWidth = 420;
  static constexpr int kMaxWidth = 500;
  static constexpr int kHeight = 90;

  explicit QtUpdateWindow(TFormSoftware& form, QWidget* parent = nullptr);

  // Shown from the main window: brought to the front when already open.
  void ShowUpdate();

  WindowPlacement Placement() const;
  // Position and width; the height stays fixed.
  void ApplyPlacement(const WindowPlacement& placement);

  // The file a drag carries when the window would take it: one local *.vrk.
  static QString DroppableFile(const QMimeData* mime);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override { close(); }
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TFormSoftware& form_;
};

}  // namespace rkvt
