#include "OperationResult.h"

namespace {

int Weight(TOperationResult::TStatus status) {
    switch (status) {
    case TOperationResult::Done: return 0;
    case TOperationResult::Failed: return 1;
    case TOperationResult::Cancelled: return 2;
    case TOperationResult::Lost: return 3;
    case TOperationResult::Refused: return 0; // a step that never ran changes nothing
    }
    return 0;
}

} // namespace

void TOperationResult::Merge(const TOperationResult& step) {
    Failures << step.Failures;
    if (Weight(step.Status) > Weight(Status))
        Status = step.Status;
}
