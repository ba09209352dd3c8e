#include "FirmwareActions.h"

#include "firmware/FirmwareImage.h"
#include "firmware/ImageSummary.h"
#include "firmware/UpdateFirmware.h"
#include "firmware/UpdateProgressUnit.h"
#include "pages/PageHost.h"

#include <QWidget>

namespace {

const QString kNotNeeded = QStringLiteral("Обновление не требуется");
const QString kNoBuiltInImage = QStringLiteral("Ошибка извлечения файла прощивки");

QString ConfirmationText(const TFirmwareImage& image) {
    QStringList text = SummaryText(SummariseImage(image));
    text << QString()
         << QStringLiteral("Записать эту прошивку в панель? Панель перейдёт в загрузчик, её флеш-память "
                           "будет очищена; после записи панель будет отключена.");
    return text.join(QLatin1Char('\n'));
}

} // namespace

QString TFirmwareActions::SafetyCopyQuestion() {
    return QStringLiteral("После обновления прошивки панель может начать работу с настройками по умолчанию. "
                          "Прочитать настройки панели и сохранить их в файл перед обновлением?");
}

QString TFirmwareActions::IncompleteCopyQuestion() {
    return QStringLiteral("Не все настройки прочитаны из панели (см. список ошибок): часть значений в копии "
                          "будет не из панели. Всё равно сохранить копию и продолжить обновление?");
}

TFirmwareActions::TFirmwareActions(IPageHost& host, QWidget* window) : fHost(host), fWindow(window) {}

TFirmwareActions::~TFirmwareActions() {
    // The window listens to the engine: it goes first.
    delete fForm;
}

bool TFirmwareActions::CloseRequested() {
    if (!Running() || !fForm)
        return false;
    if (fCloseAfterUpload)
        return true;
    if (!fForm->CanStop()) {
        // Stopping already, or only the final check is left: the window
        // waits for the end.
        fCloseAfterUpload = true;
        return true;
    }
    fCloseAsked = true;
    fForm->AskToStop();
    return true;
}

void TFirmwareActions::UpdateFromFile() {
    if (Running())
        return;
    // The standard open dialog, as it comes: its own caption, every file.
    TFileChoice choice;
    const QString path = fHost.ChooseFile(choice);
    if (path.isEmpty())
        return;
    TFirmwareImage image;
    QString error;
    if (!LoadFirmwareFile(path, image, error)) {
        fHost.ShowError(error);
        return;
    }
    Upload(image);
}

void TFirmwareActions::UpdateFromBuiltIn(const TDeviceVersion& version, const QString& builtInVersion) {
    if (Running())
        return;
    if (!NeedUpdate(version, builtInVersion)) {
        fHost.ShowMessage(kNotNeeded);
        return;
    }
    const std::optional<QStringList> lines = LoadBuiltInImage(version);
    if (!lines) {
        fHost.ShowError(kNoBuiltInImage);
        return;
    }
    // A built-in image passes the same checks as a file before it is sent.
    const TFirmwareImage image{
        QStringLiteral("встроенная прошивка %1 (%2)").arg(GetImageName(version.Memory), builtInVersion),
        *lines};
    const QString error = ValidateFirmwareImage(image);
    if (!error.isEmpty()) {
        fHost.ShowError(error);
        return;
    }
    Upload(image);
}

void TFirmwareActions::Upload(const TFirmwareImage& image) {
    if (fSafetyCopy && !fSafetyCopy())
        return;
    if (!fHost.Confirm(ConfirmationText(image)))
        return;
    // Refused when something else has started meanwhile or the panel is gone.
    if (!fHost.BeginOperation(TOperationState::UpdatingFirmware))
        return;
    // Nothing but the upload may talk to the panel now: the wake-up's "+v"
    // would come between its commands.
    fHost.SetWakeUp(false);
    fEngine = new TUploadFirmware(fHost.Exchange(), this);
    fEngine->SetTimeOuts(fTimeOuts);
    fForm = new TFormUpdateProgress(*fEngine, fWindow);
    fCloseAsked = false;
    fCloseAfterUpload = false;
    connect(fForm, &TFormUpdateProgress::StopAnswered, this, [this](bool stop) {
        if (!fCloseAsked)
            return;
        fCloseAsked = false;
        fCloseAfterUpload = stop;
    });
    // Queued: the result is shown and the engine freed once the engine's
    // own step has returned.
    connect(fEngine, &TUploadFirmware::Finished, this, &TFirmwareActions::Finished, Qt::QueuedConnection);
    if (!fEngine->UploadFirmware(image.Lines)) {
        // A checked image always has blocks; should it have none, nothing
        // has been sent and the connection stays as it was.
        delete fForm;
        delete fEngine;
        fHost.EndOperation();
        fHost.SetWakeUp(true);
        fHost.ShowError(QStringLiteral("В образе «%1» нет данных для записи.").arg(image.Name));
        return;
    }
    fForm->show();
}

void TFirmwareActions::Finished(const TUploadResult& result) {
    if (fForm) {
        fForm->hide();
        fForm->deleteLater();
    }
    if (fEngine)
        fEngine->deleteLater();
    fForm = nullptr;
    fEngine = nullptr;

    // The operation holds while the result is read, so that nothing starts
    // between the upload and the disconnect that follows it.
    QString text = result.Message;
    if (fHost.isConnected())
        text += QLatin1Char('\n') + QStringLiteral("Соединение с панелью будет закрыто.");
    if (result.Ok())
        fHost.ShowMessage(text);
    else
        fHost.ShowError(text);
    fHost.EndOperation();
    emit UploadEnded(result);
}
