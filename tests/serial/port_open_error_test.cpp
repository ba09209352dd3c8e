// Why a port would not open, in words an installer can act on: real opens
// of what is not a port, and the reasons the system gives that a test run
// by the superuser cannot provoke.
#include "pty_pair.h"
#include "serial/ComTypes.h"
#include "serial/PortOpenError.h"
#include "serial/nComPort.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

struct TFailure {
    int Code = 0;
    int OsError = 0;
};

TFailure OpenFails(const QString& path) {
    TNewInDcb dcb;
    dcb.Port = path;
    TnComPort port(dcb);
    TFailure failure;
    port.OnCreateError = [&](TnComPort*, int code) {
        failure.Code = code;
        failure.OsError = errno;
    };
    EXPECT_FALSE(port.InitPort(true)) << path.toStdString();
    return failure;
}

TEST(PortOpenReason, WhatIsNotAPortIsSaidSo) {
    QTemporaryDir dir;
    const QString file = dir.filePath("not-a-port");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const struct {
        QString Path;
        const char* Says;
    } cases[] = {
        {dir.filePath("no-such-port"), "такого порта нет"},
        {file, "это не последовательный порт"},
        {dir.path(), "это папка"},
    };
    for (const auto& c : cases) {
        const TFailure failure = OpenFails(c.Path);
        const QString reason = PortOpenReason(failure.Code, failure.OsError);
        EXPECT_TRUE(reason.startsWith(QString::fromUtf8(c.Says))) << reason.toStdString();
    }
}

TEST(PortOpenReason, APortInUseIsBusyWhateverTheSystemSaid) {
    PtyPair pty;
    TNewInDcb dcb;
    dcb.Port = pty.slavePath();
    TnComPort first(dcb);
    ASSERT_TRUE(first.InitPort(true));
    const TFailure failure = OpenFails(pty.slavePath());
    EXPECT_EQ(failure.Code, ceBusy);
    EXPECT_TRUE(PortOpenReason(failure.Code, failure.OsError).startsWith("порт занят другой программой"));
}

TEST(PortOpenReason, TableOfReasons) {
    const struct {
        int Code;
        int OsError;
        const char* Contains;
    } cases[] = {
        // A permission refusal names the group and the command.
        {ceCreateFile, EACCES, "группе dialout: выполните «sudo adduser $USER dialout»"},
        {ceCreateFile, EPERM, "группе dialout"},
        {ceCreateFile, EBUSY, "порт занят другой программой"},
        {ceCreateFile, ENODEV, "такого порта нет"},
        {ceCreateFile, EIO, "ошибка ввода-вывода"},
        // A rare reason keeps the device's words and the system's number.
        {ceCreateFile, ELOOP, "Не могу создать файл (ошибка системы 40:"},
        {cePurge, 0, "Не могу очистить порт"},
    };
    for (const auto& c : cases) {
        const QString reason = PortOpenReason(c.Code, c.OsError);
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.Contains))) << reason.toStdString();
    }
    // Not a word of the system's English for the reasons an installer meets.
    for (int os : {ENOENT, ENOTTY, EISDIR, EIO, EBUSY})
        EXPECT_FALSE(PortOpenReason(ceCreateFile, os).contains(QRegularExpression("[A-Za-z]"))) << os;
}

} // namespace
