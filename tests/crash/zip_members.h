#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Reads a zip file by hand, strictly: the end-of-central-directory record
// must close the file, every central directory entry must be whole, point at
// a local header of the same name, and its data must inflate (or be stored)
// to the recorded size with the recorded CRC-32. No ZIP64, no encryption.
struct ZipMembers {
    bool ok = false;
    QString error;                     // what is wrong when not ok
    QMap<QString, QByteArray> members; // name -> uncompressed bytes
};
ZipMembers ReadZipMembers(const QByteArray& zip);
