#include "ComPortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <unistd.h>

QString AnnouncedPortsDir() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tarvik1/ports");
    return QStringLiteral("/tmp/tarvik1-%1/ports").arg(::getuid());
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
    const QDir announced(announcedDir);
    for (const QFileInfo& link : announced.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (link.isSymLink() && link.exists())
            ports << link.absoluteFilePath();
    }
    std::sort(ports.begin(), ports.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return ports;
}
