#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the tool goes through here: an error box (error
// icon, OK button), a plain one, or a question (confirmation icon, Yes and
// No). A box may carry a detail under its text (the system's reason for a
// failure). Tests replace the presenter so that no modal box stops them,
// read what would have been shown and answer the questions.
enum class TBoxKind { Plain, Error, Question };

struct TMessage {
    TBoxKind Kind = TBoxKind::Plain;
    QString Text;
    QString Detail;
};

// Returns the answer to a question (true for Yes); other boxes return true.
using TMessagePresenter = std::function<bool(QWidget* parent, const TMessage& message)>;

bool ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text, const QString& detail = {});
// Replaces the presenter; an empty function brings the real boxes back.
void SetMessagePresenter(TMessagePresenter presenter);

// The caption of the tool's message boxes.
QString MessageBoxCaption();
