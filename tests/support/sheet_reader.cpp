#include "sheet_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

const CellStyle kGeneral;

// The built-in number formats a workbook may use without declaring them.
QString BuiltinFormat(int id) {
    switch (id) {
    case 0: return QString();
    case 22: return QStringLiteral("m/d/yy h:mm");
    default: return QStringLiteral("builtin %1").arg(id);
    }
}

int Attr(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toInt();
}

QStringList SharedStrings(const QByteArray& bytes) {
    QStringList out;
    QXmlStreamReader xml(bytes);
    QString current;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("t") && inItem) {
            current += xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
            out.append(current);
            inItem = false;
        }
    }
    return out;
}

QList<CellStyle> Styles(const QByteArray& bytes) {
    QMap<int, QString> formats;
    QList<bool> fonts;
    QList<CellStyle> out;
    QXmlStreamReader xml(bytes);
    QString section;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("fonts") || name == QLatin1String("cellXfs") ||
            name == QLatin1String("cellStyleXfs") || name == QLatin1String("numFmts")) {
            section = name.toString();
        } else if (name == QLatin1String("numFmt")) {
            formats[Attr(xml, "numFmtId")] = xml.attributes().value(QLatin1String("formatCode")).toString();
        } else if (name == QLatin1String("font") && section == QLatin1String("fonts")) {
            fonts.append(false);
        } else if (name == QLatin1String("b") && section == QLatin1String("fonts") && !fonts.isEmpty()) {
            fonts.last() = true;
        } else if (name == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
            const int id = Attr(xml, "numFmtId");
            const int font = Attr(xml, "fontId");
            out.append({formats.contains(id) ? formats.value(id) : BuiltinFormat(id), fonts.value(font)});
        }
    }
    return out;
}

bool IsCNumber(QStringView text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    return number.match(text).hasMatch();
}

} // namespace

QStringList NumbersNotInCFormat(const QByteArray& xml) {
    // The attributes that hold numbers in the parts the export writes (the
    // sheet, its styles); "r" is a number on a row, a cell reference on a
    // cell.
    static const QStringList numeric =
        QStringLiteral("width min max ht defaultRowHeight defaultColWidth baseColWidth outlineLevel "
                       "xSplit ySplit left right top bottom header footer workbookViewId "
                       "s sz numFmtId fontId fillId borderId xfId count theme indexed")
            .split(u' ');
    QStringList bad;
    QXmlStreamReader reader(xml);
    QString cellType;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QString element = reader.name().toString();
        for (const QXmlStreamAttribute& a : reader.attributes()) {
            const QString name = a.name().toString();
            const bool isNumber = numeric.contains(name) || (name == QLatin1String("r") && element == "row");
            if (isNumber && !IsCNumber(a.value()))
                bad << QStringLiteral("%1 %2=%3").arg(element, name, a.value().toString());
        }
        if (element == QLatin1String("c")) {
            cellType = reader.attributes().value(QLatin1String("t")).toString();
        } else if (element == QLatin1String("v")) {
            const QString value = reader.readElementText();
            const bool isNumber = cellType.isEmpty() || cellType == "n" || cellType == "s";
            if (isNumber && !IsCNumber(value))
                bad << QStringLiteral("v=%1").arg(value);
        }
    }
    if (reader.hasError())
        bad << QStringLiteral("XML: %1").arg(reader.errorString());
    return bad;
}

const CellStyle& Workbook::styleOf(const QString& ref) const {
    const int s = cells.value(ref).style;
    return s >= 0 && s < styles.size() ? styles.at(s) : kGeneral;
}

int Workbook::lastRow() const {
    int last = 0;
    static const QRegularExpression digits(QStringLiteral("\\d+$"));
    for (const QString& ref : cells.keys())
        last = std::max(last, digits.match(ref).captured().toInt());
    return last;
}

QByteArray ZipMember(const QString& zipPath, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zipPath, member});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

Workbook ReadWorkbook(const QString& path) {
    Workbook book;
    const QByteArray sheet = ZipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    if (sheet.isEmpty()) {
        book.error = QStringLiteral("no sheet in %1").arg(path);
        return book;
    }
    const QByteArray styles = ZipMember(path, QStringLiteral("xl/styles.xml"));
    const QStringList badNumbers = NumbersNotInCFormat(sheet) + NumbersNotInCFormat(styles);
    if (!badNumbers.isEmpty()) {
        book.error = QStringLiteral("numbers not in the C format in %1: %2")
                         .arg(path, badNumbers.mid(0, 10).join(QStringLiteral(", ")));
        return book;
    }
    const QStringList shared = SharedStrings(ZipMember(path, QStringLiteral("xl/sharedStrings.xml")));
    book.styles = Styles(styles);
    QXmlStreamReader names(ZipMember(path, QStringLiteral("xl/workbook.xml")));
    while (!names.atEnd()) {
        names.readNext();
        if (names.isStartElement() && names.name() == QLatin1String("sheet"))
            book.sheetNames.append(names.attributes().value(QLatin1String("name")).toString());
    }

    QXmlStreamReader xml(sheet);
    QString ref;
    SheetCell cell;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        const QXmlStreamAttributes a = xml.attributes();
        if (name == QLatin1String("c")) {
            if (!ref.isEmpty())
                book.cells[ref] = cell;
            ref = a.value(QLatin1String("r")).toString();
            cell = {a.value(QLatin1String("t")).toString(), a.value(QLatin1String("s")).toInt(), QString()};
        } else if (name == QLatin1String("v")) {
            cell.value = xml.readElementText();
            if (cell.type == QLatin1String("s"))
                cell.value = shared.value(cell.value.toInt());
        } else if (name == QLatin1String("t")) {
            cell.value += xml.readElementText();
        } else if (name == QLatin1String("col")) {
            const int min = a.value(QLatin1String("min")).toInt();
            const int max = a.value(QLatin1String("max")).toInt();
            for (int c = min; c <= max; ++c)
                book.widths[c] = a.value(QLatin1String("width")).toDouble();
        } else if (name == QLatin1String("pane")) {
            book.paneState = a.value(QLatin1String("state")).toString();
            book.paneTopLeft = a.value(QLatin1String("topLeftCell")).toString();
            book.paneYSplit = a.value(QLatin1String("ySplit")).toDouble();
        }
    }
    if (!ref.isEmpty())
        book.cells[ref] = cell;
    if (xml.hasError()) {
        book.error = xml.errorString();
        return book;
    }
    book.ok = true;
    return book;
}
