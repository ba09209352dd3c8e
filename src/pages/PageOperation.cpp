#include "PageOperation.h"

bool RunPageOperation(IPageHost& host, TWorkMode& pageMode, TWorkMode mode,
                      const std::function<void(QStringList& errors)>& body,
                      const std::function<void(const QStringList& errors)>& report) {
    if (pageMode != wmNull)
        return false;
    TOperationScope operation(host, mode == wmWrite ? TOperationState::Writing : TOperationState::Reading);
    if (!operation)
        return false;
    pageMode = mode;
    QStringList errors;
    body(errors);
    report(errors);
    pageMode = wmNull;
    return true;
}
