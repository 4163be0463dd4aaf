#pragma once

#include <QStringList>
#include <functional>

#include "ui/Color.h"
#include "ui/Control.h"

namespace rkvt::ui {

// A push button: caption and a click handler set by the window logic.
class Button : public Control {
  Q_OBJECT
 public:
  Button(const QString& name, const QString& caption) : Control(name), caption_(caption) {}
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { Set(caption_, caption); }
  // What the widget calls; a disabled button ignores clicks.
  void Click() {
    if (Enabled() && OnClick) OnClick();
  }
  std::function<void()> OnClick;

 private:
  QString caption_;
};

class RadioButton : public Control {
  Q_OBJECT
 public:
  RadioButton(const QString& name, const QString& caption) : Control(name), caption_(caption) {}
  QString Caption() const { return caption_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { Set(checked_, checked); }
  // The user picked it: it becomes checked, then the handler runs.
  void Click() {
    if (!Enabled()) return;
    SetChecked(true);
    if (OnClick) OnClick();
  }
  std::function<void()> OnClick;

 private:
  QString caption_;
  bool checked_ = false;
};

class ComboBox : public Control {
  Q_OBJECT
 public:
  explicit ComboBox(const QString& name) : Control(name) {}
  QStringList Items() const { return items_; }
  void SetItems(const QStringList& items) {
    items_ = items;
    itemIndex_ = items.isEmpty() ? -1 : 0;
    emit Changed();
  }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index) { Set(itemIndex_, index); }
  QString Text() const { return itemIndex_ >= 0 && itemIndex_ < items_.size() ? items_[itemIndex_] : QString(); }
  // The user chose an item.
  void Choose(int index) {
    if (!Enabled() || index < 0 || index >= items_.size()) return;
    SetItemIndex(index);
    if (OnChange) OnChange();
  }
  std::function<void()> OnChange;

 private:
  QStringList items_;
  int itemIndex_ = -1;
};

// A text field with its own font and background colour.
class StaticText : public Control {
  Q_OBJECT
 public:
  explicit StaticText(const QString& name) : Control(name) {}
  QString Text() const { return text_; }
  // A new text drops the tooltip that explained the old one.
  void SetText(const QString& text) {
    if (text != text_) toolTip_.clear();
    Set(text_, text);
  }
  // Why the text came about and what to do; shown when the mouse rests on it.
  QString ToolTip() const { return toolTip_; }
  void SetToolTip(const QString& tip) { Set(toolTip_, tip); }
  Color FontColor() const { return fontColor_; }
  void SetFontColor(Color color) { Set(fontColor_, color); }
  Color Background() const { return background_; }
  void SetBackground(Color color) { Set(background_, color); }

 private:
  QString text_;
  QString toolTip_;
  Color fontColor_ = Color::WindowText();
  Color background_ = Color::ButtonFace();
};

// A caption in front of a field; disabled labels are drawn grey.
class Label : public Control {
  Q_OBJECT
 public:
  Label(const QString& name, const QString& caption) : Control(name), caption_(caption) {}
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { Set(caption_, caption); }

 private:
  QString caption_;
};

// An indicator lamp.
class Shape : public Control {
  Q_OBJECT
 public:
  explicit Shape(const QString& name, Color color = colors::kLime) : Control(name), color_(color) {}
  Color BrushColor() const { return color_; }
  void SetBrushColor(Color color) { Set(color_, color); }

 private:
  Color color_;
};

// A frame around a panel of controls; some panels move sideways.
class GroupBox : public Control {
  Q_OBJECT
 public:
  GroupBox(const QString& name, const QString& caption, int left = 0)
      : Control(name), caption_(caption), left_(left) {}
  QString Caption() const { return caption_; }
  int Left() const { return left_; }
  void SetLeft(int left) { Set(left_, left); }

 private:
  QString caption_;
  int left_;
};

class ProgressBar : public Control {
  Q_OBJECT
 public:
  ProgressBar(const QString& name, int maximum) : Control(name), maximum_(maximum) {}
  int Maximum() const { return maximum_; }
  int Position() const { return position_; }
  void SetPosition(int position) { Set(position_, position); }
  void StepIt() { SetPosition(position_ >= maximum_ ? 0 : position_ + 1); }
  // Shown on the bar as it is; empty: no text.
  QString Text() const { return text_; }
  void SetText(const QString& text) { Set(text_, text); }

 private:
  int maximum_;
  int position_ = 0;
  QString text_;
};

class StatusBar : public Control {
  Q_OBJECT
 public:
  explicit StatusBar(const QString& name) : Control(name) {}
  QString SimpleText() const { return text_; }
  void SetSimpleText(const QString& text) { Set(text_, text); }

 private:
  QString text_;
};

}  // namespace rkvt::ui
