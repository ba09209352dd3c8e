#include "SaveLoadSettings.h"

#include "ComponentKind.h"
#include "FileUtils.h"
#include "StoredValues.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

#include <algorithm>
#include <optional>

namespace {

constexpr int kMinWidth = 3;
constexpr char kAlignProperty[] = "Align";
constexpr char kImageIndexProperty[] = "ImageIndex";

QString ValueName(const QString& component, const char* property) {
    return component + QLatin1Char('_') + QLatin1String(property);
}

QString ItemName(const QString& component, int index) {
    return component + QLatin1String("_Item") + QString::number(index);
}

// ---- Base set ---------------------------------------------------------------

struct TBaseSet {
    int Width = 0;
    int Height = 0;
    int Left = 0;
    int Top = 0;
    int Align = 0;
    bool Enabled = true;
    bool Visible = true;
};

TBaseSet BaseSetOf(const QWidget* widget) {
    const QRect geometry = widget->geometry();
    return {geometry.width(),
            geometry.height(),
            geometry.x(),
            geometry.y(),
            widget->property(kAlignProperty).toInt(),
            !widget->testAttribute(Qt::WA_Disabled),
            !widget->isHidden()};
}

void WriteBaseSet(QSettings& key, const QString& name, const TBaseSet& base) {
    WriteIntValue(key, ValueName(name, "Width"), base.Width);
    WriteIntValue(key, ValueName(name, "Height"), base.Height);
    WriteIntValue(key, ValueName(name, "Left"), base.Left);
    WriteIntValue(key, ValueName(name, "Top"), base.Top);
    WriteIntValue(key, ValueName(name, "Align"), base.Align);
    WriteBoolValue(key, ValueName(name, "Enabled"), base.Enabled);
    WriteBoolValue(key, ValueName(name, "Visible"), base.Visible);
}

// Reads the base set when its Width value exists; `base` stays empty when it
// does not. False when a value is missing or of the wrong type.
bool ReadBaseSet(const QSettings& key, const QString& name, std::optional<TBaseSet>& base) {
    if (!key.contains(ValueName(name, "Width")))
        return true;
    TBaseSet stored;
    if (!ReadIntValue(key, ValueName(name, "Width"), stored.Width) ||
        !ReadIntValue(key, ValueName(name, "Height"), stored.Height) ||
        !ReadIntValue(key, ValueName(name, "Left"), stored.Left) ||
        !ReadIntValue(key, ValueName(name, "Top"), stored.Top) ||
        !ReadIntValue(key, ValueName(name, "Align"), stored.Align) ||
        !ReadBoolValue(key, ValueName(name, "Enabled"), stored.Enabled) ||
        !ReadBoolValue(key, ValueName(name, "Visible"), stored.Visible))
        return false;
    stored.Width = std::max(stored.Width, kMinWidth);
    base = stored;
    return true;
}

// The one part of a control's base set that comes back: its share of the
// splitter it lies in. The other widgets of the splitter get their own
// stored sizes from the same save (or keep theirs), so the splitter is given
// the whole saved division at once and no widget undoes another's size.
void ApplySplitterSize(QWidget* widget, const std::optional<TBaseSet>& base, const QSettings& key) {
    auto* splitter = qobject_cast<QSplitter*>(widget->parentWidget());
    if (!base || !splitter || splitter->indexOf(widget) < 0)
        return;
    const bool horizontal = splitter->orientation() == Qt::Horizontal;
    const char* property = horizontal ? "Width" : "Height";
    QList<int> sizes = splitter->sizes();
    for (int i = 0; i < int(sizes.size()); ++i) {
        const QWidget* other = splitter->widget(i);
        int stored = 0;
        if (other == widget) {
            sizes[i] = horizontal ? base->Width : base->Height;
        } else if (!other->objectName().isEmpty() &&
                   ReadIntValue(key, ValueName(other->objectName(), property), stored)) {
            sizes[i] = horizontal ? std::max(stored, kMinWidth) : stored;
        } else if (sizes[i] <= 0) {
            // Not laid out yet: a size of 0 would collapse it.
            const QSize hint = other->sizeHint();
            sizes[i] = std::max(horizontal ? hint.width() : hint.height(), 1);
        }
        sizes[i] = std::max(sizes[i], 0);
    }
    splitter->setSizes(sizes);
}

// ---- Items ------------------------------------------------------------------

void WriteItems(QSettings& key, const QString& name, const QStringList& items) {
    for (int i = 0; i < int(items.size()); ++i)
        WriteStringValue(key, ItemName(name, i), items[i]);
}

bool ReadItems(const QSettings& key, const QString& name, int count, QStringList& items) {
    for (int i = 0; i < count; ++i) {
        QString item;
        if (!ReadStringValue(key, ItemName(name, i), item))
            return false;
        items.append(item);
    }
    return true;
}

// ---- Per kind ---------------------------------------------------------------

void SaveCaptioned(QWidget* widget, const QString& caption, QSettings& key) {
    const QString name = widget->objectName();
    WriteBaseSet(key, name, BaseSetOf(widget));
    WriteStringValue(key, ValueName(name, "Caption"), caption);
}

void SaveComboBox(QComboBox* combo, QSettings& key) {
    const QString name = combo->objectName();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    const QString text = combo->currentText();
    qsizetype textIndex = items.indexOf(text);
    if (textIndex < 0) {
        items.append(text);
        textIndex = items.size() - 1;
    }
    const int itemIndex = combo->isEditable() ? int(textIndex) : combo->currentIndex();
    WriteBaseSet(key, name, BaseSetOf(combo));
    WriteIntValue(key, ValueName(name, "ItemsCount"), int(items.size()));
    WriteIntValue(key, ValueName(name, "ItemIndex"), itemIndex);
    WriteItems(key, name, items);
}

void SaveListBox(QListWidget* list, QSettings& key) {
    const QString name = list->objectName();
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    WriteBaseSet(key, name, BaseSetOf(list));
    WriteIntValue(key, ValueName(name, "ItemsCount"), int(items.size()));
    WriteItems(key, name, items);
}

// The action that stands for a menu item: a menu's own action, or the item.
QAction* MenuItemAction(QObject* component) {
    if (auto* menu = qobject_cast<QMenu*>(component))
        return menu->menuAction();
    return qobject_cast<QAction*>(component);
}

void SaveMenuItem(QObject* component, QSettings& key) {
    const QString name = component->objectName();
    const QAction* action = MenuItemAction(component);
    WriteStringValue(key, ValueName(name, "Caption"), action->text());
    WriteBoolValue(key, ValueName(name, "Enabled"), action->isEnabled());
    WriteBoolValue(key, ValueName(name, "Visible"), action->isVisible());
}

void SaveAction(QAction* action, QSettings& key) {
    const QString name = action->objectName();
    const QVariant image = action->property(kImageIndexProperty);
    WriteIntValue(key, ValueName(name, "ImageIndex"), image.isValid() ? image.toInt() : -1);
    WriteStringValue(key, ValueName(name, "Caption"), action->text());
    WriteStringValue(key, ValueName(name, "Hint"), action->toolTip());
}

bool RestoreCaptioned(QWidget* widget, const QSettings& key, QString& caption) {
    std::optional<TBaseSet> base;
    if (!ReadBaseSet(key, widget->objectName(), base) ||
        !ReadStringValue(key, ValueName(widget->objectName(), "Caption"), caption))
        return false;
    ApplySplitterSize(widget, base, key);
    return true;
}

bool RestoreCheckBox(QCheckBox* box, const QSettings& key) {
    const QString name = box->objectName();
    std::optional<TBaseSet> base;
    QString caption;
    bool checked = false;
    int alignment = 0;
    if (!ReadBaseSet(key, name, base) || !ReadStringValue(key, ValueName(name, "Caption"), caption) ||
        !ReadBoolValue(key, ValueName(name, "Checked"), checked) ||
        !ReadIntValue(key, ValueName(name, "Alignment"), alignment))
        return false;
    ApplySplitterSize(box, base, key);
    box->setText(caption);
    box->setChecked(checked);
    return true;
}

bool RestoreRadioButton(QRadioButton* radio, const QSettings& key) {
    const QString name = radio->objectName();
    std::optional<TBaseSet> base;
    QString caption;
    bool checked = false;
    if (!ReadBaseSet(key, name, base) || !ReadStringValue(key, ValueName(name, "Caption"), caption) ||
        !ReadBoolValue(key, ValueName(name, "Checked"), checked))
        return false;
    ApplySplitterSize(radio, base, key);
    radio->setText(caption);
    // An exclusive button cannot be unchecked directly; the one stored as
    // checked unchecks the others of its group.
    radio->setChecked(checked);
    return true;
}

bool RestoreListBox(QListWidget* list, const QSettings& key) {
    const QString name = list->objectName();
    std::optional<TBaseSet> base;
    int count = 0;
    QStringList items;
    if (!ReadBaseSet(key, name, base) || !ReadIntValue(key, ValueName(name, "ItemsCount"), count) ||
        !ReadItems(key, name, count, items))
        return false;
    list->clear();
    list->addItems(items);
    ApplySplitterSize(list, base, key);
    return true;
}

bool RestoreComboBox(QComboBox* combo, const QSettings& key) {
    const QString name = combo->objectName();
    std::optional<TBaseSet> base;
    int count = 0;
    int itemIndex = -1;
    QStringList items;
    if (!ReadBaseSet(key, name, base) || !ReadIntValue(key, ValueName(name, "ItemsCount"), count) ||
        !ReadIntValue(key, ValueName(name, "ItemIndex"), itemIndex) || !ReadItems(key, name, count, items))
        return false;
    combo->clear();
    combo->addItems(items);
    ApplySplitterSize(combo, base, key);
    // Qt selects the first item of a refilled box by itself; an index beyond
    // the items selects nothing.
    itemIndex = std::max(itemIndex, 0);
    combo->setCurrentIndex(itemIndex < combo->count() ? itemIndex : -1);
    return true;
}

bool RestorePanel(QWidget* panel, const QSettings& key) {
    std::optional<TBaseSet> base;
    if (!ReadBaseSet(key, panel->objectName(), base))
        return false;
    ApplySplitterSize(panel, base, key);
    return true;
}

bool RestoreMenuItem(QObject* component, const QSettings& key) {
    const QString name = component->objectName();
    QString caption;
    bool enabled = true;
    bool visible = true;
    if (!ReadStringValue(key, ValueName(name, "Caption"), caption) ||
        !ReadBoolValue(key, ValueName(name, "Enabled"), enabled) ||
        !ReadBoolValue(key, ValueName(name, "Visible"), visible))
        return false;
    MenuItemAction(component)->setText(caption);
    return true;
}

bool RestoreAction(QAction* action, const QSettings& key) {
    const QString name = action->objectName();
    int image = -1;
    QString caption;
    QString hint;
    if (!ReadIntValue(key, ValueName(name, "ImageIndex"), image) ||
        !ReadStringValue(key, ValueName(name, "Caption"), caption) ||
        !ReadStringValue(key, ValueName(name, "Hint"), hint))
        return false;
    action->setProperty(kImageIndexProperty, image);
    action->setText(caption);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return true;
}

// ---- The window -------------------------------------------------------------

int WindowStateValue(const QWidget* window) {
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized)
        return 1;
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

// A window saved on a screen that is gone (a second monitor unplugged) would
// come back where nobody can see it; it then keeps only its size.
bool OnSomeScreen(const QRect& geometry) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->availableGeometry().intersects(geometry);
    });
}

// Two thirds of the screen, centred.
void PlaceForNormalState(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int third = area.width() / 3;
    const int thirdHigh = area.height() / 3;
    window->setGeometry(area.x() + third / 2, area.y() + thirdHigh / 2, third * 2, thirdHigh * 2);
}

// The window's own values; false when the controls are not to be restored
// (a failure, or no WindowState saved).
bool RestoreWindow(QWidget* window, const QSettings& key) {
    const QString name = window->objectName();
    std::optional<TBaseSet> base;
    if (!ReadBaseSet(key, name, base))
        return false;
    if (base) {
        const QRect stored(base->Left, base->Top, base->Width, base->Height);
        if (OnSomeScreen(stored))
            window->setGeometry(stored);
        else
            window->resize(stored.size());
    }
    int state = 0;
    if (!ReadIntValue(key, ValueName(name, "WindowState"), state))
        return false;
    if (state == 2) {
        PlaceForNormalState(window);
        window->setWindowState((window->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) |
                               Qt::WindowMaximized);
    }
    return true;
}

QObject* FindOwned(const QList<QObject*>& components, const QString& name) {
    for (QObject* component : components) {
        if (component->objectName() == name)
            return component;
    }
    return nullptr;
}

void SetCaption(QObject* component, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(component))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(component))
        action->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(component))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(component))
        label->setText(text);
}

void SetHint(QObject* component, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(component)) {
        action->setToolTip(text);
        action->setStatusTip(text);
    } else if (auto* widget = qobject_cast<QWidget*>(component)) {
        widget->setToolTip(text);
        widget->setStatusTip(text);
    }
}

} // namespace

void SaveComponent(QObject* component, QSettings& key) {
    switch (ComponentKind(component)) {
    case TComponentKind::None: break;
    case TComponentKind::Panel:
    case TComponentKind::Memo: {
        auto* widget = static_cast<QWidget*>(component);
        WriteBaseSet(key, widget->objectName(), BaseSetOf(widget));
        break;
    }
    case TComponentKind::Button:
        SaveCaptioned(static_cast<QPushButton*>(component), static_cast<QPushButton*>(component)->text(),
                      key);
        break;
    case TComponentKind::Label:
        SaveCaptioned(static_cast<QLabel*>(component), static_cast<QLabel*>(component)->text(), key);
        break;
    case TComponentKind::CheckBox: {
        auto* box = static_cast<QCheckBox*>(component);
        SaveCaptioned(box, box->text(), key);
        WriteBoolValue(key, ValueName(box->objectName(), "Checked"), box->isChecked());
        WriteIntValue(key, ValueName(box->objectName(), "Alignment"),
                      box->layoutDirection() == Qt::RightToLeft ? 0 : 1);
        break;
    }
    case TComponentKind::RadioButton: {
        auto* radio = static_cast<QRadioButton*>(component);
        SaveCaptioned(radio, radio->text(), key);
        WriteBoolValue(key, ValueName(radio->objectName(), "Checked"), radio->isChecked());
        break;
    }
    case TComponentKind::ListBox: SaveListBox(static_cast<QListWidget*>(component), key); break;
    case TComponentKind::ComboBox: SaveComboBox(static_cast<QComboBox*>(component), key); break;
    case TComponentKind::MenuItem: SaveMenuItem(component, key); break;
    case TComponentKind::Action: SaveAction(static_cast<QAction*>(component), key); break;
    }
}

bool RestoreComponent(QObject* component, QSettings& key) {
    switch (ComponentKind(component)) {
    case TComponentKind::None: return true;
    case TComponentKind::Panel:
    case TComponentKind::Memo: return RestorePanel(static_cast<QWidget*>(component), key);
    case TComponentKind::Button: {
        auto* button = static_cast<QPushButton*>(component);
        QString caption;
        if (!RestoreCaptioned(button, key, caption))
            return false;
        button->setText(caption);
        return true;
    }
    case TComponentKind::Label: {
        auto* label = static_cast<QLabel*>(component);
        QString caption;
        if (!RestoreCaptioned(label, key, caption))
            return false;
        label->setText(caption);
        return true;
    }
    case TComponentKind::CheckBox: return RestoreCheckBox(static_cast<QCheckBox*>(component), key);
    case TComponentKind::RadioButton: return RestoreRadioButton(static_cast<QRadioButton*>(component), key);
    case TComponentKind::ListBox: return RestoreListBox(static_cast<QListWidget*>(component), key);
    case TComponentKind::ComboBox: return RestoreComboBox(static_cast<QComboBox*>(component), key);
    case TComponentKind::MenuItem: return RestoreMenuItem(component, key);
    case TComponentKind::Action: return RestoreAction(static_cast<QAction*>(component), key);
    }
    return true;
}

void SaveForm(QWidget* window) {
    if (!window || window->objectName().isEmpty())
        return;
    const QString name = window->objectName();
    QSettings key(kSettingsOrganization, kSettingsApplication);
    key.remove(name);
    key.beginGroup(name);
    WriteBaseSet(key, name, BaseSetOf(window));
    WriteIntValue(key, ValueName(name, "WindowState"), WindowStateValue(window));
    for (QObject* component : OwnedComponents(window))
        SaveComponent(component, key);
    key.endGroup();
}

void RestoreForm(QWidget* window) {
    if (!window || window->objectName().isEmpty())
        return;
    QSettings key(kSettingsOrganization, kSettingsApplication);
    key.beginGroup(window->objectName());
    if (!RestoreWindow(window, key))
        return;
    for (QObject* component : OwnedComponents(window)) {
        if (!RestoreComponent(component, key))
            return;
    }
}

void ResetCaptions(QWidget* mainWindow, std::span<const TCaptionEntry> captions,
                   const QStringList& pageNames) {
    if (!mainWindow)
        return;
    const QList<QObject*> components = OwnedComponents(mainWindow);
    for (const TCaptionEntry& entry : captions) {
        QObject* component = FindOwned(components, QLatin1String(entry.Component));
        if (!component)
            continue;
        const QString text = QString::fromUtf8(entry.Text);
        if (qstrcmp(entry.Property, "Hint") == 0)
            SetHint(component, text);
        else
            SetCaption(component, text);
    }
    if (auto* pageList = qobject_cast<QListWidget*>(FindOwned(components, QStringLiteral("PageList")))) {
        pageList->clear();
        pageList->addItems(pageNames);
    }
}
