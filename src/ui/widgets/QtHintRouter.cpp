#include "ui/widgets/QtHintRouter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QWidget>

namespace rkvt::ui {

QtHintRouter::QtHintRouter(HintSink sink, TooltipProvider tooltips)
    : sink_(std::move(sink)), tooltips_(std::move(tooltips)) {
  qApp->installEventFilter(this);
}

QtHintRouter::~QtHintRouter() {
  if (qApp) qApp->removeEventFilter(this);
}

bool QtHintRouter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::StatusTip:
      // Taken here, so no window shows it on a status bar of its own.
      if (sink_) sink_(static_cast<QStatusTipEvent*>(event)->tip());
      return true;
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Tab || key == Qt::Key_Backtab) tabbing_ = true;
      break;
    }
    case QEvent::KeyRelease:
      tabbing_ = false;
      break;
    case QEvent::FocusIn: {
      // Keyboard users get the hint of the control they move to. Qt also
      // says "tab" when it moves the focus off a button being disabled; that
      // says nothing about the user, so only a real Tab or a mnemonic counts.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      const bool byUser = (tabbing_ && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)) ||
                          reason == Qt::ShortcutFocusReason;
      tabbing_ = false;
      auto* widget = qobject_cast<QWidget*>(watched);
      if (byUser && widget && !widget->statusTip().isEmpty() && sink_) sink_(widget->statusTip());
      break;
    }
    case QEvent::ToolTip: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (!widget || !tooltips_) break;
      const std::optional<QString> text = tooltips_(widget);
      if (!text) break;
      const auto* help = static_cast<QHelpEvent*>(event);
      QToolTip::showText(help->globalPos(), *text, widget);
      return true;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace rkvt::ui
