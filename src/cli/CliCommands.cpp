#include "CliCommands.h"

#include "CliArchive.h"
#include "CliArgs.h"
#include "CliFlash.h"
#include "CliJournal.h"
#include "CliProgress.h"
#include "CliSendCommands.h"
#include "CliSession.h"
#include "StandardOutput.h"
#include "history/HistoryExport.h"
#include "panel/DeviceVersion.h"
#include "serial/Device.h"
#include "version.h"

#include <QIODevice>
#include <QTextStream>

#include <functional>

namespace {

QString HelpCommandsAndOptions() {
    return QStringLiteral(
        "Использование: tarvik1-cli КОМАНДА [ПАРАМЕТРЫ]\n"
        "\n"
        "Связь с панелью Tarvik-1 без окна программы: по кабелю программирования\n"
        "или через GSM-модем, который звонит панели.\n"
        "\n"
        "Команды:\n"
        "  ports                       список последовательных портов (и портов\n"
        "                              запущенных эмуляторов панели), по одному в строке\n"
        "  identify --port ПОРТ        подключиться, вывести версию оболочки панели,\n"
        "                              её номера и тип памяти, сказать, совместима ли\n"
        "                              оболочка, и отключиться\n"
        "  send --port ПОРТ КОМАНДА... подключиться, выполнить по одному обмену на\n"
        "                              каждую команду (например +o, +disp, +U) и вывести\n"
        "                              строки каждого ответа, затем отключиться; каждая\n"
        "                              команда — отдельный аргумент, без управляющих\n"
        "                              символов (перевода строки и т. п.); необратимые\n"
        "                              команды (см. ниже) — только с --yes\n"
        "  flash --port ПОРТ ФАЙЛ.hex  проверить образ прошивки (Intel HEX), вывести его\n"
        "                              сводку, спросить подтверждение, подключиться и\n"
        "                              записать прошивку через загрузчик панели (ход\n"
        "                              записи в stderr), затем отключиться\n"
        "  journal --port ПОРТ --out ФАЙЛ.xlsx|ФАЙЛ.csv|- [--last N | --all | --new]\n"
        "                              прочитать журнал событий панели (последние N\n"
        "                              записей, по умолчанию 20, весь журнал или только\n"
        "                              новые записи после сохранённых в архиве; ход\n"
        "                              чтения в stderr) и записать его в таблицу, как\n"
        "                              экспорт окна программы; прочитанное сохраняется\n"
        "                              в архиве (без --no-archive)\n"
        "  erase-journal --port ПОРТ --yes\n"
        "                              очистить журнал событий панели (без --yes не\n"
        "                              выполняется)\n"
        "  archive list [ОБЪЕКТ]       панели в архиве; с номером объекта — серии его\n"
        "                              журнала и сохранённые настройки\n"
        "  archive journal ОБЪЕКТ --out ФАЙЛ.xlsx|ФАЙЛ.csv|- [--run N]\n"
        "                              журнал панели из архива (последняя серия или\n"
        "                              серия N) в таблицу, без подключения\n"
        "  archive config ОБЪЕКТ --out ФАЙЛ.ini|- [--at N]\n"
        "                              настройки панели из архива (последние или N-е по\n"
        "                              списку archive list) в файл настроек\n"
        "  archive remove ОБЪЕКТ --yes удалить из архива панель со всем её журналом и\n"
        "                              настройками\n"
        "  read --port ПОРТ --out ФАЙЛ.ini|- [--pages СПИСОК]\n"
        "                              прочитать страницы настроек (по умолчанию все) и\n"
        "                              записать файл настроек, как \"Сохранить в файл\"\n"
        "                              окна программы; с --pages в файле только строки\n"
        "                              прочитанных страниц; файл не записывается, если\n"
        "                              прочитано не всё\n"
        "  write --port ПОРТ ФАЙЛ.ini [--pages СПИСОК] [--erase-journal]\n"
        "                              загрузить файл настроек в страницы (как \"Загрузить\n"
        "                              из файла\") и записать их в панель; запись\n"
        "                              страницы \"Каналы связи\" очищает журнал событий\n"
        "                              панели и без --erase-journal не выполняется; без\n"
        "                              --pages записываются страницы, настройки которых\n"
        "                              есть в файле\n"
        "  diff --port ПОРТ ФАЙЛ.ini [--pages СПИСОК]\n"
        "                              прочитать страницы и вывести, что изменит в\n"
        "                              панели запись файла, по настройке в строке (без\n"
        "                              --pages — страницы, настройки которых есть в\n"
        "                              файле)\n"
        "\n"
        "Параметры:\n"
        "  --port ПОРТ       путь к устройству (/dev/ttyUSB0, ссылка на порт эмулятора)\n"
        "                    или имя в /dev (ttyS0)\n"
        "  --modem ТЕЛЕФОН   звонить панели через GSM-модем на этом порту\n"
        "  --timeout МС      время ожидания ответа на команду в send (по умолчанию 2500;\n"
        "                    через модем прибавляется 5000)\n"
        "  --log ФАЙЛ        записать обмен с панелью в файл в формате журнала программы\n"
        "  --out ФАЙЛ        journal: файл таблицы, .xlsx (книга) или .csv (UTF-8, \";\");\n"
        "                    read: файл настроек; \"-\" — в стандартный вывод (journal:\n"
        "                    таблица CSV; книгу .xlsx можно записать только в файл;\n"
        "                    read: байты файла настроек)\n"
        "  --last N          journal: последние N записей (1..65536, по умолчанию 20)\n"
        "  --all             journal: весь журнал, от старых записей к новым\n"
        "  --yes             flash: не спрашивать подтверждение; erase-journal: подтверждение\n"
        "                    очистки; send: подтверждение необратимых команд\n"
        "  --pages СПИСОК    read, write, diff: страницы через запятую, номером (0..6),\n"
        "                    именем из списка страниц окна или латинским именем: common,\n"
        "                    system-events, gprs, channels, alarm-buttons,\n"
        "                    engineer-numbers, sms (по умолчанию все)\n"
        "  --erase-journal   write: подтверждение очистки журнала при записи страницы\n"
        "                    \"Каналы связи\"\n"
        "  --new             journal: только записи после последней сохранённой в архиве\n"
        "                    (все, если архив панели не знает или журнал очищен или\n"
        "                    прошёл по кругу)\n"
        "  --no-archive      journal, read, write: ничего не сохранять в архиве (иначе\n"
        "                    сохраняются прочитанные записи журнала и настройки,\n"
        "                    прочитанные из панели или записанные в неё полностью)\n"
        "  --archive ФАЙЛ    файл архива вместо ~/.local/share/Velmor/Tarvik1/archive.sqlite\n"
        "  --run N           archive journal: серия журнала (новая серия начинается после\n"
        "                    очистки журнала или его прохода по кругу)\n"
        "  --at N            archive config: номер настроек по списку archive list\n"
        "  --quiet, -q       в stderr только ошибки: без хода записи и чтения, шагов и\n"
        "                    сообщений об успехе (flash: только с --yes, без сводки)\n"
        "  --version         версия программы\n"
        "  --help            эта справка\n"
        "\n"
        "Ход записи прошивки (flash) и чтения журнала (journal): в терминале — одна\n"
        "строка, которая обновляется на месте; иначе (файл, конвейер) — строка на\n"
        "каждые 10 %.\n"
        "\n");
}

// One line per irreversible command of send: its name, then what it does.
QString DestructiveCommandsHelp() {
    QString lines =
        QStringLiteral("Необратимые команды send (выполняются только с --yes; команда узнаётся по\n"
                       "началу, в любом регистре букв):\n");
    for (const TDestructiveCommand& d : DestructiveCommands())
        lines += QStringLiteral("  %1%2\n").arg(QLatin1String(d.Name), -8).arg(QString::fromUtf8(d.Effect));
    return lines + QLatin1Char('\n');
}

QString HelpExitCodes() {
    return QStringLiteral("Коды завершения:\n"
                          "  0  успешно\n"
                          "  1  на какую-то команду send панель не ответила или отвергла её; journal: не\n"
                          "     прочитана часть журнала (прочитанное записано); erase-journal: очистка не\n"
                          "     подтверждена панелью; read: прочитано не всё (файл не записан); write:\n"
                          "     записано не всё; diff: файл отличается от панели\n"
                          "  2  ошибка в командной строке (также write страницы \"Каналы связи\" без\n"
                          "     --erase-journal, необратимая команда send без --yes, управляющий символ\n"
                          "     в команде send)\n"
                          "  3  порт не открылся\n"
                          "  4  панель (или модем) не ответила при подключении или порт пропал\n"
                          "  5  оболочка панели несовместима (нужна 7.700); send ничего не пишет\n"
                          "  6  не удалось записать журнал обмена\n"
                          "  7  flash: файл прошивки не читается или повреждён (ничего не отправлено)\n"
                          "  8  flash: запись не подтверждена (ничего не отправлено)\n"
                          "  9  flash: шаг записи не удался (сообщение называет шаг)\n"
                          "  10 journal: не удалось записать файл таблицы\n"
                          "  11 journal: журнал панели пуст (с --new: новых записей нет), файл не\n"
                          "     записан\n"
                          "  12 read: не удалось записать файл настроек; write, diff: файл настроек не\n"
                          "     читается или в нём нет настроек ни одной страницы (в панель ничего не\n"
                          "     отправлено)\n"
                          "  13 diff: не все настройки прочитаны из панели, сравнение не выполнено\n"
                          "  14 архив не открылся или не принял записи (journal: таблица записана)\n"
                          "  15 archive: в архиве нет такой панели, серии или настроек\n");
}

} // namespace

QString CliVersion() {
    return QStringLiteral("tarvik1-cli " TARVIK_VERSION);
}

QString CliHelp() {
    return HelpCommandsAndOptions() + DestructiveCommandsHelp() + HelpExitCodes();
}

namespace {

int Identify(TCliSession& session, QTextStream& out, QTextStream& err) {
    const TDeviceVersion& v = session.Version();
    const bool compatible = IsCompatible(v);
    out << QStringLiteral("Версия: %1\n").arg(v.Name);
    out << QStringLiteral("Старший номер: %1\n").arg(v.Major);
    out << QStringLiteral("Младший номер: %1\n").arg(v.Minor);
    out << QStringLiteral("Выпуск: %1\n").arg(v.Release);
    out << QStringLiteral("Память: %1\n").arg(v.Memory);
    out << QStringLiteral("Совместимость: %1\n")
               .arg(compatible ? QStringLiteral("да") : QStringLiteral("нет"));
    out.flush();
    if (!compatible) {
        err << "Несовместимая оболочка\n";
        return ceIncompatible;
    }
    return ceOk;
}

// journal and erase-journal, after their command lines are checked.
int RunJournalCommand(const TCliArgs& p, QTextStream& out, QTextStream& err, const TLinkTimings& timings,
                      const std::function<int(const QString&)>& usage) {
    if (!p.rest.isEmpty())
        return usage(QStringLiteral("Лишние слова: %1").arg(p.rest.join(' ')));
    if (p.command == QLatin1String("erase-journal")) {
        if (!p.yes)
            return usage(
                QStringLiteral("Очистка журнала панели необратима: подтвердите её параметром --yes"));
        return RunEraseJournal(p.options, {}, out, err, timings, ProgressStyleOf(err, p.quiet));
    }
    TJournalOptions journal;
    if (p.out.isEmpty())
        return usage(QStringLiteral("Не указан файл таблицы (--out)"));
    if (!IsStandardOutput(p.out) && !ExportFormatOf(p.out))
        return usage(QStringLiteral("Файл таблицы должен быть .xlsx или .csv: %1").arg(p.out));
    journal.Out = p.out;
    journal.Progress = ProgressStyleOf(err, p.quiet);
    if (p.all && !p.last.isEmpty())
        return usage(QStringLiteral("Укажите либо --last, либо --all"));
    journal.All = p.all;
    if (p.newRecords && (p.all || !p.last.isEmpty()))
        return usage(QStringLiteral("--new читает записи после сохранённых в архиве: без --last и --all"));
    if (p.newRecords && p.noArchive)
        return usage(QStringLiteral("--new сравнивает журнал с архивом: без --no-archive"));
    journal.New = p.newRecords;
    journal.Archive = !p.noArchive;
    journal.ArchivePath = p.archive;
    if (!p.last.isEmpty()) {
        bool ok = false;
        journal.Last = p.last.toInt(&ok);
        if (!ok || journal.Last < 1 || journal.Last > 65536)
            return usage(QStringLiteral("Неверное число записей: %1").arg(p.last));
    }
    return RunJournal(p.options, journal, out, err, timings);
}

} // namespace

int RunCli(const QStringList& args, QTextStream& out, QTextStream& err, const TLinkTimings& timings) {
    QString none;
    QTextStream in(&none, QIODevice::ReadOnly);
    return RunCli(args, in, out, err, timings);
}

int RunCli(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err,
           const TLinkTimings& timings) {
    const TCliArgs p = ParseCliArgs(args);
    if (p.help) {
        out << CliHelp();
        return ceOk;
    }
    if (p.version) {
        out << CliVersion() << '\n';
        return ceOk;
    }
    auto usage = [&](const QString& message) {
        err << message << "\n"
            << "Справка: tarvik1-cli --help\n";
        return int(ceUsage);
    };
    if (!p.error.isEmpty())
        return usage(p.error);
    if (p.command.isEmpty())
        return usage(QStringLiteral("Не указана команда"));

    if (p.command == QLatin1String("ports")) {
        if (!p.rest.isEmpty())
            return usage(QStringLiteral("Лишние слова: %1").arg(p.rest.join(' ')));
        for (const QString& port : TDevice::GetCOMsList())
            out << port << '\n';
        return ceOk;
    }
    if (p.command == QLatin1String("archive"))
        return RunArchiveCommand(p, out, err, usage);
    const bool journal = p.command == QLatin1String("journal") || p.command == QLatin1String("erase-journal");
    if (journal && p.options.Port.isEmpty())
        return usage(QStringLiteral("Не указан порт (--port)"));
    if (journal)
        return RunJournalCommand(p, out, err, timings, usage);
    const bool identify = p.command == QLatin1String("identify");
    const bool send = p.command == QLatin1String("send");
    const bool flash = p.command == QLatin1String("flash");
    if (!identify && !send && !flash)
        return usage(QStringLiteral("Неизвестная команда %1").arg(p.command));
    if (p.options.Port.isEmpty())
        return usage(QStringLiteral("Не указан порт (--port)"));
    if (identify && !p.rest.isEmpty())
        return usage(QStringLiteral("Лишние слова: %1").arg(p.rest.join(' ')));
    if (send && p.rest.isEmpty())
        return usage(QStringLiteral("Не указаны команды для панели"));
    if (send) {
        const QString refused = SendCommandsError(p.rest, p.yes);
        if (!refused.isEmpty())
            return usage(refused);
    }
    if (flash) {
        if (p.rest.size() != 1)
            return usage(p.rest.isEmpty() ? QStringLiteral("Не указан файл прошивки")
                                          : QStringLiteral("Лишние слова: %1").arg(p.rest.mid(1).join(' ')));
        // Quiet leaves out the summary the question asks about.
        if (p.quiet && !p.yes)
            return usage(QStringLiteral("С --quiet сводка прошивки не выводится: подтвердите запись "
                                        "параметром --yes"));
        TFlashOptions options;
        options.Image = p.rest.first();
        options.Yes = p.yes;
        options.Progress = ProgressStyleOf(err, p.quiet);
        return RunFlash(p.options, options, in, out, err, timings);
    }

    TCliSession session(p.options, out, err, timings);
    const int connected = session.Connect();
    if (connected != ceOk)
        return session.Finish(connected);
    if (identify)
        return session.Finish(Identify(session, out, err));
    // Nothing is written to a panel whose firmware the tool does not
    // configure, as in the window.
    if (!IsCompatible(session.Version())) {
        err << QStringLiteral("Несовместимая оболочка: %1\n").arg(session.Version().Name);
        return session.Finish(ceIncompatible);
    }
    return session.Finish(session.Send(p.rest));
}
