#pragma once

#include <QDialog>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;

// A main window with the names and nesting that matter for its saved state:
// the page list in Panel3 on the left of a horizontal splitter, the page area
// Panel4 on the right, both in Panel2 above the log panel Panel1 in a
// vertical splitter; a menu with actions, a named separator and a plain
// menu item; a tool bar, a status bar, a page marked as not stored and an
// owned error-list dialog, none of which may be stored.
class TTestMainForm : public QMainWindow {
public:
    TTestMainForm();

    QSplitter* Splitter1;
    QSplitter* Splitter2;
    QWidget* Panel1;
    QWidget* Panel2;
    QWidget* Panel3;
    QWidget* Panel4;
    QListWidget* PageList;
    QPlainTextEdit* LogMemo;
    QCheckBox* AutoscrollCheckBox;
    QPushButton* ClearLogButton;
    QPushButton* SaveLogButton;
    QMenu* MConnect;
    QMenu* MSettings;
    QAction* MSSeparator1;
    QAction* MAbout;
    QAction* ConnectAction;
    QAction* DisconnectAction;
    QAction* ReadAction;
    QWidget* CommonFrame;
    QCheckBox* PageCheck;
    QDialog* ErrorListForm;
};

// The connection dialog's controls, in the dialog's order.
class TTestConnectForm : public QDialog {
public:
    TTestConnectForm();

    QComboBox* PortCombo;
    QRadioButton* CableRadio;
    QRadioButton* GSMRadio;
    QComboBox* PhoneCombo;
    QPushButton* ConnectButton;
};
