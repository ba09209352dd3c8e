#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Draws the edit's text in red while `valid` rejects it and in the normal
// text colour otherwise, on every change, typed or set by the page. It only
// marks: an invalid value is still written to the panel as it stands.
void RedWhenInvalid(QLineEdit* edit, std::function<bool(const QString&)> valid);
// Whether the edit's text is drawn in red now.
bool IsDrawnInvalid(const QLineEdit* edit);
