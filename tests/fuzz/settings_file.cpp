// A settings file loaded into the pages, saved again and loaded again.
//
// Input: byte 0 is the panel release the Channels page's lists were filled
// for (their item numbers depend on it); the whole input is the file's
// bytes (Windows-1251, lines ended by CR LF, CR or LF).
//
// Every page that can be loaded without its widgets takes its keys: a
// page's table walk (a page of one text and two numbers with ranges, the
// shape of the Common page), and the System events, GPRS, Channels, Alarm
// buttons, Engineer numbers and SMS values; a page whose numbers are missing
// or unusable takes its defaults. Checked: the pages saved as one file,
// written and read as bytes, load to exactly the same values.
#include "fuzz_check.h"

#include "history/CidEventTable.h"
#include "pages/AlarmButtonsState.h"
#include "pages/ChannelsState.h"
#include "pages/EngeneerNumberCodec.h"
#include "pages/GPRSCodec.h"
#include "pages/ParamTable.h"
#include "pages/SMSCodec.h"
#include "pages/SettingsLookup.h"
#include "pages/SystemEventsCodec.h"

#include <QRegularExpression>

namespace {

// The values of a page described by a table, held in plain variables.
struct TTablePage {
    QString Object;
    int Disp = 0;
    int Time = 0;
    bool operator==(const TTablePage&) const = default;
};

class TTable {
public:
    explicit TTable(TTablePage& page) {
        fTable.Text(QStringLiteral("Object"),
                    {.GetText = [&page] { return page.Object; },
                     .SetText = [&page](const QString& t) { page.Object = t; }},
                    QStringLiteral("0050"));
        fTable.Number(QStringLiteral("Disp"), NumberBinding(page.Disp), 0, 0, 1);
        fTable.Number(QStringLiteral("Time"), NumberBinding(page.Time), 0, 0, 254);
    }
    void Load(const QStringList& lines) const {
        TSettingsLoad load = fTable.LoadSettings(lines);
        if (load.Usable())
            load.ApplyAll();
        else
            fTable.SetDefault();
    }
    void Save(QStringList& lines) const { fTable.GetSettings(lines); }

private:
    static TFieldBinding NumberBinding(int& value) {
        return {.GetNumber = [&value] { return value; }, .SetNumber = [&value](int v) { value = v; }};
    }
    TParamTable fTable;
};

int AlarmTypeCount() {
    static const int count = int(BuildAlarmTypeItems(TCidEventTable::Builtin().Lines()).size());
    return count;
}

struct TPages {
    TTablePage Table;
    TSystemEventsValues SystemEvents;
    TGPRSValues GPRS;
    TChannelsState Channels;
    TAlarmButtonsState AlarmButtons;
    TEngineerValues Engineer;
    QStringList SMS;

    TPages(int release, const QStringList& lines) {
        TTable(Table).Load(lines);
        SystemEvents = SystemEventsFromSettings(lines).value_or(SystemEventsDefaults());
        GPRS = GPRSFromSettings(lines).value_or(GPRSDefaults());
        SetDevRelease(Channels, release);
        LoadChannelsSettings(Channels, lines);
        LoadAlarmButtonsSettings(AlarmButtons, lines, AlarmTypeCount());
        Engineer = EngineerFromSettings(lines).value_or(TEngineerValues{});
        SMS = SMSFromSettings(lines);
    }

    QStringList Save() {
        QStringList lines;
        TTable(Table).Save(lines);
        lines += SystemEventsSettings(SystemEvents);
        lines += GPRSSettings(GPRS);
        lines += ChannelsSettings(Channels);
        lines += AlarmButtonsSettings(AlarmButtons);
        lines += EngineerSettings(Engineer);
        lines += SMSSettings(SMS);
        return lines;
    }
};

// The file's lines as the settings file is read.
QStringList FileLines(const QByteArray& bytes) {
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = FromCp1251(bytes).split(kLineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray FileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToCp1251(line) + "\r\n";
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int release = size > 0 ? data[0] : 0;
    TPages loaded(release, FileLines(fuzz::Bytes(data, size)));
    const TPages again(release, FileLines(FileBytes(loaded.Save())));
    FUZZ_CHECK(again.Table == loaded.Table, "a page of the table walk");
    FUZZ_CHECK(again.SystemEvents == loaded.SystemEvents, "System events");
    FUZZ_CHECK(again.GPRS == loaded.GPRS, "GPRS");
    FUZZ_CHECK(again.Channels == loaded.Channels, "Channels");
    FUZZ_CHECK(again.AlarmButtons == loaded.AlarmButtons, "Alarm buttons");
    FUZZ_CHECK(again.Engineer == loaded.Engineer, "Engineer numbers");
    FUZZ_CHECK(again.SMS == loaded.SMS, "SMS");
    return 0;
}
