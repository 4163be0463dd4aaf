#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;

namespace rkvt::ui {

// Application-wide: the long hint of the control under the mouse (its status
// tip; empty when the mouse leaves it) or of the control the user tabs to
// goes to one sink, and the tooltip of a control may be
// replaced by a full text that its field cannot show.
class QtHintRouter : public QObject {
  Q_OBJECT

 public:
  using HintSink = std::function<void(const QString& hint)>;
  // The tooltip to show for a widget, or nothing to leave Qt's own.
  using TooltipProvider = std::function<std::optional<QString>(QWidget* widget)>;

  // Installs itself on the application; removed again when destroyed.
  explicit QtHintRouter(HintSink sink, TooltipProvider tooltips = {});
  ~QtHintRouter() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  HintSink sink_;
  TooltipProvider tooltips_;
  bool tabbing_ = false;  // a Tab key is being handled
};

}  // namespace rkvt::ui
