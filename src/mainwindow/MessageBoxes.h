#pragma once

#include "pages/PageHost.h"

#include <QString>

#include <functional>

class QWidget;

// Every message box of the tool goes through here: an error box (error
// icon, OK button), a plain one, a question (confirmation icon, Yes and No)
// or a question that may be cancelled (Yes, No and Cancel). A box may carry
// a detail under its text (the system's reason for a failure). Tests
// replace the presenter so that no modal box stops them, read what would
// have been shown and answer the questions.
enum class TBoxKind { Plain, Error, Question, QuestionCancel };

struct TMessage {
    TBoxKind Kind = TBoxKind::Plain;
    QString Text;
    QString Detail;
};

// A presenter's answer: a bool is Yes (true) or No; a question that may be
// cancelled may also be answered TAnswer::Cancel.
struct TBoxAnswer {
    TBoxAnswer(bool yes) : Answer(yes ? TAnswer::Yes : TAnswer::No) {}
    TBoxAnswer(TAnswer answer) : Answer(answer) {}
    TAnswer Answer;
};

// Returns the answer to a question; other boxes answer Yes.
using TMessagePresenter = std::function<TBoxAnswer(QWidget* parent, const TMessage& message)>;

// True for Yes (and for every box that is no question).
bool ShowMessageBox(QWidget* parent, TBoxKind kind, const QString& text, const QString& detail = {});

// Pages changed and not written: Записать (Yes), Не записывать (No),
// Отмена (Cancel, also Esc).
TAnswer AskUnwrittenBox(QWidget* parent, const QString& text);

// The "О программе" box: the program's icon, a rich text, one OK.
void ShowAbout(QWidget* parent, const QString& title, const QString& text);
// A question with Yes, No and Cancel; Escape or closing the box cancels.
TAnswer AskMessageBox(QWidget* parent, const QString& text);
// Replaces the presenter; an empty function brings the real boxes back.
void SetMessagePresenter(TMessagePresenter presenter);

// The caption of the tool's message boxes.
QString MessageBoxCaption();
