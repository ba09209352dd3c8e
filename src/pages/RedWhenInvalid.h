#pragma once

#include <QString>

#include <functional>

class QLineEdit;

// Draws the edit's text in red while `valid` rejects it and in the normal
// text colour otherwise, on every change, typed or set by the page. It only
// marks: an invalid value is still written to the panel as it stands.
// While red, the edit's tool tip says why (`why`, when given); the tool tip
// it had before comes back with a valid text.
void RedWhenInvalid(QLineEdit* edit, std::function<bool(const QString&)> valid, const QString& why = {});
// Whether the edit's text is drawn in red now.
bool IsDrawnInvalid(const QLineEdit* edit);
