#pragma once

#include "FirmwareImage.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// One stretch of flash addresses an image's data records cover, the end
// not included (data at the top of the 32-bit space ends at 2^32 or past it).
struct TAddressRange {
    quint32 First = 0;
    quint64 End = 0;
    bool operator==(const TAddressRange&) const = default;
};

// What the installer confirms before an upload: the file, its size, where
// its data records belong, and the records that are not data. The boot
// loader takes every line's data as it stands, so the bytes of an address
// record (types 02 to 05) reach the flash as data: those get a warning.
struct TImageSummary {
    QString Name;
    int Lines = 0;
    int Blocks = 0;
    qint64 DataBytes = 0; // in data records
    qint64 SentBytes = 0; // of every record, as the boot loader gets them
    QList<TAddressRange> Ranges;
    QMap<int, int> OtherRecords; // record type -> how many
    QStringList Warnings;
};

// The summary of a validated image (lines that are not records count as
// lines only). Extended address records (02, 04) move the data records that
// follow them; ranges are sorted and joined where they touch.
TImageSummary SummariseImage(const TFirmwareImage& image);

// The summary as lines of text for the confirmation, warnings last.
QStringList SummaryText(const TImageSummary& summary);
