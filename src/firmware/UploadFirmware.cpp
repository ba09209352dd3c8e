#include "UploadFirmware.h"

#include <QPointer>
#include <QTimer>

namespace {
const QString kOK = QStringLiteral("OK");
} // namespace

TUploadFirmware::TUploadFirmware(TPanelExchange& exchange, QObject* parent)
    : QObject(parent), fExchange(exchange) {
    qRegisterMetaType<TUploadResult>();
    qRegisterMetaType<TUploadStep>();
}

TUploadFirmware::~TUploadFirmware() {
    if (fRunning)
        fExchange.SetLeastAnswerTime(0);
}

bool TUploadFirmware::UploadFirmware(const QStringList& image) {
    if (fRunning)
        return false;
    TUploadPlan plan = PlanUpload(image);
    if (plan.Blocks.isEmpty())
        return false;
    fPlan = std::move(plan);
    fRunning = true;
    fCancel = false;
    fNext = 0;
    fPercent = -1;
    fErrors.clear();
    fExchange.SetLeastAnswerTime(fTimeOuts.BootLoaderAnswer);
    Queue(&TUploadFirmware::EnterBootLoader);
    return true;
}

void TUploadFirmware::Cancel() {
    if (fRunning)
        fCancel = true;
}

void TUploadFirmware::Queue(void (TUploadFirmware::*step)()) {
    QTimer::singleShot(0, this, step);
}

void TUploadFirmware::Begin(TUploadStep step, int block) {
    fStep = step;
    emit StepChanged(step, block, BlockCount());
}

void TUploadFirmware::EnterBootLoader() {
    const QPointer<TUploadFirmware> alive(this);
    Begin(TUploadStep::EnterBootLoader);
    // The panel restarts into its boot loader: its answer is not awaited.
    QString ignored;
    fExchange.DeviceCommand(QStringLiteral("+BL"), ignored, fTimeOuts.BootEntry);
    if (!alive)
        return;
    QStringList answer;
    fExchange.ReadParamFromDevice(QStringLiteral("+v"), answer, fErrors, QString::fromUtf16(kBootLoaderError),
                                  kOK, fTimeOuts.BootCheck);
    if (!alive)
        return;
    Queue(&TUploadFirmware::EraseFlash);
}

void TUploadFirmware::EraseFlash() {
    if (fCancel) {
        Stop(TUploadResult::Cancelled, QStringLiteral("Обновление прервано до очистки флеш-памяти. %1")
                                           .arg(QString::fromUtf16(kRecoveryAdvice)));
        return;
    }
    const QPointer<TUploadFirmware> alive(this);
    Begin(TUploadStep::EraseFlash);
    const qsizetype before = fErrors.size();
    fExchange.SendParamToDevice(QStringLiteral("+BE"), fErrors, QString::fromUtf16(kEraseError), kOK,
                                fTimeOuts.FlashErase);
    if (!alive)
        return;
    if (fErrors.size() != before) {
        const QString silent = fErrors.contains(QString::fromUtf16(kBootLoaderError))
                                   ? QStringLiteral(" Загрузчик не ответил и на запрос версии.")
                                   : QString();
        Stop(TUploadResult::Failed,
             QStringLiteral("Не удалось выполнить шаг «%1»: панель не подтвердила "
                            "очистку флеш-памяти.%2 %3")
                 .arg(UploadStepText(TUploadStep::EraseFlash), silent, QString::fromUtf16(kRecoveryAdvice)));
        return;
    }
    fBlockClock.start();
    ReportProgress();
    Queue(&TUploadFirmware::WriteNextBlock);
}

void TUploadFirmware::WriteNextBlock() {
    if (fCancel) {
        Stop(TUploadResult::Cancelled, QStringLiteral("Обновление прервано перед блоком %1 из %2. %3")
                                           .arg(fNext + 1)
                                           .arg(BlockCount())
                                           .arg(QString::fromUtf16(kRecoveryAdvice)));
        return;
    }
    const QPointer<TUploadFirmware> alive(this);
    Begin(TUploadStep::WriteBlock, fNext + 1);
    const qsizetype before = fErrors.size();
    QStringList answer;
    fExchange.ReadParamFromDevice(fPlan.BlockCommand(fNext), answer, fErrors, QString::fromUtf16(kBlockError),
                                  kOK, fTimeOuts.Block);
    if (!alive)
        return;
    if (fErrors.size() != before) {
        Stop(TUploadResult::Failed,
             QStringLiteral("Не удалось выполнить шаг «%1»: панель не приняла блок. %2")
                 .arg(UploadStepText(TUploadStep::WriteBlock, fNext + 1, BlockCount()),
                      QString::fromUtf16(kRecoveryAdvice)));
        return;
    }
    ++fNext;
    ReportProgress();
    Queue(fNext < BlockCount() ? &TUploadFirmware::WriteNextBlock : &TUploadFirmware::FinalCheck);
}

void TUploadFirmware::ReportProgress() {
    const TFirmwareBlock& last = fPlan.Blocks.last();
    const int lines = last.FirstLine + last.LineCount;
    const int written =
        fNext == 0 ? 0 : fPlan.Blocks.at(fNext - 1).FirstLine + fPlan.Blocks.at(fNext - 1).LineCount;
    const int percent = int(qint64(written) * 100 / lines);
    if (percent == fPercent)
        return;
    fPercent = percent;
    qint64 left = -1;
    if (fNext > 0)
        left = fBlockClock.elapsed() * (BlockCount() - fNext) / fNext;
    emit ProgressChanged(percent, left);
}

void TUploadFirmware::FinalCheck() {
    const QPointer<TUploadFirmware> alive(this);
    Begin(TUploadStep::FinalCheck);
    QString answer;
    const bool ok = fExchange.DeviceCommand(fPlan.FinalCommand(), answer, fTimeOuts.FinalCheck);
    if (!alive)
        return;
    if (!ok) {
        Stop(TUploadResult::Failed, QStringLiteral("Не удалось выполнить шаг «%1»: панель не подтвердила "
                                                   "контрольные байты образа. Прошивка панели может быть "
                                                   "неполной; запустите обновление ещё раз.")
                                        .arg(UploadStepText(TUploadStep::FinalCheck)));
        return;
    }
    Stop(TUploadResult::Succeeded,
         QStringLiteral("Прошивка записана: блоков %1, проверка пройдена.").arg(BlockCount()));
}

void TUploadFirmware::Stop(TUploadResult::TOutcome outcome, const QString& message) {
    TUploadResult result;
    result.Outcome = outcome;
    result.Step = fStep;
    result.Block = fStep == TUploadStep::WriteBlock ? fNext + 1 : 0;
    result.Blocks = BlockCount();
    result.Message = message;
    result.ErrorList = fErrors;
    fExchange.SetLeastAnswerTime(0);
    fRunning = false;
    fCancel = false;
    emit Finished(result);
}
