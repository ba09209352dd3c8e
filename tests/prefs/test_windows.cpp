#include "test_windows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T> T* Named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

QAction* NamedAction(QObject* parent, const char* name, const QString& text, int image) {
    auto* action = Named(new QAction(text, parent), name);
    if (image >= 0)
        action->setProperty("ImageIndex", image);
    return action;
}

} // namespace

TTestMainForm::TTestMainForm() {
    setObjectName("MainForm");

    ConnectAction = NamedAction(this, "ConnectAction", "Подключиться", 0);
    ConnectAction->setToolTip("Подключиться");
    DisconnectAction = NamedAction(this, "DisconnectAction", "Отключиться", 1);
    ReadAction = NamedAction(this, "ReadAction", "Прочитать", 2);

    MConnect = Named(menuBar()->addMenu("Соединение"), "MConnect");
    MConnect->addAction(ConnectAction);
    MConnect->addAction(DisconnectAction);
    MSettings = Named(menuBar()->addMenu("Настройки"), "MSettings");
    MSettings->addAction(ReadAction);
    MSSeparator1 = Named(MSettings->addSeparator(), "MSSeparator1");
    MAbout = Named(MSettings->addAction("О программе"), "MAbout");

    auto* toolBar = Named(addToolBar("tools"), "ToolBar1");
    toolBar->addAction(ConnectAction);
    toolBar->addAction(DisconnectAction);
    Named(statusBar(), "InfoBar");

    auto* panel5 = Named(new QWidget, "Panel5");
    auto* panel5Layout = new QVBoxLayout(panel5);
    panel5Layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = Named(new QSplitter(Qt::Vertical), "Splitter1");
    panel5Layout->addWidget(Splitter1);

    Panel2 = Named(new QWidget, "Panel2");
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    Splitter2 = Named(new QSplitter(Qt::Horizontal), "Splitter2");
    panel2Layout->addWidget(Splitter2);

    Panel3 = Named(new QWidget, "Panel3");
    auto* panel3Layout = new QVBoxLayout(Panel3);
    panel3Layout->setContentsMargins(0, 0, 0, 0);
    PageList = Named(new QListWidget, "PageList");
    panel3Layout->addWidget(PageList);
    Panel4 = Named(new QFrame, "Panel4");
    auto* panel4Layout = new QVBoxLayout(Panel4);
    CommonFrame = Named(new QWidget, "CommonFrame");
    CommonFrame->setProperty("NotStored", true);
    PageCheck = Named(new QCheckBox("page", CommonFrame), "PageCheck");
    panel4Layout->addWidget(CommonFrame);
    Splitter2->addWidget(Panel3);
    Splitter2->addWidget(Panel4);
    Splitter2->setStretchFactor(1, 1);

    Panel1 = Named(new QWidget, "Panel1");
    auto* panel1Layout = new QVBoxLayout(Panel1);
    LogMemo = Named(new QPlainTextEdit, "LogMemo");
    AutoscrollCheckBox = Named(new QCheckBox("Прокрутка"), "AutoscrollCheckBox");
    ClearLogButton = Named(new QPushButton("Очистить"), "ClearLogButton");
    SaveLogButton = Named(new QPushButton("Сохранить"), "SaveLogButton");
    panel1Layout->addWidget(LogMemo);
    panel1Layout->addWidget(AutoscrollCheckBox);
    panel1Layout->addWidget(ClearLogButton);
    panel1Layout->addWidget(SaveLogButton);
    Splitter1->addWidget(Panel2);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(0, 1);

    setCentralWidget(panel5);

    ErrorListForm = Named(new QDialog(this), "ErrorListForm");
    Named(new QListWidget(ErrorListForm), "ErrorListBox");
}

TTestConnectForm::TTestConnectForm() {
    setObjectName("ConnectForm");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Named(new QLabel("Порт:"), "PortLabel"));
    PortCombo = Named(new QComboBox, "PortCombo");
    layout->addWidget(PortCombo);
    layout->addWidget(Named(new QToolButton, "RefreshPortsButton"));

    auto* group = Named(new QGroupBox("Тип и параметры подключения"), "ParamGroup");
    auto* groupLayout = new QVBoxLayout(group);
    CableRadio = Named(new QRadioButton("Кабель програмирования"), "CableRadio");
    CableRadio->setChecked(true);
    GSMRadio = Named(new QRadioButton("GSM-модем"), "GSMRadio");
    PhoneCombo = Named(new QComboBox, "PhoneCombo");
    PhoneCombo->setEditable(true);
    groupLayout->addWidget(CableRadio);
    groupLayout->addWidget(GSMRadio);
    groupLayout->addWidget(Named(new QLabel("Номер телефона:"), "PhoneLabel"));
    groupLayout->addWidget(PhoneCombo);
    layout->addWidget(group);

    ConnectButton = Named(new QPushButton("Подключить"), "ConnectButton");
    layout->addWidget(ConnectButton);
    layout->addWidget(Named(new QPushButton("Отмена"), "CancelButton"));
}
