#pragma once

// The journal's rows of the fault table, run both through the journal reader
// directly and through the History page in the window: each emulator fault
// on the record reads, the pointer and the erase, and what it must end in.
#include "emulated_panel_fixture.h"
#include "history/JournalPages.h"

#include <QStringList>

#include <functional>

namespace journal_faults {

inline emu::Faults Fault(std::function<void(emu::Faults&)> set) {
    emu::Faults f;
    set(f);
    return f;
}

// What a faulty run may wait: for every command the fault touches, all its
// attempts and the late bound; nothing for faults that only reshape bytes.
inline bool MakesWaits(const emu::Faults& f) {
    return f.dropEvery || f.answerOnRetry || f.missingOk || f.hangupAt;
}

inline const QString kNoise = JournalError::RejectedLines(1);

struct TReadCase {
    const char* Name;
    emu::Faults Faults;
    // The errors of the newest page and of the whole journal (paging back
    // from the page shows the same as its read); none: exactly the records
    // of a clean run.
    QStringList Errors = {};
};

inline const TReadCase kReadCases[] = {
    {"bytes split", Fault([](auto& f) { f.splitBytes = true; })},
    {"LF and > sprinkled", Fault([](auto& f) { f.sprinkle = true; })},
    // The noise line is counted and named, the records are those of a
    // clean run.
    {"garbage before answers", Fault([](auto& f) { f.garbage = true; }), {kNoise}},
    {"record reads answered only on retry", Fault([](auto& f) {
         f.answerOnRetry = true;
         f.onlyCommand = "+read";
     })},
    {"every 3rd command dropped", Fault([](auto& f) { f.dropEvery = 3; })},
    {"answers 30 ms late", Fault([](auto& f) { f.extraDelayMs = 30; })},
    {"hang-up inside the newest page", Fault([](auto& f) {
         f.hangupAt = 1;
         f.onlyCommand = "+read";
     })},
    {"hang-up inside the whole journal", Fault([](auto& f) {
         f.hangupAt = 3;
         f.onlyCommand = "+read";
     })},
    // Asked for again; the second answer brings it.
    {"a record left out once", Fault([](auto& f) { f.skipRecord = 90; })},
    {"a record left out every time", Fault([](auto& f) {
         f.skipRecord = 90;
         f.skipRecordAlways = true;
     }),
     JournalError::MissingRecords({90})},
    {"records without OK",
     Fault([](auto& f) {
         f.missingOk = true;
         f.onlyCommand = "+read";
     }),
     {"Записи истории"}},
    {"record reads silent",
     Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+read";
     }),
     {"Записи истории"}},
    {"pointer silent",
     Fault([](auto& f) {
         f.dropEvery = 1;
         f.onlyCommand = "+point";
     }),
     {"Значение указателя истории"}},
};

// The erase under faults: done and the journal emptied, or named and the
// records as they were.
struct TEraseCase {
    const char* Name;
    emu::Faults Faults;
    bool Erased;
};

inline emu::Faults OnErase(std::function<void(emu::Faults&)> set) {
    return Fault([set](emu::Faults& f) {
        set(f);
        f.onlyCommand = "+erase";
    });
}

inline const TEraseCase kEraseCases[] = {
    {"bytes split", OnErase([](auto& f) { f.splitBytes = true; }), true},
    {"LF and > sprinkled", OnErase([](auto& f) { f.sprinkle = true; }), true},
    {"garbage before the answer", OnErase([](auto& f) { f.garbage = true; }), true},
    {"answered only on retry", OnErase([](auto& f) { f.answerOnRetry = true; }), true},
    {"hang-up inside the answer", OnErase([](auto& f) { f.hangupAt = 1; }), true},
    {"silent", OnErase([](auto& f) { f.dropEvery = 1; }), false},
};

} // namespace journal_faults
