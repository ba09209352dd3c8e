#pragma once

#include <QDialog>

class QTextBrowser;

// The user's guide in a window of its own, beside the main window: the
// Markdown file with its pictures, links followed inside it.
class TGuideForm : public QDialog {
    Q_OBJECT
public:
    explicit TGuideForm(QWidget* parent = nullptr);

    // Shows the guide from `file`; false (and a word in the window) when it
    // cannot be read.
    bool Open(const QString& file);
    QString Text() const;

private:
    QTextBrowser* fBrowser;
};
