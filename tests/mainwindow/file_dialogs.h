#pragma once

// Plays the user in the standard file dialogs: each dialog that opens gets
// the next path typed in and is accepted (an empty path cancels it), and
// how it looked is noted. A dialog beyond the paths given is a failure and
// is cancelled, so that no test waits on a dialog nobody answers.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

class FileDialogAnswers {
public:
    struct Seen {
        QString Title;
        QStringList Filters;
        QString Suffix;
        QFileDialog::AcceptMode Accept = QFileDialog::AcceptOpen;
        QFileDialog::FileMode Mode = QFileDialog::AnyFile;
    };

    explicit FileDialogAnswers(QStringList paths = {}) : fPaths(std::move(paths)) {
        QObject::connect(&fTimer, &QTimer::timeout, [this] { look(); });
        fTimer.start(10);
    }

    std::vector<Seen> seen;
    // Every path given has been used.
    bool used() const { return fPaths.isEmpty(); }

private:
    void look() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == fLast)
            return;
        fLast = dialog;
        seen.push_back({dialog->windowTitle(), dialog->nameFilters(), dialog->defaultSuffix(),
                        dialog->acceptMode(), dialog->fileMode()});
        if (fPaths.isEmpty()) {
            ADD_FAILURE() << "an unexpected file dialog: " << dialog->windowTitle().toStdString();
            dialog->reject();
            return;
        }
        const QString path = fPaths.takeFirst();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    }

    QStringList fPaths;
    QPointer<QFileDialog> fLast;
    QTimer fTimer;
};
