#pragma once

#include "PageModel.h"
#include "SMSCodec.h"

#include <array>

// The SMS page's values: the texts of the six messages the panel sends on
// its own events ("+smstext0" to "+smstext5"), counted from 1 here. Texts go
// to the panel as they stand; an empty one goes out as the read command, and
// the panel answering with the text it keeps is listed as not written.
//
// The texts may also be put into Latin letters (a Latin SMS holds more
// characters) and kept in an SMS text file of their own; none of that talks
// to the panel, and all of it waits while the page does.
class TSMSPage : public TPageModel {
    Q_OBJECT
public:
    explicit TSMSPage(IPageHost& host, QObject* parent = nullptr);

    // "SMS1" to "SMS6": text r (1..6); none outside.
    TPageField* Text(int r);
    QString TextOf(int r) const;

    // The defaults, as the page starts.
    void Init() override;

    // The user's commands: every text in Latin letters; the six texts from
    // an SMS text file or into one (a file that cannot be used changes
    // nothing and is told through the host). False when nothing was done.
    bool Transliterate();
    bool LoadTextFile(const QString& path);
    bool SaveTextFile(const QString& path);

private:
    std::array<TPageField*, SMSCount> fTexts{};
};
