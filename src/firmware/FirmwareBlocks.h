#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// How an image travels to the boot loader: each line loses its first 9 and
// its last 2 characters (the record's head and sum), the data of eight lines
// in a row make a block, and each block goes out as
// "+W<address>:<data>:<check>". The address counts lines (0000, 0008,
// 0010, ...), the check byte is the exclusive-or of the block's bytes, and
// the image ends with "+EE" and four check bytes: block k folded into lane
// k mod 4.

constexpr int kLinesPerBlock = 8;

// The data the boot loader gets from one image line.
QString TrimImageLine(const QString& line);

// The exclusive-or of the bytes of `data` (pairs of hexadecimal digits; a
// last single digit counts as a value of its own) as two upper-case digits.
// Empty when the data holds a character that is not a hexadecimal digit.
QString BlockCheckByte(const QString& data);

// The address of block k: 8 k in upper-case hexadecimal, at least 4 digits.
QString BlockAddress(int block);

struct TFirmwareBlock {
    QString Address;
    QString Data;  // the joined data of its lines
    QString Check; // BlockCheckByte of Data
    int FirstLine; // from 0
    int LineCount; // 8, fewer in the last block of an image
};

// An image cut into its blocks, with the four image check bytes.
struct TUploadPlan {
    int Lines = 0;
    QList<TFirmwareBlock> Blocks;
    std::array<quint8, 4> Lanes{};

    // "+W<address>:<data>:<check>" of block k.
    QString BlockCommand(int k) const;
    // "+EE" with the four lanes.
    QString FinalCommand() const;
};

// The blocks of an image. The last block holds only the lines that exist;
// blocks at the end whose lines carry no data (an end-of-file record alone)
// are left out, as there is nothing in them to write.
TUploadPlan PlanUpload(const QStringList& image);
