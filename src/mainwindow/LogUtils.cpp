#include "LogUtils.h"

#include "FileChoice.h"
#include "MessageBoxes.h"
#include "panel/LogLine.h"

#include <QPlainTextEdit>
#include <QScrollBar>

void TLog::SetLogObject(QPlainTextEdit* memo) {
    FLogObject = memo;
    if (FLogObject)
        FLogObject->setMaximumBlockCount(FMaxLines);
}

void TLog::SetMaxLines(int lines) {
    FMaxLines = lines;
    if (FLogObject)
        FLogObject->setMaximumBlockCount(FMaxLines);
}

void TLog::Append(const QString& Value) {
    if (!FLogObject)
        return;
    QString line = FShowTime ? StampedLogLine(Value) : Value;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QScrollBar* bar = FLogObject->verticalScrollBar();
    const int before = bar->value();
    FLogObject->appendPlainText(line);
    bar->setValue(FAutoScroll ? bar->maximum() : before);
}

void TLog::Clear() {
    if (FLogObject)
        FLogObject->clear();
}

bool TLog::SaveLogTo(const QString& path, QString* error) const {
    const QString text = FLogObject ? FLogObject->toPlainText() : QString();
    const QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    return SaveLogLines(path, lines, error);
}

void TLog::SaveLog(QWidget* parent) {
    TFileChoice choice;
    choice.Save = true;
    choice.Filter = QStringLiteral("Log files (*.log)");
    choice.DefaultSuffix = QStringLiteral("log");
    const QString path = ChooseFileName(parent, choice);
    if (path.isEmpty())
        return;
    QString error;
    if (!SaveLogTo(path, &error))
        ShowMessageBox(parent, TBoxKind::Error,
                       QStringLiteral("Не удалось сохранить журнал в файл %1:\n%2").arg(path, error));
}
