#pragma once

#include <QByteArray>
#include <QList>
#include <map>
#include <optional>
#include <set>

namespace emu {

// The panel's boot loader: entered with "+BL", erases the flash with "+BE",
// takes the image in blocks "+W<address>:<data>:<check>" and ends with
// "+EE<c1><c2><c3><c4>". A block's address counts in steps of 8 (0000, 0008,
// 0010, ...); its check byte is the exclusive-or of its data bytes. The four
// final check bytes are the exclusive-or of the check bytes of blocks 0, 4,
// 8, ...; 1, 5, 9, ...; 2, 6, ...; and 3, 7, ... A block may be sent again
// (a retry) with the address of the block before; the next one must follow it.
class BootLoader {
public:
    enum class WriteResult { Stored, BadFormat, NotErased, BadAddress, BadCheck };

    bool active() const { return fActive; }
    void enter();
    void erase();
    WriteResult write(const QByteArray& argument); // the text after "+W"
    // Checks the four bytes against the blocks received and leaves the boot
    // loader; false for a malformed argument, a mismatch, or a failed block.
    bool finish(const QByteArray& argument); // the text after "+EE"

    // The flashed bytes, blocks in address order.
    QByteArray image() const;
    int blockCount() const { return int(fBlocks.size()); }
    int failedBlockCount() const { return int(fFailed.size()); }
    bool erased() const { return fErased; }
    // Result of the last "+EE" since the last erase; nothing while none came.
    std::optional<bool> finalCheck() const { return fFinalCheck; }
    // The check bytes the panel computed for the last "+EE".
    QByteArray expectedFinalBytes() const;

private:
    struct Block {
        QByteArray data;
        quint8 check = 0;
    };
    bool fActive = false;
    bool fErased = false;
    std::optional<unsigned> fLastAddress;
    std::map<unsigned, Block> fBlocks;
    std::set<unsigned> fFailed;
    std::optional<bool> fFinalCheck;
};

} // namespace emu
