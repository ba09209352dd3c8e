#include "CliPages.h"

#include "CliArgs.h"
#include "CliCommands.h"
#include "CliConfigArchive.h"
#include "CliPageHost.h"
#include "CliPageList.h"
#include "CliSession.h"
#include "StandardOutput.h"
#include "pages/PageModel.h"
#include "pages/PageModelTable.h"
#include "pages/SettingsFile.h"
#include "pages/SettingsLookup.h"
#include "pages/SettingsPages.h"
#include "pages/WriteComparison.h"
#include "panel/DeviceVersion.h"
#include "panel/PairText.h"
#include "prefs/FileUtils.h"

#include <QIODevice>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString kRead = QStringLiteral("read");
const QString kWrite = QStringLiteral("write");
const QString kDiff = QStringLiteral("diff");

// The settings pages' models, made as the window makes its pages: created
// and initialised before any panel is there, told the connected panel's
// release on connection (the Channels page fills its lists for it, and its
// file values are item numbers of them).
class TCliPages {
public:
    explicit TCliPages(IPageHost& host) : fModels(CreatePageModels(host)) {}

    std::vector<TPageModel*> Pages() const {
        std::vector<TPageModel*> pages;
        for (const auto& m : fModels)
            pages.push_back(m.get());
        return pages;
    }

private:
    std::vector<std::unique_ptr<TPageModel>> fModels;
};

bool HasPage(const std::vector<int>& tags, int tag) {
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

// One page command's connection to the panel, with its pages.
class TPageRun {
public:
    TPageRun(const TCliArgs& args, const std::vector<int>& tags, QTextStream& out, QTextStream& err,
             const TLinkTimings& timings)
        : fTags(tags), fErr(err), fQuiet(args.quiet), fSession(args.options, out, err, timings),
          fHost(fSession, err), fPages(fHost) {
        fHost.SetQuiet(fQuiet);
    }

    // Connects; ceOk, or the exit code of what went wrong. Nothing is asked
    // of a panel whose firmware the tool does not configure.
    int Connect() {
        const int code = fSession.Connect();
        if (code != ceOk)
            return code;
        if (!IsCompatible(fSession.Version())) {
            fErr << QStringLiteral("Несовместимая оболочка: %1\n").arg(fSession.Version().Name);
            return ceIncompatible;
        }
        for (TPageModel* page : fPages.Pages())
            page->DevRelease(fSession.Version().Release);
        return ceOk;
    }

    // The pages the command works on, in tag order.
    std::vector<TPageModel*> Pages() const {
        std::vector<TPageModel*> chosen;
        for (TPageModel* page : fPages.Pages()) {
            if (HasPage(fTags, page->Tag()))
                chosen.push_back(page);
        }
        return chosen;
    }
    const std::vector<int>& Tags() const { return fTags; }
    bool Quiet() const { return fQuiet; }
    TCliPageHost& Host() { return fHost; }

    // Runs `op` on every page in order, telling each on `err`; false when a
    // page reported a failure or the line went away.
    bool EachPage(const QString& doing, const std::function<TPageResult(TPageModel*)>& op) {
        bool ok = true;
        for (TPageModel* page : Pages()) {
            const QString name = PageName(page->Tag());
            if (!fQuiet) {
                fErr << doing << QStringLiteral(": ") << name << '\n';
                fErr.flush();
            }
            fHost.SetPage(name);
            fHost.ClearFailed();
            // A page the host refused to start counts as failed too.
            if (!op(page).Ok() || fHost.Failed())
                ok = false;
            if (!fSession.Connected())
                return false;
        }
        return ok;
    }

    // Leaves the pages the file holds at least one setting of, telling the
    // others on `err`; false, told, when it holds none.
    bool KeepPagesOf(const TSettingsFile& file, const QString& name) {
        std::vector<int> held;
        QStringList absent;
        for (TPageModel* page : Pages()) {
            if (FileHasPage(page, file.Lines()))
                held.push_back(page->Tag());
            else
                absent << PageName(page->Tag());
        }
        if (held.empty()) {
            fErr << NoPageInFileText(name) << '\n';
            return false;
        }
        if (!absent.isEmpty() && !fQuiet)
            fErr << QStringLiteral("Страниц нет в файле, они пропущены: %1\n")
                        .arg(absent.join(QStringLiteral(", ")));
        fTags = held;
        return true;
    }

    TCliSession& Session() { return fSession; }

    bool ReadAll() {
        return EachPage(QStringLiteral("Чтение"), [](TPageModel* p) { return p->Read(); });
    }

    int Finish(int code) { return fSession.Finish(code); }

private:
    std::vector<int> fTags;
    QTextStream& fErr;
    bool fQuiet;
    TCliSession fSession;
    TCliPageHost fHost;
    TCliPages fPages;
};

// Tells which of each page's keys the file lacks: loading empties such a
// text, and a number missing puts its whole page on its defaults.
void TellMissingKeys(const std::vector<TPageModel*>& pages, const QStringList& file, QTextStream& err) {
    for (const TPageModel* page : pages) {
        const QStringList lines = page->Settings();
        QStringList missing;
        for (const QString& line : lines) {
            const QString key = GetPairName(line);
            if (!SettingsHasKey(file, key))
                missing << key;
        }
        if (!missing.isEmpty())
            err << QStringLiteral("%1: в файле нет ключей %2 (при загрузке текст становится пустым, а "
                                  "страница без числового ключа берёт значения по умолчанию)\n")
                       .arg(PageName(page->Tag()), missing.join(QStringLiteral(", ")));
    }
}

QString DifferenceLine(const TSettingsDifference& d) {
    const QString file = d.InFile ? QStringLiteral("«%1»").arg(d.FileValue) : QStringLiteral("нет ключа");
    return QStringLiteral("%1: %2 [%3]: в панели «%4», в файле %5")
        .arg(d.PageName, d.Caption, d.Key, d.PageValue, file);
}

QString SettingsFileUnwritable(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл настроек %1: %2\n").arg(path, reason);
}

// Each value of `file` no page can take, a line each: write leaves it
// out and is not done, diff tells it as write would.
void TellRefused(const QString& file, const QStringList& refused, QTextStream& err) {
    for (const QString& line : refused)
        err << RefusedValueText(file, line) << '\n';
}

int RunRead(const TCliArgs& p, const std::vector<int>& tags, QTextStream& out, QTextStream& err,
            const TLinkTimings& timings) {
    const bool toOut = IsStandardOutput(p.out);
    // A file of the wrong kind, or someone else's link, is told before the panel is read.
    if (const QString problem = toOut ? QString() : ForbiddenTargetProblem(p.out); !problem.isEmpty()) {
        err << SettingsFileUnwritable(p.out, problem);
        return ceSettingsFileFailed;
    }
    TCliConfigArchive archive(p);
    if (!archive.Open(err))
        return ceArchiveFailed;
    TPageRun run(p, tags, out, err, timings);
    if (const int code = run.Connect(); code != ceOk)
        return run.Finish(code);
    if (!run.ReadAll()) {
        err << QStringLiteral("Файл %1 не записан: не все настройки прочитаны из панели\n").arg(p.out);
        return run.Finish(ceExchangeFailed);
    }
    const TSettingsFile file(SettingsLines(CollectPageSettings(run.Pages())));
    const int kept =
        archive.Keep(run.Session(), file.Lines(), TConfigDirection::Read, err) ? ceOk : ceArchiveFailed;
    if (toOut) {
        // The file's own bytes, as a file of the same pages would hold them.
        if (QString reason; !WriteStandardOutput(out, TSettingsFile::Encode(file.Lines()), &reason)) {
            err << SettingsFileUnwritable(StandardOutputName(), reason);
            return run.Finish(ceSettingsFileFailed);
        }
        if (!run.Quiet())
            err << QStringLiteral("Настройки выведены в %1\n").arg(StandardOutputName());
        return run.Finish(kept);
    }
    if (const TSettingsFile::TResult written = file.Write(p.out); !written) {
        err << written.Error << '\n';
        return run.Finish(ceSettingsFileFailed);
    }
    if (!run.Quiet())
        err << QStringLiteral("Настройки записаны в файл %1\n").arg(p.out);
    return run.Finish(kept);
}

// Refuses a write of the Channels page without the erase confirmed.
int RefuseErase(QTextStream& err) {
    err << QStringLiteral("Запись страницы «%1» очищает журнал событий панели: подтвердите это параметром "
                          "--erase-journal или оставьте страницу без записи (--pages)\n")
               .arg(PageName(ptChannels))
        << "Справка: tarvik1-cli --help\n";
    return ceUsage;
}

// `chosen`: the pages were named with --pages; otherwise the pages written
// (or compared) are those the file holds a setting of: a file `read --pages`
// wrote would otherwise put every other page on its defaults in the panel.
int RunWrite(const TCliArgs& p, const std::vector<int>& tags, bool chosen, const TSettingsFile& file,
             QTextStream& out, QTextStream& err, const TLinkTimings& timings) {
    TPageRun run(p, tags, out, err, timings);
    if (!chosen && !run.KeepPagesOf(file, p.rest.first()))
        return ceSettingsFileFailed;
    // The journal's erase before the Channels page is written must have been
    // confirmed on the command line; nothing is sent otherwise.
    if (HasPage(run.Tags(), ptChannels) && !p.eraseJournal)
        return RefuseErase(err);
    TCliConfigArchive archive(p);
    if (!archive.Open(err))
        return ceArchiveFailed;
    if (const int code = run.Connect(); code != ceOk)
        return run.Finish(code);
    run.Host().SetAnswer(p.eraseJournal);
    if (!p.quiet)
        TellMissingKeys(run.Pages(), file.Lines(), err);
    // A value no page can take is told, the rest of the file is written,
    // and the write is not done.
    const QStringList refused = LoadPageSettings(run.Pages(), file.Lines());
    TellRefused(p.rest.first(), refused, err);
    const bool ok = run.EachPage(QStringLiteral("Запись"), [](TPageModel* page) { return page->Write(); });
    if (!ok || !refused.isEmpty()) {
        err << QStringLiteral("Не все настройки записаны в панель\n");
        return run.Finish(ceExchangeFailed);
    }
    // What the panel took, as the pages hold it now (a short object number
    // filled with zeros): kept only when every setting was written.
    const QStringList written = SettingsLines(CollectPageSettings(run.Pages()));
    return run.Finish(archive.Keep(run.Session(), written, TConfigDirection::Written, err) ? ceOk
                                                                                           : ceArchiveFailed);
}

int RunDiff(const TCliArgs& p, const std::vector<int>& tags, bool chosen, const TSettingsFile& file,
            QTextStream& out, QTextStream& err, const TLinkTimings& timings) {
    TPageRun run(p, tags, out, err, timings);
    if (!chosen && !run.KeepPagesOf(file, p.rest.first()))
        return ceSettingsFileFailed;
    if (const int code = run.Connect(); code != ceOk)
        return run.Finish(code);
    if (!run.ReadAll()) {
        err << QStringLiteral("Сравнение не выполнено: не все настройки прочитаны из панели\n");
        return run.Finish(ceNotAllRead);
    }
    // What writing the file would change in the panel, as the panel holds
    // its values now.
    QStringList refused;
    const std::vector<TSettingsDifference> differences =
        CompareWithFile(run.Host(), run.Pages(), TComparedSide::Held, file.Lines(), &refused);
    TellRefused(p.rest.first(), refused, err);
    for (const TSettingsDifference& d : differences)
        out << DifferenceLine(d) << '\n';
    out.flush();
    if (!p.quiet)
        err << (differences.empty() ? QStringLiteral("Различий нет\n")
                                    : QStringLiteral("Различий: %1\n").arg(differences.size()));
    return run.Finish(differences.empty() ? ceOk : ceDifferent);
}

} // namespace

bool IsPagesCommand(const QStringList& args) {
    const TCliArgs p = ParseCliArgs(args);
    return !p.help && !p.version && p.error.isEmpty() &&
           (p.command == kRead || p.command == kWrite || p.command == kDiff);
}

int RunCliWithPages(const QStringList& args, QTextStream& out, QTextStream& err,
                    const TLinkTimings& timings) {
    QString none;
    QTextStream in(&none, QIODevice::ReadOnly);
    return RunCliWithPages(args, in, out, err, timings);
}

int RunCliWithPages(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err,
                    const TLinkTimings& timings) {
    if (!IsPagesCommand(args))
        return RunCli(args, in, out, err, timings);
    const TCliArgs p = ParseCliArgs(args);
    auto usage = [&](const QString& message) {
        err << message << "\n"
            << "Справка: tarvik1-cli --help\n";
        return int(ceUsage);
    };
    if (p.options.Port.isEmpty())
        return usage(QStringLiteral("Не указан порт (--port)"));
    std::vector<int> tags;
    QString error;
    if (!ParsePageList(p.pages, tags, error))
        return usage(error);
    if (p.eraseJournal && p.command != kWrite)
        return usage(QStringLiteral("Параметр --erase-journal только для команды write"));

    if (p.command == kRead) {
        if (!p.rest.isEmpty())
            return usage(QStringLiteral("Лишние слова: %1").arg(p.rest.join(' ')));
        if (p.out.isEmpty())
            return usage(QStringLiteral("Не указан файл настроек (--out)"));
        return RunRead(p, tags, out, err, timings);
    }

    if (p.rest.size() != 1)
        return usage(p.rest.isEmpty() ? QStringLiteral("Не указан файл настроек")
                                      : QStringLiteral("Лишние слова: %1").arg(p.rest.mid(1).join(' ')));
    // The whole file is read before the panel is reached: a file that
    // cannot be read sends nothing.
    TSettingsFile file;
    if (const TSettingsFile::TResult read = file.Read(p.rest.first()); !read) {
        err << read.Error << '\n';
        return ceSettingsFileFailed;
    }
    if (file.Utf8WithoutMark() && !p.quiet)
        err << QStringLiteral("Файл настроек %1 прочитан в кодировке UTF-8").arg(p.rest.first()) << '\n';
    if (p.command == kWrite)
        return RunWrite(p, tags, !p.pages.trimmed().isEmpty(), file, out, err, timings);
    return RunDiff(p, tags, !p.pages.trimmed().isEmpty(), file, out, err, timings);
}
