#pragma once

#include "ParamTable.h"

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;
class TPageModel;

// How a page's controls take and give values.

// Bind(control): the control's value as a field binding. Texts put in go
// in whole: past the edit's key filter and typing limit (TKeyFilter), and
// with its change handlers running as for any change (colouring, for
// instance).
//
// The edit's text.
TFieldBinding Bind(QLineEdit* edit);
// The selected item's index; an index outside the list leaves no item
// selected (-1). The text is the box's current text.
TFieldBinding Bind(QComboBox* combo);
// A check box (or any checkable button): 1 checked, 0 not; any number but
// 0 checks it.
TFieldBinding Bind(QAbstractButton* button);
// The spin box's value, brought into its range.
TFieldBinding Bind(QSpinBox* spin);
// The id of the checked button of a radio group (-1 when none); a number
// that is no button's id leaves the group as it is.
TFieldBinding Bind(QButtonGroup* group);

// Show(model, field, control): the control shows the model's field and puts
// the user's edits into it. The field's value goes into the control now and
// whenever it changes (through Bind above); every change of the control
// that did not come from the model is the user's edit of the field
// (TPageModel::EditText / EditNumber); a list left without a selection so
// gives -1. A control that cannot show the value (a list without that item,
// a spin box of a smaller range) shows what it can and leaves the field's
// value as it is. Returns a function that puts
// the field's value into the control again (after its list was filled).
std::function<void()> Show(TPageModel& model, TPageField& field, QLineEdit* edit);
std::function<void()> Show(TPageModel& model, TPageField& field, QComboBox* combo);
std::function<void()> Show(TPageModel& model, TPageField& field, QAbstractButton* button);
std::function<void()> Show(TPageModel& model, TPageField& field, QSpinBox* spin);
std::function<void()> Show(TPageModel& model, TPageField& field, QButtonGroup* group);
