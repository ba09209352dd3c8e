#include "boot_loader.h"

#include "hex_digits.h"

namespace emu {

void BootLoader::enter() {
    fActive = true;
}

void BootLoader::erase() {
    fErased = true;
    fLastAddress.reset();
    fBlocks.clear();
    fFailed.clear();
    fFinalCheck.reset();
}

BootLoader::WriteResult BootLoader::write(const QByteArray& argument) {
    const QList<QByteArray> parts = argument.split(':');
    if (parts.size() != 3)
        return WriteResult::BadFormat;
    const QByteArray& addressText = parts[0];
    const QByteArray& data = parts[1];
    const QByteArray& checkText = parts[2];
    if (addressText.size() < 4 || !hex::isUpper(addressText) || checkText.size() != 2 ||
        !hex::isUpper(checkText) || data.isEmpty() || data.size() % 2 != 0 || !hex::isAnyCase(data))
        return WriteResult::BadFormat;
    const auto address = hex::parseUpper(addressText);
    if (!address)
        return WriteResult::BadFormat;
    if (!fErased)
        return WriteResult::NotErased;
    const bool first = !fLastAddress && *address == 0;
    const bool again = fLastAddress && *address == *fLastAddress;
    const bool next = fLastAddress && *address == *fLastAddress + 8;
    if (!first && !again && !next)
        return WriteResult::BadAddress;
    fLastAddress = *address;

    Block block;
    quint8 x = 0;
    for (int i = 0; i < data.size(); i += 2) {
        const auto b = quint8(hex::digitValue(data.at(i)) * 16 + hex::digitValue(data.at(i + 1)));
        block.data.append(char(b));
        x ^= b;
    }
    block.check = quint8(*hex::parseUpper(checkText));
    if (x != block.check) {
        fBlocks.erase(*address);
        fFailed.insert(*address);
        return WriteResult::BadCheck;
    }
    fFailed.erase(*address);
    fBlocks[*address] = block;
    return WriteResult::Stored;
}

QByteArray BootLoader::expectedFinalBytes() const {
    quint8 acc[4] = {0, 0, 0, 0};
    for (const auto& [address, block] : fBlocks)
        acc[(address / 8) % 4] ^= block.check;
    QByteArray out;
    for (quint8 a : acc)
        out += hex::format(a, 2);
    return out;
}

bool BootLoader::finish(const QByteArray& argument) {
    fActive = false;
    const bool ok = argument.size() == 8 && hex::isUpper(argument) && fErased && !fBlocks.empty() &&
                    fFailed.empty() && argument == expectedFinalBytes();
    fFinalCheck = ok;
    return ok;
}

QByteArray BootLoader::image() const {
    QByteArray out;
    for (const auto& [address, block] : fBlocks)
        out += block.data;
    return out;
}

} // namespace emu
