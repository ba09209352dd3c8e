#pragma once

#include <QStringList>

#include <span>

class QObject;
class QSettings;
class QWidget;

// A window's state between runs, in the group of QSettings("Velmor",
// "Tarvik1") named after the window's object name (MainForm, ConnectForm).
// The controls the window owns and their kinds are those of ComponentKind.h.
//
// Value names are "<component>_<property>" (MainForm_Width, ConnectAction_Hint),
// item lists "<name>_ItemsCount", "<name>_Item<n>" numbered from 0 and, for
// combo boxes, "<name>_ItemIndex". Integers are stored as numbers, Booleans
// as 0 and 1, texts as strings. What is stored, in this order:
//
//   base set      Width, Height, Left, Top (the geometry within the parent),
//                 Align (the dynamic property "Align", 0 when unset: Qt has
//                 no docking), Enabled, Visible (the widget's own flags)
//   Panel, Memo   base set
//   Button, Label base set, Caption
//   CheckBox      base set, Caption, Checked, Alignment (0 when the text is
//                 left of the box, i.e. right-to-left layout; 1 otherwise)
//   RadioButton   base set, Caption, Checked
//   ListBox       base set, ItemsCount, Item0..
//   ComboBox      base set, ItemsCount, ItemIndex, Item0.. (see below)
//   MenuItem      Caption, Enabled, Visible
//   Action        ImageIndex (-1 when unset), Caption, Hint (the tool tip)
//   the window    base set under its own name, then WindowState (0 normal,
//                 1 minimized, 2 maximized)
//
// A combo box whose current text equals none of its items exactly gets that
// text (even an empty one) added to the saved items; this is how a newly
// typed telephone number is kept. ItemIndex is the current index, for an
// editable box the index of the item equal to its text, so that the text
// comes back as it was.
//
// Qt lays the controls out itself, so restoring brings back what the user
// changes: captions, hints, image indexes, check states, list and combo
// items, the combo's selection, and splitter positions: a control whose
// parent is a QSplitter gets its stored Width (horizontal splitter) or
// Height (vertical splitter) as its splitter size. Give the splitter's other
// side the stretch (QSplitter::setStretchFactor) so that this size survives
// the window's own resizing. Left, Top, Align, Enabled and Visible of the
// controls, the check box's Alignment and the menu items' Enabled and
// Visible are checked but not applied: the layout and the window's
// connection state own them. The window gets its stored geometry back (only
// its size when that geometry lies on no screen any more) and,
// when it was maximized, a normal geometry of two thirds of the screen,
// centred, and is maximized.

// Replaces the window's saved state with its current one.
void SaveForm(QWidget* window);

// Brings the window's saved state back: first the window itself, then, only
// when its WindowState was saved, the controls in order. A stored width
// below 3 comes back as 3. A control without a Width value skips its base
// set and keeps its layout; any other value that is missing, or any value of
// the wrong type, ends the restore silently: the controls restored before
// stay restored and the control that failed keeps its state unchanged (a
// list is not emptied by a failure).
void RestoreForm(QWidget* window);

// One control's values, by its kind; `key` is in the window's group.
// Controls of no kind are left alone. RestoreComponent returns false when a
// value is missing or of the wrong type; the control is then unchanged.
void SaveComponent(QObject* component, QSettings& key);
bool RestoreComponent(QObject* component, QSettings& key);

// One built-in text of a window: which component, which property
// ("Caption" or "Hint"), which text.
struct TCaptionEntry {
    const char* Component;
    const char* Property;
    const char* Text; // UTF-8
};

// Puts the built-in texts of the main window back (captions of menus, log
// buttons and actions, hints of the actions; the window's own table) and
// refills the list box "PageList" with `pageNames`. Components the window
// lacks are passed over.
void ResetCaptions(QWidget* mainWindow, std::span<const TCaptionEntry> captions,
                   const QStringList& pageNames);
