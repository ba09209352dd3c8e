#include "FieldBindings.h"

#include "Accessibility.h"
#include "PageModel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QValidator>

#include <memory>

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

namespace {

// One control showing one field: `put` sets the control from the field; the
// control's own change signal calls Edited, which is ignored while the
// field's value is being put in.
class TFieldView {
public:
    TFieldView(TPageModel& model, TPageField& field, QObject* control, std::function<void()> put)
        : fModel(&model), fField(field), fPut(std::move(put)) {
        QObject::connect(&model, &TPageModel::FieldChanged, control, [this](const TPageField* changed) {
            if (changed == &fField)
                Put();
        });
    }
    void Put() {
        fPutting = true;
        fPut();
        fPutting = false;
    }
    void EditedText(const QString& text) {
        if (!fPutting && fModel)
            fModel->EditText(fField, text);
    }
    void EditedNumber(int number) {
        if (!fPutting && fModel)
            fModel->EditNumber(fField, number);
    }

private:
    // A control may still change while the page is taken down after its model.
    QPointer<TPageModel> fModel;
    TPageField& fField;
    std::function<void()> fPut;
    bool fPutting = false;
};

// The view lives as long as the control's connections that hold it.
std::shared_ptr<TFieldView> MakeView(TPageModel& model, TPageField& field, QObject* control,
                                     std::function<void()> put) {
    auto view = std::make_shared<TFieldView>(model, field, control, std::move(put));
    view->Put();
    return view;
}

} // namespace

std::function<void()> Show(TPageModel& model, TPageField& field, QLineEdit* edit) {
    const TFieldBinding control = Bind(edit);
    auto view = MakeView(model, field, edit, [control, &field] {
        if (control.GetText() != field.Text())
            control.SetText(field.Text());
    });
    QObject::connect(edit, &QLineEdit::textChanged, edit, [view](const QString& t) { view->EditedText(t); });
    return [view] { view->Put(); };
}

std::function<void()> Show(TPageModel& model, TPageField& field, QComboBox* combo) {
    const TFieldBinding control = Bind(combo);
    auto view = MakeView(model, field, combo, [control, &field] { control.SetNumber(field.Number()); });
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                     [view](int index) { view->EditedNumber(index); });
    return [view] { view->Put(); };
}

std::function<void()> Show(TPageModel& model, TPageField& field, QAbstractButton* button) {
    const TFieldBinding control = Bind(button);
    auto view = MakeView(model, field, button, [control, &field] { control.SetNumber(field.Number()); });
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [view](bool on) { view->EditedNumber(on ? 1 : 0); });
    return [view] { view->Put(); };
}

std::function<void()> Show(TPageModel& model, TPageField& field, QSpinBox* spin) {
    const TFieldBinding control = Bind(spin);
    auto view = MakeView(model, field, spin, [control, &field] { control.SetNumber(field.Number()); });
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [view](int value) { view->EditedNumber(value); });
    return [view] { view->Put(); };
}

std::function<void()> Show(TPageModel& model, TPageField& field, QButtonGroup* group) {
    const TFieldBinding control = Bind(group);
    auto view = MakeView(model, field, group, [control, &field] { control.SetNumber(field.Number()); });
    QObject::connect(group, &QButtonGroup::idToggled, group, [view](int id, bool checked) {
        if (checked)
            view->EditedNumber(id);
    });
    return [view] { view->Put(); };
}
