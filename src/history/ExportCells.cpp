#include "ExportCells.h"

#include "HistoryValues.h"

TCellType ColumnType(int column) {
    switch (column) {
    case hcIndex:
    case hcObject:
    case hcCode:
    case hcPartition:
    case hcZone:
    case hcGlobalIndex: return TCellType::Number;
    case hcTime: return TCellType::DateTime;
    default: return TCellType::Text;
    }
}

double ColumnNumber(const THistoryRec& rec, int column) {
    switch (column) {
    case hcIndex: return rec.index;
    case hcObject: return ObjectNumber(rec);
    case hcCode: return EventCode(rec);
    case hcPartition: return PartitionNumber(rec);
    case hcZone: return ZoneNumber(rec);
    case hcGlobalIndex: return rec.globalindex;
    default: return 0;
    }
}

bool HasSheetDate(const THistoryRec& rec) {
    return rec.datetime.isValid() && !IsNoDate(rec.datetime) && rec.datetime.date().year() >= 1900;
}

QString SpreadsheetFormat(const QString& qtFormat) {
    QString out;
    const qsizetype n = qtFormat.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = qtFormat.at(i);
        if (c == u'\'' && i + 1 < n && qtFormat.at(i + 1) == u'\'') {
            out += QStringLiteral("\\'"); // '' is a quote character
            i += 2;
            continue;
        }
        if (c == u'\'') {
            // Quoted text; '' inside is a quote character.
            QString text;
            ++i;
            while (i < n) {
                if (qtFormat.at(i) == u'\'') {
                    if (i + 1 < n && qtFormat.at(i + 1) == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += qtFormat.at(i++);
            }
            if (!text.isEmpty())
                out += u'"' + QString(text).remove(u'"') + u'"';
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && qtFormat.at(i + run) == c)
            ++run;
        const auto repeat = [](char letter, qsizetype times) { return QString(times, QChar(letter)); };
        switch (c.unicode()) {
        case 'd': out += repeat('d', std::min<qsizetype>(run, 4)); break;
        case 'M': out += repeat('m', std::min<qsizetype>(run, 4)); break;
        case 'y': out += run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
        case 'h':
        case 'H': out += repeat('h', std::min<qsizetype>(run, 2)); break;
        case 'm': out += repeat('m', std::min<qsizetype>(run, 2)); break;
        case 's': out += repeat('s', std::min<qsizetype>(run, 2)); break;
        case 'z': out += QStringLiteral("000"); break;
        case 't': break;
        case 'A':
        case 'a': {
            const bool upper = c == u'A';
            if (run == 1 && i + 1 < n && qtFormat.at(i + 1).toLower() == u'p')
                ++run;
            out += upper ? QStringLiteral("AM/PM") : QStringLiteral("am/pm");
            break;
        }
        default:
            for (qsizetype k = 0; k < run; ++k) {
                if (c.isLetterOrNumber() || !QStringLiteral(" .,:/-").contains(c))
                    out += u'\\';
                out += c;
            }
            break;
        }
        i += run;
    }
    return out.trimmed();
}

QString SpreadsheetDateTimeFormat(const QLocale& locale) {
    return SpreadsheetFormat(locale.dateFormat(QLocale::ShortFormat)) + u' ' +
           SpreadsheetFormat(locale.timeFormat(QLocale::LongFormat));
}
