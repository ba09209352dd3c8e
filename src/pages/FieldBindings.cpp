#include "FieldBindings.h"

#include "Accessibility.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QValidator>

TFieldBinding Bind(QLineEdit* edit) {
    return {
        .GetText = [edit] { return edit->text(); },
        .SetText =
            [edit](const QString& text) {
                // The key filter is a validator; without it the text goes in
                // as it is, whatever its length or characters.
                const QValidator* filter = edit->validator();
                edit->setValidator(nullptr);
                edit->setText(text);
                edit->setValidator(filter);
            },
        .Caption = [edit] { return ControlCaption(edit); },
    };
}

TFieldBinding Bind(QComboBox* combo) {
    return {
        .GetText = [combo] { return combo->currentText(); },
        .SetText = [combo](const QString& text) { combo->setCurrentText(text); },
        .GetNumber = [combo] { return combo->currentIndex(); },
        .SetNumber =
            [combo](int index) { combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1); },
        .Caption = [combo] { return ControlCaption(combo); },
    };
}

TFieldBinding Bind(QAbstractButton* button) {
    return {
        .GetNumber = [button] { return button->isChecked() ? 1 : 0; },
        .SetNumber = [button](int on) { button->setChecked(on != 0); },
        .Caption = [button] { return ControlCaption(button); },
    };
}

TFieldBinding Bind(QSpinBox* spin) {
    return {
        .GetNumber = [spin] { return spin->value(); },
        .SetNumber = [spin](int value) { spin->setValue(value); },
        .Caption = [spin] { return ControlCaption(spin); },
    };
}

TFieldBinding Bind(QButtonGroup* group) {
    return {
        .GetNumber = [group] { return group->checkedId(); },
        .SetNumber =
            [group](int id) {
                if (QAbstractButton* b = group->button(id))
                    b->setChecked(true);
            },
        // The group's box, when its buttons stand in one.
        .Caption =
            [group] {
                const QList<QAbstractButton*> buttons = group->buttons();
                return buttons.isEmpty() ? QString() : ControlCaption(buttons.first()->parentWidget());
            },
    };
}
