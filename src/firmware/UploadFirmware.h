#pragma once

#include "FirmwareBlocks.h"
#include "UploadStep.h"
#include "panel/PanelExchange.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

// How long the upload waits for each of its commands (the exchange adds its
// modem margin and makes its own three attempts). Tests shorten them.
struct TUploadTimeOuts {
    uint32_t BootEntry = 0;                      // "+BL": the panel restarts into its boot loader
    uint32_t BootCheck = ExchangeTimeout::Param; // "+v" in the boot loader
    uint32_t FlashErase = ExchangeTimeout::Long; // "+BE"
    uint32_t Block = ExchangeTimeout::Signal;    // each "+W..."
    uint32_t FinalCheck = ExchangeTimeout::Long; // "+EE..."
    // The least time any answer of the boot loader is waited out before the
    // next step goes out ("+BL" itself is not awaited, but its answers are):
    // a slow boot loader answers seconds late, and a late answer taken for
    // the next step's would confirm what the panel never did.
    uint32_t BootLoaderAnswer = ExchangeTimeout::Signal;
};

// Names of the failed exchanges, as the error list shows them.
inline constexpr char16_t kBootLoaderError[] = u"Не могу активировать boot loader";
inline constexpr char16_t kEraseError[] = u"Не могу очистить флеш";
inline constexpr char16_t kBlockError[] = u"Ошибка при перепрошивке";

// Writes a firmware image into the panel through its boot loader: "+BL",
// "+v", "+BE", the blocks "+W<address>:<data>:<check>", and "+EE" with the
// four image check bytes. Driven by the event loop: UploadFirmware() returns
// at once, each step runs from the loop and waits for the panel only inside
// the exchange, and the engine reports the step, the progress and the result
// through its signals.
//
// A failed erase or block (after the exchange's own attempts) stops the
// upload there: nothing more is sent, "+EE" included, and the result says
// which step failed and that the panel waits in its boot loader for the
// update to be run again. Cancel() stops it the same way before the next
// block. Success is reported only when the panel confirmed the final check;
// every answer the boot loader owes is waited out before the next step, so
// that "OK" can only be the answer to "+EE".
class TUploadFirmware : public QObject {
    Q_OBJECT
public:
    explicit TUploadFirmware(TPanelExchange& exchange, QObject* parent = nullptr);
    ~TUploadFirmware() override;

    void SetTimeOuts(const TUploadTimeOuts& timeOuts) { fTimeOuts = timeOuts; }
    const TUploadTimeOuts& TimeOuts() const { return fTimeOuts; }

    // Starts writing `image` (lines of a validated image). False, with
    // nothing sent, while an upload runs or when the image has no data.
    bool UploadFirmware(const QStringList& image);
    // Asks the upload to stop before its next block (or before the erase).
    void Cancel();

    bool Running() const { return fRunning; }
    bool CancelRequested() const { return fCancel; }
    int BlockCount() const { return int(fPlan.Blocks.size()); }

signals:
    // A step begins; `block` counts from 1 while blocks are written.
    void StepChanged(TUploadStep step, int block, int blocks);
    // The whole percent of the image written changed; the time left is
    // estimated from the blocks written so far (-1 while none is).
    void ProgressChanged(int percent, qint64 msLeft);
    void Finished(const TUploadResult& result);

private:
    void EnterBootLoader();
    void EraseFlash();
    void WriteNextBlock();
    void FinalCheck();
    void Queue(void (TUploadFirmware::*step)());
    void Begin(TUploadStep step, int block = 0);
    void ReportProgress();
    void Stop(TUploadResult::TOutcome outcome, const QString& message);

    TPanelExchange& fExchange;
    TUploadTimeOuts fTimeOuts;
    TUploadPlan fPlan;
    bool fRunning = false;
    bool fCancel = false;
    int fNext = 0; // the next block to write
    int fPercent = -1;
    TUploadStep fStep = TUploadStep::EnterBootLoader;
    QStringList fErrors;
    QElapsedTimer fBlockClock;
};
