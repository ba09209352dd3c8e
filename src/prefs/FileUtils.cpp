#include "FileUtils.h"

#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString GetFileVersion() {
    return QStringLiteral(TARVIK_VERSION);
}

QString ReadStoredVersion() {
    const QSettings key(kSettingsOrganization, kSettingsApplication);
    return key.value(kVersionValue).toString();
}

void WriteStoredVersion(const QString& version) {
    QSettings key(kSettingsOrganization, kSettingsApplication);
    key.setValue(kVersionValue, version);
}

void DeleteSubKeys(QSettings& key) {
    const QStringList groups = key.childGroups();
    for (const QString& group : groups) {
        // An empty name would remove the current group's own values too.
        if (!group.isEmpty())
            key.remove(group);
    }
}

bool CheckSettingsVersion(const QString& version, const std::function<void()>& resetCaptions) {
    {
        QSettings key(kSettingsOrganization, kSettingsApplication);
        if (key.contains(kVersionValue) && key.value(kVersionValue).toString() == version)
            return true;
        DeleteSubKeys(key);
        key.setValue(kVersionValue, version);
    }
    if (resetCaptions)
        resetCaptions();
    return false;
}

// ---- The files the tool reads and writes ----------------------------------

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

QString ParentOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// A folder everybody may write to and where only an entry's owner may remove
// it: /tmp and the like.
bool SharedFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
}

// The kernel's rule for following a link (protected_symlinks) and for
// opening an existing regular file to write it (protected_regular): in a
// shared folder, only entries of the user or of the folder's owner.
bool ForeignInSharedFolder(const struct stat& entry, const QString& folderPath) {
    struct stat folder {};
    if (stat(Native(folderPath).constData(), &folder) != 0 || !SharedFolder(folder))
        return false;
    return entry.st_uid != geteuid() && entry.st_uid != folder.st_uid;
}

QString NotRegularText(unsigned mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("это папка, а не файл");
    if (S_ISFIFO(mode))
        return QStringLiteral("это именованный канал (FIFO), а не обычный файл");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("это устройство, а не обычный файл");
    if (S_ISSOCK(mode))
        return QStringLiteral("это сокет, а не обычный файл");
    return QStringLiteral("это не обычный файл");
}

bool ReadLink(const QString& path, QByteArray& target) {
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    const ssize_t n = readlink(Native(path).constData(), buffer.data(), size_t(buffer.size()));
    if (n < 0)
        return false;
    if (n >= buffer.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    target = buffer.left(n);
    return true;
}

} // namespace

TResolvedPath ResolveFilePath(const QString& path) {
    TResolvedPath r;
    if (path.isEmpty()) {
        r.Problem = QStringLiteral("не указано имя файла");
        return r;
    }
    QStringList todo = QFileInfo(path).absoluteFilePath().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done; // no link, "." or ".." left in it; empty for "/"
    int links = 0;
    while (!todo.isEmpty()) {
        const QString part = todo.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            done.truncate(std::max<qsizetype>(0, done.lastIndexOf(QLatin1Char('/'))));
            continue;
        }
        const QString next = done + QLatin1Char('/') + part;
        struct stat st {};
        if (lstat(Native(next).constData(), &st) != 0) {
            const int error = errno;
            if (error == ENOENT && todo.isEmpty()) {
                r.Path = next; // a file yet to be made
                return r;
            }
            r.Problem = SystemErrorText(error);
            return r;
        }
        if (S_ISLNK(st.st_mode)) {
            if (++links > kMaxLinks) {
                r.Problem = SystemErrorText(ELOOP);
                return r;
            }
            if (ForeignInSharedFolder(st, done.isEmpty() ? QStringLiteral("/") : done)) {
                r.Foreign = true;
                r.Problem = QStringLiteral("символьная ссылка %1 в общей папке принадлежит другому "
                                           "пользователю (uid %2), а по чужим ссылкам программа не переходит")
                                .arg(next)
                                .arg(st.st_uid);
                return r;
            }
            QByteArray target;
            if (!ReadLink(next, target)) {
                r.Problem = SystemErrorText(errno);
                return r;
            }
            if (target.startsWith('/'))
                done.clear();
            todo = QFile::decodeName(target).split(QLatin1Char('/'), Qt::SkipEmptyParts) + todo;
            continue;
        }
        if (!todo.isEmpty() && !S_ISDIR(st.st_mode)) {
            r.Problem = SystemErrorText(ENOTDIR);
            return r;
        }
        done = next;
    }
    r.Path = done.isEmpty() ? QStringLiteral("/") : done;
    struct stat st {};
    if (lstat(Native(r.Path).constData(), &st) != 0) {
        r.Path.clear();
        r.Problem = SystemErrorText(errno);
        return r;
    }
    r.Exists = true;
    r.Mode = st.st_mode;
    r.Owner = st.st_uid;
    return r;
}

QString ForbiddenTargetProblem(const QString& path, TResolvedPath* resolved) {
    const TResolvedPath r = ResolveFilePath(path);
    if (resolved)
        *resolved = r;
    if (r.Foreign)
        return r.Problem;
    if (!r.Problem.isEmpty() || !r.Exists)
        return {};
    if (!S_ISREG(r.Mode))
        return NotRegularText(r.Mode);
    struct stat st {};
    st.st_uid = r.Owner;
    if (ForeignInSharedFolder(st, ParentOf(r.Path)))
        return QStringLiteral("файл в общей папке принадлежит другому пользователю (uid %1), а чужие "
                              "файлы там программа не заменяет")
            .arg(r.Owner);
    return {};
}

QString WriteTargetProblem(const QString& path, TResolvedPath* resolved) {
    TResolvedPath r;
    if (const QString problem = ForbiddenTargetProblem(path, &r); !problem.isEmpty())
        return problem;
    if (resolved)
        *resolved = r;
    if (!r.Problem.isEmpty())
        return r.Problem;
    // The file is put in place from a temporary file in its folder.
    const QString folder = ParentOf(r.Path);
    if (faccessat(AT_FDCWD, Native(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return QStringLiteral("в папку %1 нельзя записать: %2").arg(folder, SystemErrorText(errno));
    return {};
}

TFileRead ReadRegularFile(const QString& path, qint64 maxBytes) {
    TFileRead read;
    const auto fail = [&read](TFileRead::TFault fault, const QString& reason) {
        read.Fault = fault;
        read.Reason = reason;
        read.Bytes.clear();
        return read;
    };
    const TResolvedPath r = ResolveFilePath(path);
    if (!r.Problem.isEmpty())
        return fail(TFileRead::Open, r.Problem);
    if (!r.Exists)
        return fail(TFileRead::Open, SystemErrorText(ENOENT));
    // Opening a FIFO would wait for a writer, and a device may never end:
    // only a regular file is opened at all.
    if (!S_ISREG(r.Mode))
        return fail(TFileRead::Open, NotRegularText(r.Mode));
    const int fd =
        open(Native(r.Path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return fail(TFileRead::Open, SystemErrorText(errno));
    const auto closeAndFail = [&](TFileRead::TFault fault, const QString& reason) {
        close(fd);
        return fail(fault, reason);
    };
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return closeAndFail(TFileRead::Open, SystemErrorText(errno));
    if (!S_ISREG(st.st_mode)) // swapped since it was looked at
        return closeAndFail(TFileRead::Open, NotRegularText(st.st_mode));
    read.Size = st.st_size;
    const auto tooLarge = [&] {
        return closeAndFail(TFileRead::TooLarge, QStringLiteral("файл слишком велик: %1 байт, а допустимо не "
                                                                "больше %2")
                                                     .arg(read.Size)
                                                     .arg(ByteLimitText(maxBytes)));
    };
    if (read.Size > maxBytes)
        return tooLarge();
    // The file may grow while it is read: never more than the limit and one
    // byte is taken.
    read.Bytes.resize(qsizetype(read.Size) + 1);
    qsizetype got = 0;
    for (;;) {
        if (got == read.Bytes.size()) {
            if (got > maxBytes)
                break;
            read.Bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, qint64(got) * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, read.Bytes.data() + got, size_t(read.Bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return closeAndFail(TFileRead::Read, SystemErrorText(errno));
        if (n == 0)
            break;
        got += n;
    }
    if (got > maxBytes) {
        read.Size = got;
        return tooLarge();
    }
    close(fd);
    read.Bytes.truncate(got);
    read.Size = got;
    return read;
}

unsigned NewFileMode(TFileAccess access) {
    if (access == TFileAccess::Private)
        return 0600;
    // The mask is read where the system shows it: setting it to learn it
    // would change it for every thread meanwhile.
    unsigned mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const unsigned value = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = value;
            }
        }
    }
    return 0666 & ~mask;
}

QString SystemErrorText(int error) {
    switch (error) {
    case ENOENT: return QStringLiteral("нет такого файла или папки");
    case ENOTDIR: return QStringLiteral("часть пути не является папкой");
    case EACCES:
    case EPERM: return QStringLiteral("нет доступа");
    case EISDIR: return QStringLiteral("это папка, а не файл");
    case EROFS: return QStringLiteral("файловая система только для чтения");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("нет места на диске");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
    case ELOOP: return QStringLiteral("слишком много символьных ссылок");
    case EIO: return QStringLiteral("ошибка ввода-вывода");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("файл занят");
    case EMFILE:
    case ENFILE: return QStringLiteral("открыто слишком много файлов");
    case EXDEV: return QStringLiteral("файл нельзя переместить на другую файловую систему");
    default: break;
    }
    return QStringLiteral("ошибка %1 (%2)").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
}

QString ByteLimitText(qint64 bytes) {
    constexpr qint64 kKiB = 1024;
    constexpr qint64 kMiB = 1024 * kKiB;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return QStringLiteral("%1 МБ").arg(bytes / kMiB);
    if (bytes >= kKiB && bytes % kKiB == 0)
        return QStringLiteral("%1 КБ").arg(bytes / kKiB);
    return QStringLiteral("%1 байт").arg(bytes);
}
