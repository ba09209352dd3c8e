#include "SettingsActions.h"

#include "ConfigHistoryForm.h"
#include "SettingsCompareForm.h"
#include "pages/PageFrame.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsPages.h"
#include "pages/WriteComparison.h"

TSettingsActions::TSettingsActions(IPageHost& host, const std::vector<TPageFrame*>& frames, QWidget* window)
    : fHost(host), fFrames(frames), fWindow(window) {}

TFileChoice TSettingsActions::FileChoice(bool save, const QString& caption) {
    TFileChoice choice;
    choice.Save = save;
    choice.Caption = caption;
    choice.Filter = QStringLiteral("ini файлы (*.ini);;все файлы (*)");
    choice.DefaultSuffix = QStringLiteral("ini");
    return choice;
}

std::vector<TPageModel*> TSettingsActions::Pages() const {
    return SettingsPages(fFrames);
}

bool TSettingsActions::Save() {
    TOperationScope operation(fHost, TOperationState::SavingSettings);
    if (!operation)
        return false;
    // What is saved is what the pages held when the dialog opened.
    const TSettingsFile file(SettingsLines(CollectPageSettings(Pages())));
    const QString path = fHost.ChooseFile(FileChoice(true, QStringLiteral("Сохранить настройки в файл")));
    if (path.isEmpty())
        return false;
    if (const TSettingsFile::TResult written = file.Write(path); !written) {
        fHost.ShowError(written.Error);
        return false;
    }
    return true;
}

bool TSettingsActions::ReadFile(const QString& path, TSettingsFile& file) {
    if (const TSettingsFile::TResult read = file.Read(path); !read) {
        fHost.ShowError(read.Error);
        return false;
    }
    // A text file holding none of the pages' keys would put every page on
    // its defaults.
    if (!FileHasAnyPage(Pages(), file.Lines())) {
        fHost.ShowError(NoPageInFileText(path));
        return false;
    }
    if (file.Utf8WithoutMark())
        emit LogLine(QStringLiteral("Файл настроек %1 прочитан в кодировке UTF-8").arg(path));
    return true;
}

bool TSettingsActions::Load() {
    TOperationScope operation(fHost, TOperationState::LoadingSettings);
    if (!operation)
        return false;
    const QString path = fHost.ChooseFile(FileChoice(false, QStringLiteral("Загрузить настройки из файла")));
    if (path.isEmpty())
        return false;
    TSettingsFile file;
    if (!ReadFile(path, file))
        return false;
    LoadFile(path, file);
    return true;
}

void TSettingsActions::LoadFile(const QString& path, const TSettingsFile& file) {
    const QStringList refused = LoadPageSettings(Pages(), file.Lines());
    if (refused.isEmpty())
        return;
    QStringList told;
    for (const QString& line : refused) {
        told.append(RefusedValueText(path, line));
        emit LogLine(told.last());
    }
    fHost.ShowError(told.join(QLatin1Char('\n')));
}

void TSettingsActions::Compare() {
    // A comparison may end in a load: it holds the loading state throughout.
    TOperationScope operation(fHost, TOperationState::LoadingSettings);
    if (!operation)
        return;
    const QString path = fHost.ChooseFile(FileChoice(false, QStringLiteral("Сравнить с файлом")));
    if (path.isEmpty())
        return;
    TSettingsFile file;
    if (!ReadFile(path, file))
        return;
    const std::vector<TPageModel*> pages = Pages();
    // What writing the file would change against what the pages would
    // write now.
    QStringList refused;
    TSettingsCompareForm form(path,
                              CompareWithFile(fHost, pages, TComparedSide::Written, file.Lines(), &refused),
                              fWindow);
    // A value no page can take goes to the log as a load would tell it.
    for (const QString& line : refused)
        emit LogLine(RefusedValueText(path, line));
    // The lines shown are the lines loaded, whatever became of the file
    // since.
    if (form.exec() == QDialog::Accepted)
        LoadFile(path, file);
}

void TSettingsActions::ConfigHistory(TPanelArchive& archive, const QString& object) {
    // Loading a configuration replaces the pages' values: the whole dialog
    // holds the loading state, as a comparison with a file does.
    TOperationScope operation(fHost, TOperationState::LoadingSettings);
    if (!operation)
        return;
    TConfigHistoryForm form(archive, fHost, Pages(), object, fWindow);
    form.exec();
}

bool TSettingsActions::OfferSaveFirst(const QString& question, const std::function<bool()>& prepare) {
    switch (fHost.Ask(question)) {
    case TAnswer::Cancel: return false;
    case TAnswer::No: return true;
    case TAnswer::Yes: break;
    }
    if (prepare && !prepare())
        return false;
    return Save();
}
