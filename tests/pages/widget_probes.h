#pragma once

// What the page and window tests do to a page's controls: find one by its
// object name, type into one, read the names a screen reader announces.
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// The named control under `parent`; a failed expectation when there is none.
template <typename T> T* FindControl(const QObject* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// Types each character as one key press carrying it (any letter, not only
// the ones on a Latin keyboard), without the releases.
inline void pressText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

// The same with each key released again.
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// The name a control is announced with.
inline QString accessibleName(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QString();
}

// The label a control is read with: on this platform a combo box's name is
// its value and its label comes as a relation.
inline QString labelledBy(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    if (!i)
        return {};
    for (const auto& rel : i->relations(QAccessible::Label))
        return rel.first->text(QAccessible::Name);
    return {};
}
