#include "Accessibility.h"

#include <QGroupBox>

void NameGroupBoxes(QWidget* root) {
    for (QGroupBox* box : root->findChildren<QGroupBox*>()) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(box->title());
    }
}
