#include "StandardOutput.h"

#include <QFileDevice>
#include <QTextStream>

bool WriteStandardOutput(QTextStream& out, const QByteArray& bytes, QString* reason) {
    out.flush();
    QIODevice* device = out.device();
    if (!device || !device->isWritable()) {
        if (reason)
            *reason = QStringLiteral("стандартный вывод не открыт для записи");
        return false;
    }
    bool ok = device->write(bytes) == bytes.size();
    // A file device holds what it takes in a buffer of its own (and the C
    // library's): only the flush tells whether the bytes really went.
    if (auto* file = qobject_cast<QFileDevice*>(device); ok && file)
        ok = file->flush();
    if (!ok && reason)
        *reason = device->errorString();
    return ok;
}

QString StandardOutputName() {
    return QStringLiteral("стандартный вывод");
}
