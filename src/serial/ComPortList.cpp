#include "ComPortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString TmpPortsDir(const QString& tmpRoot) {
    return QStringLiteral("%1/tarvik1-%2/ports").arg(tmpRoot).arg(::getuid());
}
} // namespace

QString AnnouncedPortsDir() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tarvik1/ports");
    return TmpPortsDir(QStringLiteral("/tmp"));
}

bool IsPrivateFolder(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString TrustedAnnouncedPortsDir(const QString& tmpRoot) {
    if (!qEnvironmentVariable("XDG_RUNTIME_DIR").isEmpty())
        return AnnouncedPortsDir();
    // Anyone can make /tmp/tarvik1-<uid> first and fill it with links to
    // devices of their choosing; only the user's own private folders count.
    const QString ports = TmpPortsDir(tmpRoot);
    if (!IsPrivateFolder(QFileInfo(ports).path()) || !IsPrivateFolder(ports))
        return {};
    return ports;
}

namespace {
// A ttyS* entry exists for every possible legacy port; only those whose
// "type" is not 0 (unknown) have a UART behind them.
bool HasHardware(const QDir& ttyDir, const QString& name) {
    if (!QFileInfo(ttyDir.filePath(name + QStringLiteral("/device"))).exists())
        return false;
    if (!name.startsWith(QLatin1String("ttyS")))
        return true;
    QFile type(ttyDir.filePath(name + QStringLiteral("/type")));
    if (!type.open(QIODevice::ReadOnly))
        return false;
    return type.readAll().trimmed() != "0";
}
} // namespace

QStringList ListSerialPorts(const QString& sysClassTty, const QString& devDir, const QString& announcedDir) {
    QStringList ports;
    const QDir ttyDir(sysClassTty);
    for (const QString& name : ttyDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (HasHardware(ttyDir, name))
            ports << QDir(devDir).filePath(name);
    }
    if (!announcedDir.isEmpty()) {
        const QDir announced(announcedDir);
        for (const QFileInfo& link :
             announced.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            if (link.isSymLink() && link.exists())
                ports << link.absoluteFilePath();
        }
    }
    std::sort(ports.begin(), ports.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return ports;
}
