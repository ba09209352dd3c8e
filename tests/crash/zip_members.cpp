#include "zip_members.h"

#include <zlib.h>

namespace {

constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr int kEndSize = 22;
constexpr int kCentralSize = 46;
constexpr int kLocalSize = 30;

quint32 U16(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8;
}
quint32 U32(const QByteArray& b, qsizetype at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

bool Inflate(const QByteArray& in, qsizetype size, QByteArray& out) {
    out.resize(size);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(size);
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

ZipMembers Fail(const QString& error) {
    ZipMembers r;
    r.error = error;
    return r;
}

} // namespace

ZipMembers ReadZipMembers(const QByteArray& zip) {
    // The record sits at the very end unless a comment follows it.
    qsizetype end = -1;
    for (qsizetype at = zip.size() - kEndSize; at >= 0 && at >= zip.size() - kEndSize - 0xFFFF; --at) {
        if (U32(zip, at) == kEndSignature && at + kEndSize + qsizetype(U16(zip, at + 20)) == zip.size()) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return Fail(QStringLiteral("no end-of-central-directory record (%1 bytes)").arg(zip.size()));
    const quint32 entries = U16(zip, end + 10);
    const qsizetype cdSize = U32(zip, end + 12);
    const qsizetype cdStart = U32(zip, end + 16);
    if (cdStart + cdSize != end)
        return Fail(QStringLiteral("the central directory does not end at the end record"));

    ZipMembers result;
    qsizetype at = cdStart;
    for (quint32 i = 0; i < entries; ++i) {
        if (at + kCentralSize > end || U32(zip, at) != kCentralSignature)
            return Fail(QStringLiteral("central directory entry %1 is broken").arg(i));
        const quint32 method = U16(zip, at + 10);
        const quint32 crc = U32(zip, at + 16);
        const qsizetype packed = U32(zip, at + 20);
        const qsizetype size = U32(zip, at + 24);
        const qsizetype nameLength = U16(zip, at + 28);
        const qsizetype rest = nameLength + U16(zip, at + 30) + U16(zip, at + 32);
        const qsizetype local = U32(zip, at + 42);
        if (at + kCentralSize + rest > end)
            return Fail(QStringLiteral("central directory entry %1 runs past its end").arg(i));
        const QByteArray name = zip.mid(at + kCentralSize, nameLength);
        at += kCentralSize + rest;

        if (local + kLocalSize > cdStart || U32(zip, local) != kLocalSignature ||
            zip.mid(local + kLocalSize, U16(zip, local + 26)) != name)
            return Fail(QStringLiteral("no local header for %1").arg(QString::fromUtf8(name)));
        const qsizetype data = local + kLocalSize + U16(zip, local + 26) + U16(zip, local + 28);
        if (data + packed > cdStart)
            return Fail(QStringLiteral("the data of %1 runs past its end").arg(QString::fromUtf8(name)));
        const QByteArray raw = zip.mid(data, packed);
        QByteArray bytes;
        if (method == 0 && packed == size)
            bytes = raw;
        else if (method != 8 || !Inflate(raw, size, bytes))
            return Fail(QStringLiteral("%1 does not inflate").arg(QString::fromUtf8(name)));
        if (crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())) != crc)
            return Fail(QStringLiteral("%1 has a wrong CRC").arg(QString::fromUtf8(name)));
        result.members.insert(QString::fromUtf8(name), bytes);
    }
    if (at != end)
        return Fail(QStringLiteral("the central directory holds more than its entries"));
    result.ok = true;
    return result;
}
