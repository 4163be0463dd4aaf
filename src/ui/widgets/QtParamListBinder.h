#pragma once

#include "ui/ParamListBox.h"

namespace rkvt::ui {

class QtParamListBox;

// Mirrors the list model in the widget: rows (a changed value is set in
// place, a rebuild replaces the rows), enabled state, hint and the dropped
// choice list. Clicks, picks, hovers and a choice list closed without a pick
// go back to the model.
void Bind(ParamListBox& model, QtParamListBox& widget);

}  // namespace rkvt::ui
