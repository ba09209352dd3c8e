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
// or unusable takes its defaults. The bytes go through the settings file's
// own decoding (a file it refuses must say why). Checked: the pages saved as
// one file, encoded and decoded again, give back the same lines and load to
// exactly the same values.
#include "fuzz_check.h"

#include "history/CidEventTable.h"
#include "pages/AlarmButtonsState.h"
#include "pages/ChannelsState.h"
#include "pages/EngeneerNumberCodec.h"
#include "pages/GPRSCodec.h"
#include "pages/ParamTable.h"
#include "pages/SMSCodec.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsLookup.h"
#include "pages/SystemEventsCodec.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int release = size > 0 ? data[0] : 0;
    QStringList lines;
    QString reason;
    if (!TSettingsFile::Decode(fuzz::Bytes(data, size), lines, reason)) {
        FUZZ_CHECK(!reason.isEmpty(), "a refused file says why");
        return 0;
    }
    TPages loaded(release, lines);
    const QByteArray saved = TSettingsFile::Encode(loaded.Save());
    QStringList savedLines;
    FUZZ_CHECK(TSettingsFile::Decode(saved, savedLines, reason), "a saved file reads back");
    FUZZ_CHECK(savedLines == loaded.Save(), "the saved lines read back unchanged");
    const TPages again(release, savedLines);
    FUZZ_CHECK(again.Table == loaded.Table, "a page of the table walk");
    FUZZ_CHECK(again.SystemEvents == loaded.SystemEvents, "System events");
    FUZZ_CHECK(again.GPRS == loaded.GPRS, "GPRS");
    FUZZ_CHECK(again.Channels == loaded.Channels, "Channels");
    FUZZ_CHECK(again.AlarmButtons == loaded.AlarmButtons, "Alarm buttons");
    FUZZ_CHECK(again.Engineer == loaded.Engineer, "Engineer numbers");
    FUZZ_CHECK(again.SMS == loaded.SMS, "SMS");
    return 0;
}
