#include "ui/widgets/QtParamListBinder.h"

#include <memory>

#include "ui/widgets/QtParamListBox.h"

namespace rkvt::ui {

namespace {

// Only value texts differ: set them in place, so the list keeps its scroll
// position, the current row and its accessible items.
bool SetValuesInPlace(const QStringList& rows, QtParamListBox& widget) {
  if (rows.size() != widget.RowCount()) return false;
  std::vector<ParamRowMarkup> wanted;
  for (int i = 0; i < widget.RowCount(); ++i) {
    ParamRowMarkup row = ParamRowMarkup::Parse(rows[i]);
    if (row.markup == widget.RowMarkup(i)) continue;
    ParamRowMarkup shown = ParamRowMarkup::Parse(widget.RowMarkup(i));
    if (!row.HasLink() || shown.key != row.key) return false;
    shown.SetValue(row.Value());
    if (shown.markup != row.markup) return false;
    wanted.push_back(std::move(row));
  }
  for (const ParamRowMarkup& row : wanted) widget.SetValue(row.key, row.Value());
  return true;
}

}  // namespace

void Bind(ParamListBox& model, QtParamListBox& widget) {
  widget.setObjectName(model.Name());
  auto dropped = std::make_shared<QString>();  // the key whose list the widget shows
  const auto sync = [&model, &widget, dropped] {
    QStringList shown;
    for (int i = 0; i < widget.RowCount(); ++i) shown << widget.RowMarkup(i);
    if (shown != model.Rows() && !SetValuesInPlace(model.Rows(), widget)) widget.SetRows(model.Rows());
    widget.setVisible(model.Visible());
    widget.setEnabled(model.Enabled());
    widget.setStatusTip(model.Hint());

    const auto& drop = model.Dropped();
    if (!drop) {
      dropped->clear();
      if (widget.ChoicesShown()) widget.CloseChoices();
      return;
    }
    if (widget.ChoicesShown() && *dropped == drop->key) return;
    *dropped = drop->key;
    if (!widget.DropChoices(drop->key, drop->entries)) {
      model.CloseChoices();
      return;
    }
    QtChoicePopup* popup = widget.Choices();
    if (popup != nullptr && !popup->property("rkvtBound").toBool()) {
      popup->setProperty("rkvtBound", true);
      // Esc or a click outside: closed without a choice. Queued, because a
      // pick closes the list before it reports the entry.
      QObject::connect(
          popup, &QtChoicePopup::Shown, &model,
          [&model, &widget](bool open) {
            if (!open && !widget.ChoicesShown()) model.CloseChoices();
          },
          Qt::QueuedConnection);
    }
  };
  sync();
  QObject::connect(&model, &Control::Changed, &widget, sync);
  QObject::connect(&widget, &QtParamListBox::LinkActivated, &model,
                   [&model](const QString& key, const QString&, const QRect&) { model.ClickLink(key); });
  QObject::connect(&widget, &QtParamListBox::ChoicePicked, &model,
                   [&model](const QString& key, int, const QString& text) { model.PickChoice(key, text); });
  QObject::connect(&widget, &QtParamListBox::LinkEntered, &model, [&model](const QString& key) { model.EnterLink(key); });
  QObject::connect(&widget, &QtParamListBox::LinkLeft, &model, [&model](const QString& key) { model.LeaveLink(key); });
}

}  // namespace rkvt::ui
