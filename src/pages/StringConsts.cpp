#include "StringConsts.h"

QString PageName(int tag) {
    static const char* const names[] = {
        "Общие настройки",  "Системные события", "Настройка GPRS", "Каналы связи",
        "Тревожные кнопки", "Инженерные номера", "Настройка СМС",  "История",
    };
    if (tag < 0 || tag >= int(std::size(names)))
        return {};
    return QString::fromUtf8(names[tag]);
}
