// A firmware image file as the upload takes it: its text lines, the check
// of every line as an Intel HEX record, and for an image that passes, its
// blocks, its summary and the upload's commands.
//
// Checked: a refusal names the file; an image that passes ends with its one
// end-of-file record and has blocks with data, and its block and final commands, given to the emulator's boot
// loader (written apart from the tool), are all stored and pass its final
// check, with the records' data bytes flashed in order; the summary counts
// what the image holds and its address ranges are sorted and apart.
#include "fuzz_check.h"

#include "boot_loader.h"
#include "firmware/FirmwareBlocks.h"
#include "firmware/FirmwareImage.h"
#include "firmware/HexRecord.h"
#include "firmware/ImageSummary.h"

namespace {

void CheckUpload(const TFirmwareImage& image) {
    for (qsizetype i = 0; i < image.Lines.size(); ++i)
        FUZZ_CHECK((ParseHexRecord(image.Lines.at(i))->Type == hrEndOfFile) == (i + 1 == image.Lines.size()),
                   "the end-of-file record is the last line, and only there");
    const TUploadPlan plan = PlanUpload(image.Lines);
    FUZZ_CHECK(!plan.Blocks.isEmpty(), "an image that passes has blocks");
    QByteArray data;
    for (const QString& line : image.Lines)
        data += ParseHexRecord(line)->Data;

    emu::BootLoader loader;
    loader.enter();
    loader.erase();
    for (int k = 0; k < plan.Blocks.size(); ++k) {
        const QString command = plan.BlockCommand(k);
        FUZZ_CHECK(command.startsWith(QLatin1String("+W")), "a block command");
        FUZZ_CHECK(loader.write(command.mid(2).toLatin1()) == emu::BootLoader::WriteResult::Stored,
                   "the boot loader stores every block");
    }
    const QString final = plan.FinalCommand();
    FUZZ_CHECK(final.startsWith(QLatin1String("+EE")), "the final command");
    FUZZ_CHECK(loader.finish(final.mid(3).toLatin1()), "the boot loader's final check passes");
    FUZZ_CHECK(loader.image() == data, "the records' data is flashed in order");

    const TImageSummary summary = SummariseImage(image);
    FUZZ_CHECK(summary.Lines == image.Lines.size() && summary.Blocks == plan.Blocks.size(), "counted");
    FUZZ_CHECK(summary.SentBytes == data.size() && summary.DataBytes <= summary.SentBytes, "bytes counted");
    qint64 covered = 0;
    for (qsizetype i = 0; i < summary.Ranges.size(); ++i) {
        const TAddressRange& r = summary.Ranges.at(i);
        FUZZ_CHECK(r.First < r.End, "a range holds addresses");
        FUZZ_CHECK(i == 0 || summary.Ranges.at(i - 1).End < r.First, "ranges sorted, apart");
        covered += r.End - r.First;
    }
    FUZZ_CHECK(covered <= summary.DataBytes, "ranges cover no more than the data");
    FUZZ_CHECK(SummaryText(summary).size() >= 5, "the summary's lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFirmwareImage image;
    image.Name = QStringLiteral("/tmp/образ.hex");
    image.Lines = FirmwareImageLines(fuzz::Bytes(data, size));
    const QString problem = ValidateFirmwareImage(image);
    if (!problem.isEmpty()) {
        FUZZ_CHECK(problem.contains(image.Name), "a refusal names the file");
        return 0;
    }
    CheckUpload(image);
    return 0;
}
