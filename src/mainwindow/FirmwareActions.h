#pragma once

#include "firmware/UpdateProgressUnit.h"
#include "firmware/UploadFirmware.h"
#include "panel/DeviceVersion.h"

#include <QObject>
#include <QPointer>

#include <functional>

class IPageHost;
class QWidget;
struct TFirmwareImage;

// The "Перепрошивка" menu at work. The image, from a file the installer
// chooses or built into the program, is checked before anything is sent;
// the installer confirms its summary; then it goes into the panel's boot
// loader inside the UpdatingFirmware operation, with the wake-up off and
// the progress window on screen, and the result is told in words. Nothing
// else talks to the panel meanwhile: the window's operation state refuses
// every other operation until the upload has ended.
//
// Once anything has been sent the panel is to be disconnected, whatever the
// outcome: UploadEnded says so after the result has been shown. A file or
// image refused, an update not needed or not confirmed send nothing and
// leave the connection as it was.
class TFirmwareActions : public QObject {
    Q_OBJECT
public:
    // `window` parents the progress window.
    TFirmwareActions(IPageHost& host, QWidget* window);
    ~TFirmwareActions() override;

    // "...из файла": the standard open dialog (no filter, no default
    // extension), then the upload of the chosen file.
    void UpdateFromFile();
    // "...встроенная": the image built into the program for the panel
    // `version`, when `builtInVersion` is newer by the panel maker's rule.
    void UpdateFromBuiltIn(const TDeviceVersion& version, const QString& builtInVersion);

    bool Running() const { return fEngine != nullptr; }

    // The window is to close while an upload runs. Broken off in the middle
    // of a block the upload would leave the panel erased and half written
    // without a word: the installer is asked what the upload's Cancel asks.
    // When he lets it stop (or has done so already, or only the final check
    // is left), the upload stops before its next block, its end is told as
    // any end is, and CloseAfterUpload() is true by the time UploadEnded
    // comes. When he says No the upload goes on. False when no upload runs.
    bool CloseRequested();
    bool CloseAfterUpload() const { return fCloseAfterUpload; }
    TUploadFirmware* Engine() const { return fEngine; }
    TFormUpdateProgress* ProgressForm() const { return fForm; }

    // How long the upload waits for each command; tests shorten them.
    void SetTimeOuts(const TUploadTimeOuts& timeOuts) { fTimeOuts = timeOuts; }

    // A new firmware may start from its defaults: once the image has passed
    // its checks and before the upload is confirmed, `offer` may keep the
    // panel's settings in a file (asking SafetyCopyQuestion); false stops
    // the update with nothing sent.
    void SetSafetyCopy(std::function<bool()> offer) { fSafetyCopy = std::move(offer); }
    static QString SafetyCopyQuestion();
    // Asked when not every page could be read for that copy (Yes: save what
    // the pages hold and go on; No: stop the update).
    static QString IncompleteCopyQuestion();

signals:
    // An upload has ended and its result has been shown.
    void UploadEnded(const TUploadResult& result);

private:
    void Upload(const TFirmwareImage& image);
    void Finished(const TUploadResult& result);

    IPageHost& fHost;
    QWidget* fWindow;
    TUploadTimeOuts fTimeOuts;
    QPointer<TUploadFirmware> fEngine;
    QPointer<TFormUpdateProgress> fForm;
    std::function<bool()> fSafetyCopy;
    bool fCloseAsked = false;       // the question open was asked by a close
    bool fCloseAfterUpload = false; // the window closes once the upload has ended
};
