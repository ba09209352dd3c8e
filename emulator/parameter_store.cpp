#include "parameter_store.h"

#include "cp1251.h"
#include "value_checks.h"

namespace emu {

const ParameterStore::Family ParameterStore::kFamilies[3] = {{"+alphon", 8}, {"+phing", 5}, {"+smstext", 6}};

namespace {

// The factory direction table: direction 1 reports over CSD, with SMS as the
// alternative; direction 2 over GPRS to server 1; the other entries unused.
const char* const kDirections[8] = {
    "110002=+79031234567",
    "120006=+79031234567",
    "210003=",
    "220000=",
    "230000=",
    "240000=",
    "250000=",
    "260000=",
};

const char* const kSmsTexts[6] = {
    "Внимание! Была нажата Тревожная кнопка 1",
    "Внимание! Была нажата Тревожная кнопка 2",
    "Разряд АКБ",
    "Произошла перезагрузка панели",
    "Автотест",
    "Восстановление заряда АКБ",
};

} // namespace

ParameterStore::ParameterStore() {
    add("+o", "0050", checks::objectNumber);
    add("+disp", "FF", checks::hexByte);
    add("+pwlog", "FFFFFF0004FFFFFFFF", checks::systemEvents);

    add("+gphon0", "*99#", checks::dialNumber);
    add("+GAPN0", "internet.mts.ru", checks::accessPoint);
    add("+gprsname0", "mts", checks::loginText);
    add("+gprspswd0", "mts", checks::loginText);
    add("+timegpres", "012C", checks::reconnectPause);
    add("+ps", "DemoDemo", checks::identPassword);
    add("+IPadr", "127.000.000.001", checks::ipAddress);
    add("+IPport", "3050", checks::ipPort);
    add("+IP1adr", "127.000.000.001", checks::ipAddress);
    add("+IP1port", "3050", checks::ipPort);

    add("+gprsena", "FF", checks::onOff);
    for (int i = 0; i < 8; ++i)
        add(QStringLiteral("+alphon%1").arg(i), kDirections[i], checks::directionEntry);
    add("+JDIR", "FF", checks::onOff);

    add("+X", "20", checks::reactionFlags);
    add("+n00", "110000000", checks::buttonSettings);
    add("+n02", "110000000", checks::buttonSettings);
    add("+presstime", "02", checks::holdTime);

    add("+enaing", "FF", checks::onOff);
    for (int i = 0; i < 5; ++i)
        add(QStringLiteral("+phing%1").arg(i), " ", checks::engineerNumber);

    for (int i = 0; i < 6; ++i)
        add(QStringLiteral("+smstext%1").arg(i), cp1251::encode(QString::fromUtf8(kSmsTexts[i])),
            checks::smsText);
}

void ParameterStore::add(const QString& name, const QByteArray& factory, Check check) {
    fEntries[name] = Entry{factory, factory, check};
}

bool ParameterStore::contains(const QString& name) const {
    return fEntries.count(name) != 0;
}

QByteArray ParameterStore::value(const QString& name) const {
    auto it = fEntries.find(name);
    return it == fEntries.end() ? QByteArray() : it->second.value;
}

bool ParameterStore::accepts(const QString& name, const QByteArray& value) const {
    auto it = fEntries.find(name);
    return it != fEntries.end() && it->second.check(value);
}

bool ParameterStore::write(const QString& name, const QByteArray& value) {
    auto it = fEntries.find(name);
    if (it == fEntries.end() || !it->second.check(value))
        return false;
    it->second.value = value;
    return true;
}

bool ParameterStore::store(const QString& name, const QByteArray& value) {
    auto it = fEntries.find(name);
    if (it == fEntries.end())
        return false;
    it->second.value = value;
    return true;
}

QByteArray ParameterStore::factoryValue(const QString& name) const {
    auto it = fEntries.find(name);
    return it == fEntries.end() ? QByteArray() : it->second.factory;
}

void ParameterStore::resetToFactory() {
    for (auto& [name, e] : fEntries)
        e.value = e.factory;
}

QStringList ParameterStore::names() const {
    QStringList out;
    for (const auto& [name, e] : fEntries)
        out.append(name);
    return out;
}

} // namespace emu
