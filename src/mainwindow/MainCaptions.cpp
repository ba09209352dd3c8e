#include "MainCaptions.h"

#include <array>

std::span<const TCaptionEntry> BuiltInCaptions() {
    static const std::array<TCaptionEntry, 27> table{{
        {"MConnect", "Caption", "Соединение"},
        {"MSettings", "Caption", "Настройки"},
        {"MSSeparator1", "Caption", "-"},
        {"MFirmware", "Caption", "Перепрошивка"},
        {"AutoscrollCheckBox", "Caption", "Прокрутка"},
        {"ClearLogButton", "Caption", "Очистить"},
        {"SaveLogButton", "Caption", "Сохранить"},
        {"ConnectAction", "Caption", "Подключиться"},
        {"ConnectAction", "Hint", "Подключиться к панели"},
        {"DisconnectAction", "Caption", "Отключиться"},
        {"DisconnectAction", "Hint", "Отключиться от панели"},
        {"ReadAction", "Caption", "Прочитать"},
        {"ReadAction", "Hint", "Прочитать текущую страницу"},
        {"WriteAction", "Caption", "Записать"},
        {"WriteAction", "Hint", "Записать текущую страницу"},
        {"ReadAllAction", "Caption", "Прочитать все"},
        {"ReadAllAction", "Hint", "Прочитать все страницы"},
        {"WriteAllAction", "Caption", "Записать все"},
        {"WriteAllAction", "Hint", "Записать все страницы"},
        {"DefaultAction", "Caption", "По умолчанию"},
        {"DefaultAction", "Hint", "Установить настройки по умолчанию"},
        {"DefaultAllAction", "Caption", "По умолчанию все..."},
        {"DefaultAllAction", "Hint", "Установить настройки по умолчанию на все страницы"},
        {"SaveSettingsAction", "Caption", "Сохранить в файл"},
        {"SaveSettingsAction", "Hint", "Сохранить настройки в файл"},
        {"LoadSettingsAction", "Caption", "Загрузить из файла"},
        {"LoadSettingsAction", "Hint", "Загрузить настройки из файла"},
    }};
    return table;
}

QString BuiltInText(const char* component, const char* property) {
    for (const TCaptionEntry& e : BuiltInCaptions()) {
        if (qstrcmp(e.Component, component) == 0 && qstrcmp(e.Property, property) == 0)
            return QString::fromUtf8(e.Text);
    }
    return {};
}
