#pragma once

#include <QString>

class QWidget;

// Group boxes are named after their own titles for assistive technology
// (left alone, an inner box is read with its outer box's title). Call it
// once the page's controls are built; fields get their names from the
// labels that are their buddies.
void NameGroupBoxes(QWidget* root);

// What a control is called on its page, in one line: its accessible name
// when it has one, else the text of the label whose buddy it is, else its
// own text (a check box, a radio button) or title (a group box); the
// mnemonic marks, line breaks and a closing ":" left out. Empty when
// nothing names it.
QString ControlCaption(const QWidget* control);
