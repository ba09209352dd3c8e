#include "port_announcement.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace emu {

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Creates `path` (mode 0700) when missing; an existing one must be a folder
// of this user, not a link.
bool makePrivateFolder(const QString& path, QString* error) {
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2").arg(path, systemError());
        return false;
    }
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        *error = QStringLiteral("%1 is not a folder of this user").arg(path);
        return false;
    }
    return true;
}

bool isDanglingLink(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return false;
    return ::stat(path.constData(), &st) != 0 && errno == ENOENT;
}

} // namespace

PortAnnouncement::~PortAnnouncement() {
    withdraw();
}

QString PortAnnouncement::portsFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tarvik1/ports");
    return QStringLiteral("/tmp/tarvik1-%1/ports").arg(::getuid());
}

bool PortAnnouncement::announce(const QString& target, const QString& stem, QString* error) {
    QString dummy;
    QString& err = error ? *error : dummy;
    const QString folder = portsFolder();
    const QString parent = QFileInfo(folder).path();
    const QString base = QFileInfo(parent).path();
    if (qEnvironmentVariable("XDG_RUNTIME_DIR").isEmpty()) {
        if (!makePrivateFolder(parent, &err)) // /tmp/tarvik1-<uid>
            return false;
    } else if (!QFileInfo(base).isDir()) {
        err = QStringLiteral("XDG_RUNTIME_DIR (%1) is not a folder").arg(base);
        return false;
    } else if (!makePrivateFolder(parent, &err)) {
        return false;
    }
    if (!makePrivateFolder(folder, &err))
        return false;

    const QByteArray t = QFile::encodeName(target);
    for (int n = 1; n < 1000; ++n) {
        const QString link = QStringLiteral("%1/%2-%3").arg(folder, stem).arg(n);
        const QByteArray l = QFile::encodeName(link);
        if (::symlink(t.constData(), l.constData()) == 0) {
            fLink = link;
            fTarget = target;
            return true;
        }
        if (errno != EEXIST) {
            err = QStringLiteral("cannot create %1: %2").arg(link, systemError());
            return false;
        }
        if (isDanglingLink(l) && ::unlink(l.constData()) == 0 &&
            ::symlink(t.constData(), l.constData()) == 0) {
            fLink = link;
            fTarget = target;
            return true;
        }
    }
    err = QStringLiteral("no free name in %1").arg(folder);
    return false;
}

bool PortAnnouncement::announceAt(const QString& linkPath, const QString& target, QString* error) {
    QString dummy;
    QString& err = error ? *error : dummy;
    const QByteArray l = QFile::encodeName(linkPath);
    const QByteArray t = QFile::encodeName(target);
    if (isDanglingLink(l))
        ::unlink(l.constData());
    if (::symlink(t.constData(), l.constData()) != 0) {
        err = errno == EEXIST ? QStringLiteral("%1 already exists").arg(linkPath)
                              : QStringLiteral("cannot create %1: %2").arg(linkPath, systemError());
        return false;
    }
    fLink = linkPath;
    fTarget = target;
    return true;
}

void PortAnnouncement::withdraw() {
    if (fLink.isEmpty())
        return;
    const QByteArray l = QFile::encodeName(fLink);
    char buf[4096];
    const ssize_t n = ::readlink(l.constData(), buf, sizeof buf - 1);
    if (n >= 0 && QByteArray(buf, n) == QFile::encodeName(fTarget))
        ::unlink(l.constData());
    fLink.clear();
    fTarget.clear();
}

} // namespace emu
