#pragma once

#include "pages/PageHost.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;
class TPageFrame;
class TPageModel;
class TPanelArchive;
class TSettingsFile;

// The settings file at work in the window: "Сохранить в файл", "Загрузить
// из файла" and "Сравнить с файлом", and the offer to keep the pages'
// values in a file before something replaces them. None of them talks to
// the panel, so they work with or without one connected; each runs in its
// own operation state (SavingSettings, LoadingSettings), so nothing else
// starts meanwhile.
//
// A file that cannot be read or written is told in a message naming the
// file and the reason, and no page changes: a file is read whole before any
// page takes a value from it.
class TSettingsActions : public QObject {
    Q_OBJECT
public:
    // `frames` are the window's pages (the History page among them keeps
    // nothing in the file); `window` parents the comparison dialog.
    TSettingsActions(IPageHost& host, const std::vector<TPageFrame*>& frames, QWidget* window);

    // The pages' values as they stand, then the save dialog; true when a
    // file was written.
    bool Save();
    // The open dialog, then the file into every page; true when loaded.
    bool Load();
    // The open dialog, then a dialog with the settings where the file
    // differs from the pages; the file is loaded only when the user asks
    // for it there ("Загрузить этот файл").
    void Compare();

    // Asks `question` (Yes, No, Cancel) before the pages' values are
    // replaced. Yes: `prepare` (when given; false stops), then Save; true
    // only when the file was written, so that nothing is replaced without
    // the copy the user asked for. No: true. Cancel: false.
    // "История настроек": the configurations the archive keeps of a panel
    // (`object` chosen first when given), compared with the pages or with
    // each other, and one loaded into the pages on request.
    void ConfigHistory(TPanelArchive& archive, const QString& object);

    bool OfferSaveFirst(const QString& question, const std::function<bool()>& prepare = {});

    // The dialogs' choice: a settings file (.ini offered first, added to a
    // name typed without an extension).
    static TFileChoice FileChoice(bool save, const QString& caption);

signals:
    // A line for the window's log.
    void LogLine(const QString& line);

private:
    // Reads a settings file whole for a load or a comparison; a file that
    // cannot be read, or that holds no page's key, is told and refused.
    bool ReadFile(const QString& path, TSettingsFile& file);
    // Loads the file's lines into the pages; the values no page could take
    // as they stand go to the log and into one message naming the file.
    void LoadFile(const QString& path, const TSettingsFile& file);
    // The settings pages' models, in tag order.
    std::vector<TPageModel*> Pages() const;

    IPageHost& fHost;
    const std::vector<TPageFrame*>& fFrames;
    QWidget* fWindow;
};
