#pragma once

// Reads back what the export wrote into a workbook: the sheet's cells with
// their types and styles, the column widths, the frozen pane, and the
// number formats and bold fonts of the styles. The members come out of the
// zip container through the unzip tool.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

struct SheetCell {
    QString type; // "" for a number, "inlineStr", "s" (shared) or "str"
    int style = 0;
    QString value; // the number's text, or the string itself
};

struct CellStyle {
    QString numberFormat; // formatCode, empty for the built-in general format
    bool bold = false;
};

struct Workbook {
    bool ok = false;
    QString error;
    QMap<QString, SheetCell> cells; // by reference, "A1"
    QMap<int, double> widths;       // by column number from 1
    QString paneState;              // "frozen"
    QString paneTopLeft;            // "A2"
    double paneYSplit = 0;
    QList<CellStyle> styles; // by cell style index
    QStringList sheetNames;

    QString text(const QString& ref) const { return cells.value(ref).value; }
    const CellStyle& styleOf(const QString& ref) const;
    int lastRow() const;
};

// The bytes of one member of a zip file (empty when unzip fails).
QByteArray ZipMember(const QString& zipPath, const QString& member);
Workbook ReadWorkbook(const QString& path);
