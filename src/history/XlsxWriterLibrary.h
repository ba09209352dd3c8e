#pragma once

#include <QString>

#include <xlsxwriter.h>

// libxlsxwriter, loaded when the first workbook is written rather than at
// the start of every program that can export: the library and the ones it
// needs (a cryptography library among them) weigh on every start, and most
// starts write no workbook.
struct TXlsxWriterLibrary {
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::format_set_num_format) format_set_num_format = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::worksheet_write_datetime) worksheet_write_datetime = nullptr;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
    decltype(&::worksheet_set_column) worksheet_set_column = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;
};

// The library's functions, loaded on the first call (any thread); nullptr
// when the library or one of its functions cannot be had, with the reason
// in `error`.
const TXlsxWriterLibrary* XlsxWriterLibrary(QString* error);
