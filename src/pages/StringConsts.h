#pragma once

#include <QString>
#include <QStringList>

#include <array>

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

// The built-in texts of the main window: which component, which property
// ("Caption" or "Hint"), which text. Applied at the first start of a
// program version.
struct TCaptionEntry {
    const char* Component;
    const char* Property;
    const char* Text; // UTF-8
};
const std::array<TCaptionEntry, 27>& BuiltInCaptions();
// One built-in text ("Caption" or "Hint" of a component); empty when the
// table has none.
QString BuiltInText(const char* component, const char* property = "Caption");
