#include "PortOpenError.h"

#include "ComTypes.h"
#include "Device.h"

#include <QtGlobal>

#include <cerrno>

QString PortOpenReason(int createError, int osError) {
    if (createError == ceBusy)
        return QStringLiteral("порт занят другой программой: закройте её или выберите другой порт");
    switch (osError) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("такого порта нет: проверьте, что кабель или модем подключён, "
                              "и выберите порт из списка");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на работу с портом. Пользователь должен состоять в группе "
                              "dialout: выполните «sudo adduser $USER dialout», затем выйдите из "
                              "системы и войдите снова");
    case ENOTTY:
        return QStringLiteral("это не последовательный порт");
    case EISDIR:
        return QStringLiteral("это папка, а не последовательный порт");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода: устройство неисправно или отключено");
    case EBUSY:
        return QStringLiteral("порт занят другой программой: закройте её или выберите другой порт");
    default: break;
    }
    const QString what = TDevice::GetStrCreateError(createError);
    if (osError == 0)
        return what;
    // The system's own words for a rare reason, with its number to look up.
    return QStringLiteral("%1 (ошибка системы %2: %3)").arg(what).arg(osError).arg(qt_error_string(osError));
}
