#include "FileChoice.h"

#include <QDir>
#include <QFileDialog>

QString ChooseFileName(QWidget* parent, const TFileChoice& choice) {
    QFileDialog dialog(parent, choice.Caption);
    dialog.setAcceptMode(choice.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(QDir::homePath());
    if (!choice.DefaultSuffix.isEmpty())
        dialog.setDefaultSuffix(choice.DefaultSuffix);
    if (!choice.Filter.isEmpty())
        dialog.setNameFilter(choice.Filter);
    if (!choice.DefaultName.isEmpty())
        dialog.selectFile(choice.DefaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
