#pragma once

#include <QStringList>

// What one operation of the panel session came to, as the operation
// reported it: done, failed (with the names of what failed), cancelled by
// the user or by the window closing, the line lost meanwhile, or refused
// (it could not begin).
struct TOperationResult {
    enum TStatus { Done, Failed, Cancelled, Lost, Refused };
    TStatus Status = Done;
    QStringList Failures; // names of parameters or steps, in the order reported

    bool Ok() const { return Status == Done; }
    // Takes in what a step of this operation came to: the worse status wins
    // (Lost over Cancelled over Failed over Done); failures add up.
    void Merge(const TOperationResult& step);
};
