#include "ReplacingFile.h"

#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tries of a fresh temporary name before giving up.
constexpr int kNameTries = 100;

QString RandomSuffix() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return suffix;
}

} // namespace

TReplacingFile::TReplacingFile(QString path, TFileAccess access) : fPath(std::move(path)), fAccess(access) {}

TReplacingFile::~TReplacingFile() {
    Discard();
}

bool TReplacingFile::Fail(const QString& reason) {
    fReason = reason;
    Discard();
    return false;
}

void TReplacingFile::Discard() {
    fFile.close();
    if (!fTemporary.isEmpty())
        unlink(QFile::encodeName(fTemporary).constData());
    fTemporary.clear();
}

bool TReplacingFile::Open() {
    Discard();
    fReason.clear();
    TResolvedPath target;
    if (const QString problem = WriteTargetProblem(fPath, &target); !problem.isEmpty())
        return Fail(problem);
    fTarget = target.Path;
    // The permissions of a file replaced, not its set-id or sticky bits.
    const unsigned mode = target.Exists ? (target.Mode & 0777) : NewFileMode(fAccess);

    const qsizetype slash = fTarget.lastIndexOf(QLatin1Char('/'));
    const QString folder = fTarget.left(slash + 1);
    const QString name = fTarget.mid(slash + 1);
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        const QString candidate = folder + QLatin1Char('.') + name + QLatin1Char('.') + RandomSuffix();
        fd = open(QFile::encodeName(candidate).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd >= 0)
            fTemporary = candidate;
        else if (errno != EEXIST)
            return Fail(SystemErrorText(errno));
    }
    if (fd < 0)
        return Fail(SystemErrorText(EEXIST));
    // Made with no rights for others; now the mode the file is to have.
    if (fchmod(fd, mode_t(mode)) != 0) {
        const int error = errno;
        close(fd);
        return Fail(SystemErrorText(error));
    }
    if (!fFile.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return Fail(fFile.errorString());
    }
    return true;
}

bool TReplacingFile::Commit() {
    if (!fFile.isOpen())
        return Fail(fReason.isEmpty() ? QStringLiteral("файл не открыт") : fReason);
    errno = 0;
    if (!fFile.flush() || fFile.error() != QFileDevice::NoError)
        return Fail(errno ? SystemErrorText(errno) : fFile.errorString());
    if (fsync(fFile.handle()) != 0)
        return Fail(SystemErrorText(errno));
    fFile.close();
    // Something other than a regular file put there meanwhile is not
    // replaced either.
    struct stat st {};
    if (lstat(QFile::encodeName(fTarget).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return Fail(WriteTargetProblem(fTarget));
    if (rename(QFile::encodeName(fTemporary).constData(), QFile::encodeName(fTarget).constData()) != 0)
        return Fail(SystemErrorText(errno));
    fTemporary.clear();
    return true;
}

bool TReplacingFile::WriteAll(const QString& path, const QByteArray& bytes, TFileAccess access,
                              QString* reason) {
    TReplacingFile file(path, access);
    const auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (!file.Open())
        return fail(file.Reason());
    errno = 0;
    if (file.Device().write(bytes) != bytes.size())
        return fail(errno ? SystemErrorText(errno) : file.Device().errorString());
    if (!file.Commit())
        return fail(file.Reason());
    return true;
}
