#pragma once

#include <QString>
#include <QStringList>

// What a page is doing; also chooses the error list window's heading.
enum TWorkMode { wmNull = 0, wmRead = 1, wmWrite = 2 };

// Page tags, in page order.
enum TPageTag {
    ptCommon = 0,
    ptSystemEvents = 1,
    ptGPRS = 2,
    ptChannels = 3,
    ptAlarmButtons = 4,
    ptEngineerNumbers = 5,
    ptSMS = 6,
    ptHistory = 7,
};

// The names of the eight pages, by tag.
QString PageName(int tag);
