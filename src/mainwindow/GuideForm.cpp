#include "GuideForm.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TGuideForm::TGuideForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GuideForm"));
    setWindowTitle(QStringLiteral("Руководство пользователя"));
    setModal(false);
    resize(820, 640);
    fBrowser = new QTextBrowser(this);
    fBrowser->setObjectName(QStringLiteral("GuideBrowser"));
    fBrowser->setAccessibleName(QStringLiteral("Руководство пользователя"));
    fBrowser->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(this);
    auto* back = buttons->addButton(QStringLiteral("Назад"), QDialogButtonBox::ActionRole);
    back->setObjectName(QStringLiteral("BackButton"));
    back->setEnabled(false);
    auto* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    connect(back, &QPushButton::clicked, fBrowser, &QTextBrowser::backward);
    connect(fBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fBrowser, 1);
    layout->addWidget(buttons);
}

bool TGuideForm::Open(const QString& file) {
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
        fBrowser->setPlainText(
            QStringLiteral("Руководство пользователя не найдено%1. Оно устанавливается вместе с программой "
                           "(пакет tarvik1) и лежит в репозитории в папке docs.")
                .arg(file.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(file)));
        return false;
    }
    // Pictures and links are found beside the guide.
    fBrowser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()), QTextDocument::MarkdownResource);
    return true;
}

QString TGuideForm::Text() const {
    return fBrowser->toPlainText();
}
