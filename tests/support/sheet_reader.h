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
// Every number of a workbook part's XML that is not written in the file
// format's (C) way, as "element attribute=value" or "v=value": the cell
// values of number and shared-string cells and the numeric attributes
// (widths, heights, margins, pane splits, row numbers, style indexes).
// "45352,42716435185" or width="3,85546875" is what a decimal comma from
// the process's locale looks like.
QStringList NumbersNotInCFormat(const QByteArray& xml);
// Reads the workbook; not ok (with the numbers named) when the sheet or its
// styles hold a number that is not in the C format.
Workbook ReadWorkbook(const QString& path);
