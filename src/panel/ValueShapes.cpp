#include "ValueShapes.h"

#include <QRegularExpression>

#include <vector>

namespace {

struct TShape {
    const char* Command; // the read command, or a family's stem followed by an entry digit
    bool Family;         // "+alphon" + entry 0..7
    const char* Pattern;
    const char16_t* Text;
};

// Hexadecimal digits are taken in either case, as the panel's values are
// read; lengths are the ones the panel keeps.
const TShape kShapes[] = {
    {"+o", false, "[0-9A-Fa-f]{4,}", u"не меньше 4 шестнадцатеричных цифр"},
    // A time beyond the list: a third digit. Not four: that is the object
    // number's form, whose late answer would pass for this one.
    {"+disp", false, "[0-9A-Fa-f]{2,3}", u"2 или 3 шестнадцатеричные цифры"},
    {"+U", false, "[0-9A-Fa-f]{4}", u"4 шестнадцатеричные цифры"},
    // The restart field may hold what no switch writes.
    {"+pwlog", false, "[0-9A-Fa-f]{4}[!-~]{2}[0-9A-Fa-f]{12}",
     u"18 шестнадцатеричных цифр (в поле перезагрузки любые 2 знака)"},
    {"+timegpres", false, "[0-9A-Fa-f]{4}", u"4 шестнадцатеричные цифры"},
    {"+gprsena", false, "[0-9A-Fa-f]{2}", u"2 шестнадцатеричные цифры"},
    {"+JDIR", false, "[0-9A-Fa-f]{2}", u"2 шестнадцатеричные цифры"},
    {"+X", false, "[0-9A-Fa-f]{2}", u"2 шестнадцатеричные цифры"},
    {"+n00", false, "[0-9]{9}", u"9 десятичных цифр"},
    {"+n02", false, "[0-9]{9}", u"9 десятичных цифр"},
    // What no item stands for is kept, hexadecimal or not; "OK" closes an
    // answer and is none.
    {"+presstime", false, "(?!OK)[!-~]{2}", u"2 знака"},
    {"+enaing", false, "[0-9A-Fa-f]{2}", u"2 шестнадцатеричные цифры"},
    {"+typepan", false, "[0-9A-Fa-f]{1,8}", u"шестнадцатеричное число"},
    {"+point", false, "[0-9A-Fa-f]{1,8}", u"шестнадцатеричное число"},
    {"+alphon", true, "[0-9]{6}=[0-9+]*", u"6 цифр, «=» и номер телефона"},
};

const TShape* ShapeOf(const QString& readCommand) {
    for (const TShape& s : kShapes) {
        const QLatin1String command(s.Command);
        if (!s.Family) {
            if (readCommand == command)
                return &s;
            continue;
        }
        if (readCommand.size() == command.size() + 1 && readCommand.startsWith(command) &&
            readCommand.back() >= QLatin1Char('0') && readCommand.back() <= QLatin1Char('7'))
            return &s;
    }
    return nullptr;
}

} // namespace

bool HasValueShape(const QString& readCommand) {
    return ShapeOf(readCommand) != nullptr;
}

bool ValueFitsShape(const QString& readCommand, const QString& value) {
    const TShape* shape = ShapeOf(readCommand);
    if (!shape)
        return true;
    static const std::vector<QRegularExpression> compiled = [] {
        std::vector<QRegularExpression> all;
        for (const TShape& s : kShapes)
            all.emplace_back(QRegularExpression::anchoredPattern(QLatin1String(s.Pattern)));
        return all;
    }();
    return compiled[size_t(shape - kShapes)].match(value).hasMatch();
}

QString ValueShapeText(const QString& readCommand) {
    const TShape* shape = ShapeOf(readCommand);
    return shape ? QString::fromUtf16(shape->Text) : QString();
}
