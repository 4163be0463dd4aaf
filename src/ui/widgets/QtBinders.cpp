#include "ui/widgets/QtBinders.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>

#include "ui/widgets/QtColors.h"
#include "ui/widgets/QtLamp.h"
#include "ui/widgets/QtTextField.h"

namespace rkvt::ui {

namespace {

// Visible, enabled, hint. A top-level widget is never shown from here: only
// its own window code decides that.
void MirrorCommon(const Control& model, QWidget& widget) {
  if (!widget.isWindow() || !model.Visible()) widget.setVisible(model.Visible());
  widget.setEnabled(model.Enabled());
  widget.setStatusTip(model.Hint());
}

// Colours resolve against what the widget would have without our changes,
// so that "window text" after "red" is the theme's colour again.
QPalette BasePalette(const QWidget& widget) {
  return widget.parentWidget() ? widget.parentWidget()->palette() : QApplication::palette(&widget);
}

// Runs `sync` now and after every change of the model, while both live.
template <typename Sync>
void Follow(Control& model, QWidget& widget, Sync sync) {
  widget.setObjectName(model.Name());
  sync();
  QObject::connect(&model, &Control::Changed, &widget, sync);
}

}  // namespace

QString WithMnemonic(const QString& caption, QChar mnemonic) {
  QString shown = caption;
  shown.replace(QLatin1Char('&'), QLatin1String("&&"));
  if (mnemonic.isNull() || mnemonic == QLatin1Char('&')) return shown;
  const qsizetype at = caption.indexOf(mnemonic, 0, Qt::CaseInsensitive);
  if (at < 0) return shown;
  shown.insert(at + caption.left(at).count(QLatin1Char('&')), QLatin1Char('&'));
  return shown;
}

QString CaptionAsName(const QString& caption) {
  QString name = caption.trimmed();
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  return name.trimmed();
}

void Bind(Button& model, QAbstractButton& widget, QChar mnemonic, const QString& accessibleName) {
  Follow(model, widget, [&model, &widget, mnemonic, accessibleName] {
    widget.setText(WithMnemonic(model.Caption(), mnemonic));
    widget.setAccessibleName(accessibleName.isEmpty() ? model.Caption() : accessibleName);
    MirrorCommon(model, widget);
  });
  QObject::connect(&widget, &QAbstractButton::clicked, &model, [&model] { model.Click(); });
}

void Bind(RadioButton& model, QRadioButton& widget, QChar mnemonic) {
  Follow(model, widget, [&model, &widget, mnemonic] {
    widget.setText(WithMnemonic(model.Caption(), mnemonic));
    widget.setAccessibleName(model.Caption());
    MirrorCommon(model, widget);
    if (widget.isChecked() == model.Checked()) return;
    const QSignalBlocker quiet(&widget);
    if (model.Checked()) {
      widget.setChecked(true);  // its siblings report their own unchecking
    } else {
      // The checked button of an exclusive set refuses to uncheck itself.
      const bool exclusive = widget.autoExclusive();
      widget.setAutoExclusive(false);
      widget.setChecked(false);
      widget.setAutoExclusive(exclusive);
    }
  });
  // Bound to the change of the check, not to a click: a key, the mouse and an
  // accessibility client's toggle all end here. The model's own changes are
  // made with the widget's signals blocked; a sibling picked by the user
  // unchecks this one, and the model follows.
  QObject::connect(&widget, &QAbstractButton::toggled, &model, [&model](bool on) {
    if (on) {
      model.Click();
    } else {
      model.SetChecked(false);
    }
  });
}

void Bind(ComboBox& model, QComboBox& widget, const QString& accessibleName) {
  const auto sync = [&model, &widget, accessibleName] {
    const QSignalBlocker quiet(&widget);
    QStringList shown;
    for (int i = 0; i < widget.count(); ++i) shown << widget.itemText(i);
    if (shown != model.Items()) {
      widget.clear();
      widget.addItems(model.Items());
    }
    widget.setCurrentIndex(model.ItemIndex());
    widget.setAccessibleName(accessibleName);
    MirrorCommon(model, widget);
  };
  Follow(model, widget, sync);
  // The change of the current item, however it came (list, key, wheel, an
  // accessibility client); the model's own changes are made with signals blocked.
  QObject::connect(&widget, &QComboBox::currentIndexChanged, &model, [&model, sync](int index) {
    model.Choose(index);
    sync();  // a refused choice puts the old item back
  });
}

void Bind(StaticText& model, QLabel& widget, const QString& accessibleName) {
  widget.setTextFormat(Qt::PlainText);
  widget.setAutoFillBackground(true);
  Follow(model, widget, [&model, &widget, accessibleName] {
    widget.setText(model.Text());
    // One sentence a line: a reason with its remedy is too long for one.
    widget.setToolTip(QString(model.ToolTip()).replace(QLatin1String(". "), QLatin1String(".\n")));
    const QPalette base = BasePalette(widget);
    const QColor font = ToQColor(model.FontColor(), base);
    const QColor background = ToQColor(model.Background(), base);
    QPalette palette = widget.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, QPalette::WindowText, font);
    // Disabled keeps the theme's grey text but the field's own background.
    palette.setColor(QPalette::Disabled, QPalette::WindowText, base.color(QPalette::Disabled, QPalette::WindowText));
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      palette.setColor(group, QPalette::Window, background);
    widget.setPalette(palette);
    widget.setAccessibleName(accessibleName);
    widget.setAccessibleDescription(model.Text().trimmed());
    MirrorCommon(model, widget);
  });
}

void Bind(Label& model, QLabel& widget, QWidget* buddy, QChar mnemonic) {
  widget.setTextFormat(Qt::PlainText);
  if (buddy) widget.setBuddy(buddy);
  Follow(model, widget, [&model, &widget, buddy, mnemonic] {
    widget.setText(buddy ? WithMnemonic(model.Caption(), mnemonic) : model.Caption());
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(kDisabledLabel, palette));
    widget.setPalette(palette);
    widget.setAccessibleName(CaptionAsName(model.Caption()));
    MirrorCommon(model, widget);
  });
}

void Bind(Shape& model, QtLamp& widget, const QString& accessibleName) {
  Follow(model, widget, [&model, &widget, accessibleName] {
    widget.SetLampColor(model.BrushColor());
    widget.setAccessibleName(accessibleName);
    widget.setAccessibleDescription(ColorWords(model.BrushColor()));
    MirrorCommon(model, widget);
  });
}

void Bind(GroupBox& model, QGroupBox& widget) {
  Follow(model, widget, [&model, &widget] {
    widget.setTitle(model.Caption());
    widget.setAccessibleName(model.Caption().trimmed());
    if (widget.property("left").toInt() != model.Left() || !widget.property("left").isValid())
      widget.setProperty("left", model.Left());
    MirrorCommon(model, widget);
  });
}

void Bind(ProgressBar& model, QProgressBar& widget) {
  Follow(model, widget, [&model, &widget] {
    // Only a text the logic gives: a percentage of a 181 s time-out means nothing.
    // The bar replaces only %p, %v and %m; the logic's texts hold none of them.
    widget.setTextVisible(!model.Text().isEmpty());
    widget.setFormat(model.Text());
    widget.setRange(0, model.Maximum());
    widget.setValue(model.Position());
    widget.setAccessibleName(QStringLiteral("Progress"));
    MirrorCommon(model, widget);
  });
}

void Bind(StatusBar& model, QStatusBar& bar, QtTextField& text, const QString& accessibleName) {
  text.setFrameStyle(QFrame::NoFrame);  // the bar draws the frame of its items
  text.setObjectName(model.Name() + QStringLiteral("Text"));
  text.setAccessibleName(accessibleName);
  Follow(model, bar, [&model, &bar, &text, accessibleName] {
    text.setText(model.SimpleText());
    text.setAccessibleDescription(model.SimpleText().trimmed());
    bar.setAccessibleName(accessibleName);
    MirrorCommon(model, bar);
  });
}

QPushButton* BoundPushButton(QWidget* parent, Button& model, QChar mnemonic, const QStringList& captions,
                             const QString& accessibleName) {
  auto* button = new QPushButton(parent);
  int width = 0;
  for (const QString& caption : captions) {
    button->setText(caption);
    width = qMax(width, button->sizeHint().width());
  }
  button->setMinimumWidth(width);
  button->setAutoDefault(false);
  Bind(model, *button, mnemonic, accessibleName);
  return button;
}

}  // namespace rkvt::ui
