#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

// The steps of an upload, in order.
enum class TUploadStep {
    EnterBootLoader, // "+BL", then "+v"
    EraseFlash,      // "+BE"
    WriteBlock,      // "+W..." per block
    FinalCheck,      // "+EE..."
};

// How an upload ended.
struct TUploadResult {
    enum TOutcome { Succeeded, Failed, Cancelled };
    TOutcome Outcome = Failed;
    TUploadStep Step = TUploadStep::EnterBootLoader; // the last step begun
    int Block = 0;                                   // the block of that step, from 1 (WriteBlock)
    int Blocks = 0;
    QString Message;       // for the installer, in plain words
    QStringList ErrorList; // the names of the exchanges that failed

    bool Ok() const { return Outcome == Succeeded; }
};

Q_DECLARE_METATYPE(TUploadResult)

// The step in words: "Переход в загрузчик", "Очистка флеш-памяти",
// "Запись блока 37 из 512", "Проверка".
QString UploadStepText(TUploadStep step, int block = 0, int blocks = 0);

// The time left in words ("1 мин 05 с", "12 с"); empty while not known (ms < 0).
QString TimeLeftText(qint64 ms);

// What a panel left in its boot loader needs.
inline constexpr char16_t kRecoveryAdvice[] =
    u"Панель осталась в загрузчике; чтобы восстановить её, запустите обновление ещё раз.";
