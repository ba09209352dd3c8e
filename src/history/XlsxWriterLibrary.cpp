#include "XlsxWriterLibrary.h"

#include <QLibrary>

namespace {

// The file name the library has on Debian: libxlsxwriter.so.<version>.
constexpr int kSoVersion = 4;

struct TLoaded {
    TXlsxWriterLibrary Functions;
    bool Ok = false;
    QString Error;
};

template <typename F>
bool Resolve(QLibrary& library, F& function, const char* name, QString& error) {
    function = reinterpret_cast<F>(library.resolve(name));
    if (!function)
        error = QStringLiteral("в библиотеке %1 нет функции %2").arg(library.fileName(), QLatin1String(name));
    return function != nullptr;
}

TLoaded Load() {
    TLoaded loaded;
    // Kept loaded for the rest of the program's life.
    static QLibrary library(QStringLiteral("xlsxwriter"), kSoVersion);
    if (!library.load()) {
        loaded.Error = QStringLiteral("не удалось загрузить библиотеку libxlsxwriter.so.%1 (%2)")
                           .arg(kSoVersion)
                           .arg(library.errorString());
        return loaded;
    }
    TXlsxWriterLibrary& f = loaded.Functions;
    QString& e = loaded.Error;
    loaded.Ok = Resolve(library, f.workbook_new_opt, "workbook_new_opt", e) &&
                Resolve(library, f.workbook_add_worksheet, "workbook_add_worksheet", e) &&
                Resolve(library, f.workbook_add_format, "workbook_add_format", e) &&
                Resolve(library, f.workbook_close, "workbook_close", e) &&
                Resolve(library, f.format_set_bold, "format_set_bold", e) &&
                Resolve(library, f.format_set_num_format, "format_set_num_format", e) &&
                Resolve(library, f.worksheet_write_string, "worksheet_write_string", e) &&
                Resolve(library, f.worksheet_write_number, "worksheet_write_number", e) &&
                Resolve(library, f.worksheet_write_datetime, "worksheet_write_datetime", e) &&
                Resolve(library, f.worksheet_freeze_panes, "worksheet_freeze_panes", e) &&
                Resolve(library, f.worksheet_set_column, "worksheet_set_column", e) &&
                Resolve(library, f.lxw_strerror, "lxw_strerror", e);
    return loaded;
}

} // namespace

const TXlsxWriterLibrary* XlsxWriterLibrary(QString* error) {
    static const TLoaded loaded = Load();
    if (!loaded.Ok) {
        if (error)
            *error = loaded.Error;
        return nullptr;
    }
    return &loaded.Functions;
}
