#pragma once

#include "ParamTable.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QSpinBox;

// Field bindings for the page widgets (TParamTable::Text / Number).

// The edit's text. Texts from the panel or a file go in whole: past the
// edit's key filter and typing limit (TKeyFilter), and with its change
// handlers running as for any change (colouring, for instance).
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
