// A settings file loaded into the pages, saved again and loaded again.
//
// Input: byte 0 is the panel release the Channels page's lists were filled
// for (their item numbers depend on it); the whole input is the file's
// bytes (Windows-1251, lines ended by CR LF, CR or LF).
//
// Every settings page takes its keys as the program loads them, through its
// model; a page whose numbers are missing or unusable takes its defaults.
// The bytes go through the settings file's own decoding (a file it refuses
// must say why). Checked: the pages saved as one file, encoded and decoded
// again, give back the same lines and load to exactly the same values.
#include "fuzz_check.h"

#include "pages/AlarmButtonsPage.h"
#include "pages/ChannelsPage.h"
#include "pages/PageModelTable.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsLookup.h"
#include "pages/SettingsPages.h"

#include <cstdlib>
#include <memory>

namespace {

// The pages' models need a host only to reach a panel: this one has none
// and refuses every operation.
class TNoPanel : public IPageHost {
public:
    TPanelExchange& Exchange() override { return fExchange; }
    bool isConnected() const override { return false; }
    int DeviceRelease() const override { return -1; }
    void SetWakeUp(bool) override {}
    bool BeginOperation(TOperationState) override { return false; }
    void EndOperation() override {}
    void ShowErrorList(const QStringList&, TWorkMode) override {}
    void ShowMessage(const QString&) override {}
    void ShowError(const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    QString ChooseFile(const TFileChoice&) override { return {}; }
    void BeginBusy(const QString&, bool) override {}
    void SetBusyProgress(int, int) override {}
    bool BusyCancelled() const override { return false; }
    void EndBusy() override {}

private:
    class TNoExchange : public TPanelExchange {
    public:
        bool DeviceCommandLst(const QString&, QStringList&, uint32_t) override { return false; }
        bool Uparam() const override { return false; }
        void SetUparam(bool) override {}
    } fExchange;
};

// The settings pages' models as the command line makes them, told the
// panel's release, with a file's lines loaded as the program loads them.
struct TPages {
    TNoPanel Host;
    std::vector<std::unique_ptr<TPageModel>> Models = CreatePageModels(Host);

    TPages(int release, const QStringList& lines) {
        for (TPageModel* page : Pages())
            page->DevRelease(release);
        LoadPageSettings(Pages(), lines);
    }
    std::vector<TPageModel*> Pages() const {
        std::vector<TPageModel*> pages;
        for (const auto& m : Models)
            pages.push_back(m.get());
        return pages;
    }
    QStringList Save() const { return SettingsLines(CollectPageSettings(Pages())); }
    template <class TPage> const TPage& Page() const {
        for (const auto& m : Models) {
            if (const auto* page = dynamic_cast<const TPage*>(m.get()))
                return *page;
        }
        std::abort();
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
    TPages again(release, savedLines);
    FUZZ_CHECK(again.Save() == loaded.Save(), "the pages load the same lines again");
    FUZZ_CHECK(again.Page<TAlarmButtonsPage>().State() == loaded.Page<TAlarmButtonsPage>().State(),
               "Alarm buttons");
    FUZZ_CHECK(again.Page<TChannelsPage>().State() == loaded.Page<TChannelsPage>().State(), "Channels");
    return 0;
}
