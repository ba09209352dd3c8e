#include "FirmwareBlocks.h"

#include "HexRecord.h"
#include "panel/HexDigit.h"

namespace {

// One or two hexadecimal digits; -1 when there are none or one is not a digit.
int HexValue(const QString& digits) {
    int v = 0;
    for (QChar c : digits) {
        const int d = HexDigitValue(c);
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return digits.isEmpty() ? -1 : v;
}

QString Hex(unsigned value, int width) {
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString TrimImageLine(const QString& line) {
    QString data = line.mid(9);
    data.chop(2);
    return data;
}

QString BlockCheckByte(const QString& data) {
    unsigned v = 0;
    for (qsizetype i = 0; i < data.size(); i += 2) {
        const int pair = HexValue(data.mid(i, 2));
        if (pair < 0)
            return {};
        v ^= unsigned(pair);
    }
    return Hex(v & 0xFF, 2);
}

QString BlockAddress(int block) {
    return Hex(unsigned(block) * kLinesPerBlock, 4);
}

QString TUploadPlan::BlockCommand(int k) const {
    const TFirmwareBlock& b = Blocks.at(k);
    return QStringLiteral("+W%1:%2:%3").arg(b.Address, b.Data, b.Check);
}

QString TUploadPlan::FinalCommand() const {
    QString command = QStringLiteral("+EE");
    for (quint8 lane : Lanes)
        command += Hex(lane, 2);
    return command;
}

TUploadPlan PlanUpload(const QStringList& image) {
    TUploadPlan plan;
    plan.Lines = int(image.size());
    for (int first = 0; first < plan.Lines; first += kLinesPerBlock) {
        TFirmwareBlock block;
        block.FirstLine = first;
        block.LineCount = std::min(kLinesPerBlock, plan.Lines - first);
        for (int i = first; i < first + block.LineCount; ++i)
            block.Data += TrimImageLine(image.at(i));
        block.Address = BlockAddress(int(plan.Blocks.size()));
        block.Check = BlockCheckByte(block.Data);
        plan.Blocks.append(block);
    }
    while (!plan.Blocks.isEmpty() && plan.Blocks.last().Data.isEmpty())
        plan.Blocks.removeLast();
    for (qsizetype k = 0; k < plan.Blocks.size(); ++k)
        plan.Lanes[k % 4] ^= quint8(std::max(0, HexValue(plan.Blocks[k].Check)));
    return plan;
}
