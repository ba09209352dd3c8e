#pragma once

#include "EngeneerNumberCodec.h"
#include "PageModel.h"

#include <array>

// The Engineer numbers page's values: the switch that enables the
// engineers' numbers in the panel ("+enaing") and the five numbers
// ("+phing0" to "+phing4"), counted from 1 here.
//
// A number read from the panel is kept as it comes (an empty one as the
// panel's single space). It is written without spaces, and an empty one as
// a single space; the page then holds what went out.
class TEngeneerNumberPage : public TPageModel {
    Q_OBJECT
public:
    explicit TEngeneerNumberPage(IPageHost& host, QObject* parent = nullptr);

    // "EnableEng": 1 enabled.
    TPageField& Enabled() { return *fEnabled; }
    // "EPhone1" to "EPhone5": number n (1..5); none outside.
    TPageField* Number(int n);

    static QString EnableCaption(); // "Включить инженерные номера"

private:
    TPageField* fEnabled;
    std::array<TPageField*, EngineerNumberCount> fNumbers{};
};
