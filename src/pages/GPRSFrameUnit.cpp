#include "GPRSFrameUnit.h"

#include "Accessibility.h"
#include "FieldBindings.h"
#include "KeyFilter.h"
#include "RedWhenInvalid.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// A heading strip over a server's two edits: bold, with a line along its
// bottom edge (put in the heading's own cell).
QLabel* Heading(const QString& text, QWidget* parent) {
    auto* heading = new QLabel(text, parent);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setContentsMargins(0, 0, 0, 3);
    return heading;
}

void AddHeading(QGridLayout* grid, QLabel* heading, int row, int columns) {
    auto* line = new QFrame(heading->parentWidget());
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(heading, row, 0, 1, columns);
    grid->addWidget(line, row, 0, 1, columns, Qt::AlignBottom);
}

} // namespace

TGPRSFrame::TGPRSFrame(IPageHost& host, QWidget* parent)
    : TPageFrame(host, ptGPRS, parent), fPage(new TGPRSPage(host)) {
    setObjectName(QStringLiteral("GPRSFrame"));
    SetPageModel(fPage);
    BuildControls();
    ShowPage();
}

void TGPRSFrame::BuildControls() {
    const auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    const auto edit = [&](QWidget* parent, const char* name) { return named(new QLineEdit(parent), name); };

    GPRSGroup = named(new QGroupBox(QStringLiteral("Настройки GPRS"), this), "GPRSGroup");
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->addWidget(GPRSGroup);

    // The server connection, on the left.
    InternetGroup =
        named(new QGroupBox(QStringLiteral("Настройки соединения с сервером"), GPRSGroup), "InternetGroup");
    Label6 = named(new QLabel(TGPRSPage::PauseCaption(), InternetGroup), "Label6");
    Label6->setWordWrap(true);
    GPRSRepeatComboBox = named(new QComboBox(InternetGroup), "GPRSRepeatComboBox");
    GPRSRepeatComboBox->setEditable(false);
    GPRSRepeatComboBox->addItems(GPRSPauseItems());
    GPRSRepeatComboBox->setCurrentIndex(-1);
    Label7 = named(new QLabel(TGPRSPage::PasswordCaption(), InternetGroup), "Label7");
    PasswordEdit = edit(InternetGroup, "PasswordEdit");
    Panel1 = named(Heading(TGPRSPage::MainServerCaption(), InternetGroup), "Panel1");
    Label8 = named(new QLabel(TGPRSPage::AddressCaption(), InternetGroup), "Label8");
    IPEdit1 = edit(InternetGroup, "IPEdit1");
    Label9 = named(new QLabel(TGPRSPage::PortCaption(), InternetGroup), "Label9");
    PortEdit1 = edit(InternetGroup, "PortEdit1");
    Panel2 = named(Heading(TGPRSPage::ReserveServerCaption(), InternetGroup), "Panel2");
    Label11 = named(new QLabel(TGPRSPage::AddressCaption(), InternetGroup), "Label11");
    IPEdit2 = edit(InternetGroup, "IPEdit2");
    Label10 = named(new QLabel(TGPRSPage::PortCaption(), InternetGroup), "Label10");
    PortEdit2 = edit(InternetGroup, "PortEdit2");

    TKeyFilter::Install(PasswordEdit, QString(), IdentPasswordLength);
    RedWhenInvalid(PasswordEdit, IsValidIdentPassword,
                   QStringLiteral("Пароль идентификации — ровно %1 символов: короче панель не примет")
                       .arg(IdentPasswordLength));
    for (QLineEdit* ip : {IPEdit1, IPEdit2}) {
        TKeyFilter::Install(ip, IPKeyChars(), IPAddressMaxLength);
        RedWhenInvalid(ip, IsValidIPAddress,
                       QStringLiteral("Адрес сервера — четыре числа от 0 до 255 через точку, например 192.168.0.1"));
        ip->setMinimumWidth(ip->fontMetrics().horizontalAdvance(GPRSDefaultServerAddress()) + 16);
    }
    for (QLineEdit* port : {PortEdit1, PortEdit2}) {
        TKeyFilter::Install(port, PortKeyChars(), PortMaxLength);
        RedWhenInvalid(port, IsValidPort, QStringLiteral("Порт сервера — число от 1 до 65535"));
    }
    Label6->setBuddy(GPRSRepeatComboBox);
    Label7->setBuddy(PasswordEdit);
    Label8->setBuddy(IPEdit1);
    Label9->setBuddy(PortEdit1);
    Label11->setBuddy(IPEdit2);
    Label10->setBuddy(PortEdit2);

    // A server's address and port side by side, each under its label.
    auto* internetLayout = new QGridLayout(InternetGroup);
    internetLayout->setVerticalSpacing(2);
    internetLayout->addWidget(Label6, 0, 0);
    internetLayout->addWidget(GPRSRepeatComboBox, 0, 1, Qt::AlignVCenter);
    internetLayout->addWidget(Label7, 1, 0);
    internetLayout->addWidget(PasswordEdit, 1, 1);
    AddHeading(internetLayout, Panel1, 2, 2);
    internetLayout->addWidget(Label8, 3, 0);
    internetLayout->addWidget(Label9, 3, 1);
    internetLayout->addWidget(IPEdit1, 4, 0);
    internetLayout->addWidget(PortEdit1, 4, 1);
    AddHeading(internetLayout, Panel2, 5, 2);
    internetLayout->addWidget(Label11, 6, 0);
    internetLayout->addWidget(Label10, 6, 1);
    internetLayout->addWidget(IPEdit2, 7, 0);
    internetLayout->addWidget(PortEdit2, 7, 1);
    internetLayout->setRowStretch(8, 1);
    // The pause's caption wraps beside its list within the width of the
    // longest caption; the row keeps room for all its lines.
    Label6->setMinimumHeight(Label6->heightForWidth(Label7->sizeHint().width()));

    // The SIM card, on the right.
    GroupBox1 = named(new QGroupBox(QStringLiteral("Настройки SIM карты"), GPRSGroup), "GroupBox1");
    Label1 = named(new QLabel(TGPRSPage::OperatorCaption(), GroupBox1), "Label1");
    OperatorsCombo = named(new QComboBox(GroupBox1), "OperatorsCombo");
    OperatorsCombo->setEditable(false);
    OperatorsCombo->addItems(GPRSOperatorItems());
    Label2 = named(new QLabel(TGPRSPage::PhoneCaption(), GroupBox1), "Label2");
    PhoneEdit = edit(GroupBox1, "PhoneEdit");
    Label3 = named(new QLabel(TGPRSPage::PointCaption(), GroupBox1), "Label3");
    PointEdit = edit(GroupBox1, "PointEdit");
    Label4 = named(new QLabel(TGPRSPage::UserNameCaption(), GroupBox1), "Label4");
    UserEdit = edit(GroupBox1, "UserEdit");
    Label5 = named(new QLabel(TGPRSPage::UserPasswordCaption(), GroupBox1), "Label5");
    PWDEdit = edit(GroupBox1, "PWDEdit");
    Label1->setBuddy(OperatorsCombo);
    Label2->setBuddy(PhoneEdit);
    Label3->setBuddy(PointEdit);
    Label4->setBuddy(UserEdit);
    Label5->setBuddy(PWDEdit);
    auto* simLayout = new QFormLayout(GroupBox1);
    // Where the page is narrow, a field goes below its label.
    simLayout->setRowWrapPolicy(QFormLayout::WrapLongRows);
    simLayout->addRow(Label1, OperatorsCombo);
    simLayout->addRow(Label2, PhoneEdit);
    simLayout->addRow(Label3, PointEdit);
    simLayout->addRow(Label4, UserEdit);
    simLayout->addRow(Label5, PWDEdit);

    auto* mainLayout = new QHBoxLayout(GPRSGroup);
    mainLayout->setContentsMargins(5, 5, 5, 5);
    mainLayout->addWidget(InternetGroup);
    mainLayout->addWidget(GroupBox1, 1, Qt::AlignTop);
    // The server group as narrow as its labels allow: the SIM group's texts
    // need the room more.
    InternetGroup->setMaximumWidth(InternetGroup->minimumSizeHint().width());

    NameGroupBoxes(this);
}

void TGPRSFrame::ShowPage() {
    Show(*fPage, fPage->Pause(), GPRSRepeatComboBox);
    Show(*fPage, fPage->Password(), PasswordEdit);
    Show(*fPage, fPage->IP1(), IPEdit1);
    Show(*fPage, fPage->Port1(), PortEdit1);
    Show(*fPage, fPage->IP2(), IPEdit2);
    Show(*fPage, fPage->Port2(), PortEdit2);
    Show(*fPage, fPage->Operator(), OperatorsCombo);
    Show(*fPage, fPage->Phone(), PhoneEdit);
    Show(*fPage, fPage->Point(), PointEdit);
    Show(*fPage, fPage->UserName(), UserEdit);
    Show(*fPage, fPage->UserPassword(), PWDEdit);
    // Only the user's own choice applies a preset; a program's choice (a
    // read, a loaded file) selects the operator and nothing more.
    connect(OperatorsCombo, &QComboBox::activated, fPage, &TGPRSPage::ChooseOperator);
    connect(fPage, &TPageModel::ValuesChanged, this, [this] { SetSimReadOnly(fPage->SimLocked()); });
    SetSimReadOnly(fPage->SimLocked());
}

void TGPRSFrame::SetSimReadOnly(bool readOnly) {
    for (QLineEdit* e : {PhoneEdit, PointEdit, UserEdit, PWDEdit})
        e->setReadOnly(readOnly);
}
