#include "stream_page_host.h"

void StreamPageHost::ShowErrorList(const QStringList& errors, TWorkMode mode) {
    const char* what = mode == wmWrite ? "не записано" : "не прочитано";
    for (const QString& name : errors)
        fOut << what << ": " << name << Qt::endl;
}

bool StreamPageHost::Confirm(const QString& question) {
    fOut << question << (answerYes ? " да" : " нет") << Qt::endl;
    return answerYes;
}
