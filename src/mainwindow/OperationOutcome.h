#pragma once

#include "panel/OperationResult.h"
#include "panel/OperationState.h"

#include <QString>

// What a page operation came to, in one line for the status bar:
// "Прочитано: 7 страниц, без ошибок", "Записано: 1 страница, ошибок: 2".
// Empty for an operation that could not begin.
QString OperationOutcomeText(TOperationState operation, int pages, const TOperationResult& result);

// "страница", "страницы", "страниц" as Russian counts them.
QString PagesWord(int n);
