#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the tool goes through here: an error box (error
// icon, OK button) or a plain one. Tests replace the presenter so that no
// modal box stops them, and read what would have been shown.
enum class TBoxKind { Plain, Error };

using TMessagePresenter = std::function<void(QWidget* parent, TBoxKind kind, const QString& text)>;

void ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text);
// Replaces the presenter; an empty function brings the real boxes back.
void SetMessagePresenter(TMessagePresenter presenter);

// The caption of the tool's message boxes.
QString MessageBoxCaption();
