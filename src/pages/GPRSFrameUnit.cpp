#include "GPRSFrameUnit.h"

#include "Accessibility.h"
#include "FieldBindings.h"
#include "GPRSCodec.h"
#include "KeptValue.h"
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

TGPRSFrame::TGPRSFrame(IPageHost& host, QWidget* parent) : TPageFrame(host, ptGPRS, parent) {
    setObjectName(QStringLiteral("GPRSFrame"));
    BuildControls();
    DescribeParams();
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
    Label6 = named(
        new QLabel(QStringLiteral("Пауза между попытками установить GPRS соединение, мин."), InternetGroup),
        "Label6");
    Label6->setWordWrap(true);
    GPRSRepeatComboBox = named(new QComboBox(InternetGroup), "GPRSRepeatComboBox");
    GPRSRepeatComboBox->setEditable(false);
    GPRSRepeatComboBox->addItems(GPRSPauseItems());
    GPRSRepeatComboBox->setCurrentIndex(-1);
    Label7 = named(new QLabel(QStringLiteral("Пароль для идентификации:"), InternetGroup), "Label7");
    PasswordEdit = edit(InternetGroup, "PasswordEdit");
    Panel1 = named(Heading(QStringLiteral("Основные (IP1)"), InternetGroup), "Panel1");
    Label8 = named(new QLabel(QStringLiteral("IP адрес сервера:"), InternetGroup), "Label8");
    IPEdit1 = edit(InternetGroup, "IPEdit1");
    Label9 = named(new QLabel(QStringLiteral("Порт сервера:"), InternetGroup), "Label9");
    PortEdit1 = edit(InternetGroup, "PortEdit1");
    Panel2 = named(Heading(QStringLiteral("Резервные (IP2)"), InternetGroup), "Panel2");
    Label11 = named(new QLabel(QStringLiteral("IP адрес сервера:"), InternetGroup), "Label11");
    IPEdit2 = edit(InternetGroup, "IPEdit2");
    Label10 = named(new QLabel(QStringLiteral("Порт сервера:"), InternetGroup), "Label10");
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
    Label1 = named(new QLabel(QStringLiteral("Оператор:"), GroupBox1), "Label1");
    OperatorsCombo = named(new QComboBox(GroupBox1), "OperatorsCombo");
    OperatorsCombo->setEditable(false);
    OperatorsCombo->addItems(GPRSOperatorItems());
    Label2 = named(new QLabel(QStringLiteral("Номер телефона:"), GroupBox1), "Label2");
    PhoneEdit = edit(GroupBox1, "PhoneEdit");
    Label3 = named(new QLabel(QStringLiteral("Точка доступа:"), GroupBox1), "Label3");
    PointEdit = edit(GroupBox1, "PointEdit");
    Label4 = named(new QLabel(QStringLiteral("Имя пользователя:"), GroupBox1), "Label4");
    UserEdit = edit(GroupBox1, "UserEdit");
    Label5 = named(new QLabel(QStringLiteral("Пароль:"), GroupBox1), "Label5");
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

    // Only the user's own choice applies a preset; a program's choice (a
    // read, a loaded file) selects the operator and nothing more.
    connect(OperatorsCombo, &QComboBox::activated, this, &TGPRSFrame::OperatorsComboChange);
}

void TGPRSFrame::DescribeParams() {
    const TGPRSValues defaults = GPRSDefaults();
    // A pause list without selection writes five minutes and is saved so.
    const TPageField* pause = &fParams.Number(QStringLiteral("GPRSPause"),
                                              {.GetNumber =
                                                   [this] {
                                                       const int index = GPRSRepeatComboBox->currentIndex();
                                                       return index >= 0 ? index : GPRSPauseDefaultIndex;
                                                   },
                                               .SetNumber = Bind(GPRSRepeatComboBox).SetNumber,
                                               .Caption = Bind(GPRSRepeatComboBox).Caption},
                                              defaults.PauseIndex, 0, GPRSPauseCount - 1);
    const TPageField* password =
        &fParams.Text(QStringLiteral("Password"), Bind(PasswordEdit), defaults.Password);
    // The two servers' edits have the same labels: their headings tell them
    // apart.
    const auto server = [this](const QString& key, QLineEdit* edit, QLabel* heading, const QString& value) {
        TPageField& field = fParams.Text(key, Bind(edit), value);
        field.Caption = heading->text() + QStringLiteral(": ") + ControlCaption(edit);
        return &field;
    };
    FIP1 = server(QStringLiteral("IP1"), IPEdit1, Panel1, defaults.IP1);
    FPort1 = server(QStringLiteral("Port1"), PortEdit1, Panel1, defaults.Port1);
    FIP2 = server(QStringLiteral("IP2"), IPEdit2, Panel2, defaults.IP2);
    FPort2 = server(QStringLiteral("Port2"), PortEdit2, Panel2, defaults.Port2);
    fParams.Number(QStringLiteral("Opsos"), Bind(OperatorsCombo), defaults.Operator, 0,
                   GPRSOperatorCount - 1);
    FPhone = &fParams.Text(QStringLiteral("Phone"), Bind(PhoneEdit), defaults.Phone);
    FPoint = &fParams.Text(QStringLiteral("Point"), Bind(PointEdit), defaults.Point);
    FUser = &fParams.Text(QStringLiteral("UserName"), Bind(UserEdit), defaults.UserName);
    FUserPWD = &fParams.Text(QStringLiteral("UserPWD"), Bind(PWDEdit), defaults.UserPWD);

    const std::pair<QString TGPRSValues::*, const TPageField*> texts[] = {
        {&TGPRSValues::Phone, FPhone},      {&TGPRSValues::Point, FPoint},
        {&TGPRSValues::UserName, FUser},    {&TGPRSValues::UserPWD, FUserPWD},
        {&TGPRSValues::Password, password}, {&TGPRSValues::IP1, FIP1},
        {&TGPRSValues::Port1, FPort1},      {&TGPRSValues::IP2, FIP2},
        {&TGPRSValues::Port2, FPort2},
    };
    for (const TGPRSParam& p : GPRSParams()) {
        const QString command = QString::fromLatin1(p.Command);
        const QString readName = QString::fromUtf8(p.ReadName);
        const QString writeName = QString::fromUtf8(p.WriteName);
        if (!p.Text) {
            // A value that does not convert selects "5" and is not reported.
            fParams.Param({
                .Command = command,
                .ReadName = readName,
                .Decode =
                    [pause](const QString& value) {
                        pause->SetNumber(DecodeGPRSPause(value));
                        return true;
                    },
                .Encode = [pause] { return std::optional<QString>(EncodeGPRSPause(pause->Number())); },
                .WriteName = writeName,
            });
            continue;
        }
        const TPageField* field = nullptr;
        for (const auto& [member, f] : texts) {
            if (member == p.Text)
                field = f;
        }
        Q_ASSERT(field);
        TPageParam& param = fParams.TextParam(command, readName, *field, writeName);
        // An empty text goes out as the read command: the panel answers with
        // the value it keeps, which is no write.
        param.CheckWrite = [writeName](const QString& value,
                                       const QStringList& answer) -> std::optional<QString> {
            if (const std::optional<QString> kept = KeptValueAfterWrite(value, answer))
                return KeptValueErrorName(writeName, *kept);
            return std::nullopt;
        };
        if (field == FPoint) {
            param.Decode = [this](const QString& value) {
                FPoint->SetText(value);
                RecognizeOperatorOf(value);
                return true;
            };
        }
    }
}

void TGPRSFrame::Init() {
    OperatorsCombo->setCurrentIndex(opBeeline);
    OperatorsComboChange();
}

void TGPRSFrame::WritePage() {
    RunOperation(wmWrite, [this](QStringList& errors) {
        TGPRSValues servers;
        servers.IP1 = FIP1->Text();
        servers.Port1 = FPort1->Text();
        servers.IP2 = FIP2->Text();
        servers.Port2 = FPort2->Text();
        FillReserveServer(servers);
        FIP2->SetText(servers.IP2);
        FPort2->SetText(servers.Port2);
        fParams.Write(fHost.Exchange(), errors);
    });
}

void TGPRSFrame::SetDefault() {
    TPageFrame::SetDefault();
    OperatorsComboChange();
}

void TGPRSFrame::SetSettings(const QStringList& List) {
    TSettingsLoad load = fParams.LoadSettings(List);
    if (!load.Usable()) {
        SetDefault();
        return;
    }
    load.ApplyAll();
    SetSimReadOnly(OperatorLocksSimEdits(OperatorsCombo->currentIndex()));
}

void TGPRSFrame::OperatorsComboChange() {
    if (FMode != wmNull)
        return;
    const std::optional<TOperatorPreset> preset = OperatorPreset(OperatorsCombo->currentText());
    if (preset) {
        FPhone->SetText(preset->Phone);
        FPoint->SetText(preset->Point);
        FUser->SetText(preset->User);
        FUserPWD->SetText(preset->Password);
    }
    SetSimReadOnly(preset.has_value());
}

void TGPRSFrame::SetSimReadOnly(bool readOnly) {
    for (QLineEdit* e : {PhoneEdit, PointEdit, UserEdit, PWDEdit})
        e->setReadOnly(readOnly);
}

void TGPRSFrame::RecognizeOperatorOf(const QString& accessPoint) {
    const TGPRSOperator op = RecognizeOperator(accessPoint);
    OperatorsCombo->setCurrentIndex(op);
    SetSimReadOnly(OperatorLocksSimEdits(op));
}
