#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include "ui/Controls.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QWidget;

namespace rkvt::ui {

class QtLamp;
class QtTextField;

// One binder per control kind. Each names the widget after its model, shows
// the model now and on every Changed(), and hands the user's actions back to
// the model (Click, Choose); the window logic then decides. Either side may
// be destroyed first: the connections die with it.
//
// Common to all: visible, enabled and the long hint (as the status tip that
// the hint routing picks up). Every widget gets an accessible name.

// `mnemonic`: the letter underlined when the caption contains it ("State" with
// 'S' shows "&State"; "Stop" keeps it, "Connect" with 'c' in "Disconnect").
// `accessibleName`: fixed name; empty means "follow the caption".
void Bind(Button& model, QAbstractButton& widget, QChar mnemonic = {}, const QString& accessibleName = {});
// A bound push button as wide as the longest caption it will ever show, so
// that "Connect" turning into "Disconnect" moves nothing.
QPushButton* BoundPushButton(QWidget* parent, Button& model, QChar mnemonic, const QStringList& captions,
                             const QString& accessibleName = {});
void Bind(RadioButton& model, QRadioButton& widget, QChar mnemonic = {});
void Bind(ComboBox& model, QComboBox& widget, const QString& accessibleName);
// `accessibleName` says what the field holds ("Modem type"); its text is
// offered as the accessible description.
void Bind(StaticText& model, QLabel& widget, const QString& accessibleName);
// Disabled labels are grey (kDisabledLabel). With a buddy, the mnemonic
// letter moves the focus to it.
void Bind(Label& model, QLabel& widget, QWidget* buddy = nullptr, QChar mnemonic = {});
void Bind(Shape& model, QtLamp& widget, const QString& accessibleName);
// Caption, visibility and "left" (as the property "left" for the layout that
// places panels; see QtPanelRow).
void Bind(GroupBox& model, QGroupBox& widget);
void Bind(ProgressBar& model, QProgressBar& widget);
// The bar is named after the model; `text` shows the simple text.
void Bind(StatusBar& model, QStatusBar& bar, QtTextField& text, const QString& accessibleName = QStringLiteral("Status line"));

inline constexpr Color kDisabledLabel = colors::kGray;

// The caption with '&' before the first occurrence of `mnemonic` (any case)
// and literal ampersands doubled.
QString WithMnemonic(const QString& caption, QChar mnemonic);
// "Line quality :" -> "Line quality": a caption as a name.
QString CaptionAsName(const QString& caption);

}  // namespace rkvt::ui
