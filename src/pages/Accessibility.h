#pragma once

class QWidget;

// Group boxes are named after their own titles for assistive technology
// (left alone, an inner box is read with its outer box's title). Call it
// once the page's controls are built; fields get their names from the
// labels that are their buddies.
void NameGroupBoxes(QWidget* root);
