#pragma once

#include <QList>

class QObject;
class QWidget;

// The kinds of controls whose state is kept, and the Qt classes that stand
// for them. A control has one kind only; the first row that fits wins.
//
//   Action       QAction whose object name ends in "Action" (the window's
//                actions: image index kept as the dynamic property
//                "ImageIndex", caption = text, hint = tool tip and status tip)
//   MenuItem     QMenu (caption = title; enabled and visible are those of its
//                menuAction()), or any other named QAction that is shown in a
//                menu, separators included
//   CheckBox     QCheckBox
//   RadioButton  QRadioButton
//   Button       QPushButton
//   Label        QLabel
//   ListBox      QListWidget
//   ComboBox     QComboBox
//   Memo         QPlainTextEdit, QTextEdit
//   Panel        a plain container: exactly a QWidget or a QFrame
//
// Anything else (tool bars, tool buttons, splitters, group boxes, stacked
// widgets, status bars, menu bars, dialogs, timers, layouts) is not kept.
enum class TComponentKind {
    None,
    Panel,
    Memo,
    Button,
    Label,
    CheckBox,
    RadioButton,
    ListBox,
    ComboBox,
    MenuItem,
    Action,
};

TComponentKind ComponentKind(const QObject* component);

// A widget with this dynamic property set to true is left out together with
// everything inside it; the main window marks its pages so, since they keep
// their own state.
inline constexpr char kNotStoredProperty[] = "NotStored";

// The components a window owns, in a stable order (depth first, each parent
// before its children, siblings in creation order, as findChildren gives
// them): the window's named descendants. Unnamed objects and Qt's internal
// ones (names beginning with "qt_") are passed over but their children are
// still visited; other windows (dialogs) and widgets marked with
// kNotStoredProperty are left out with their contents. Menus are popups but
// belong to the window, so they are visited.
QList<QObject*> OwnedComponents(const QWidget* window);
