#include "fault_checks.h"

#include <QDir>
#include <QFile>

namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TSavedFiles::TSavedFiles() {
    // An object's settings as the tool saves them, and a set of SMS texts
    // in the panel's own code page, the Russian letters included.
    fBytes[SettingsPath()] = QByteArray("[Common]\r\nObjNum=1234\r\nDispPhone=89001234567\r\n"
                                        "[SMS]\r\nText0=\xc2\xed\xe8\xec\xe0\xed\xe8\xe5\r\n");
    fBytes[SmsPath()] = QByteArray("\xd2\xf0\xe5\xe2\xee\xe3\xe0 1\r\n\xd2\xf0\xe5\xe2\xee\xe3\xe0 2\r\n");
    for (const auto& [path, bytes] : fBytes)
        WriteBytes(path, bytes);
}

QString TSavedFiles::Changes() const {
    QStringList changes;
    for (const auto& [path, bytes] : fBytes) {
        if (!QFile::exists(path))
            changes << path + QStringLiteral(" is gone");
        else if (ReadBytes(path) != bytes)
            changes << path + QStringLiteral(" changed");
    }
    const QStringList present =
        QDir(fDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : present) {
        if (!fBytes.count(fDir.filePath(name)))
            changes << fDir.filePath(name) + QStringLiteral(" appeared");
    }
    return changes.join(QStringLiteral("; "));
}
