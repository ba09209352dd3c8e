#include "panel_commands.h"

#include "cp1251.h"
#include "hex_digits.h"

#include <algorithm>

namespace emu {

namespace {

const char* const kFixed[] = {"CABLE CONNECT",
                              "CABLE DISCONNECT",
                              "+v",
                              "+typepan",
                              "+U",
                              "+point",
                              "+erase",
                              "+read",
                              "+BL",
                              "+BE",
                              "+W",
                              "+EE"};

bool isBootCommand(const QString& name) {
    return name == "+BL" || name == "+BE" || name == "+W" || name == "+EE";
}

const ParameterStore::Family* familyOf(const QByteArray& base) {
    for (const ParameterStore::Family& f : ParameterStore::kFamilies) {
        if (base == f.base)
            return &f;
    }
    return nullptr;
}

} // namespace

PanelCommands::PanelCommands(const PanelSettings& settings, ParameterStore& store, Journal& journal,
                             BootLoader& boot)
    : fSettings(settings), fStore(store), fJournal(journal), fBoot(boot) {
    for (const char* f : kFixed)
        fPrefixes.append(f);
    for (const ParameterStore::Family& f : ParameterStore::kFamilies)
        fPrefixes.append(f.base);
    for (const QString& name : fStore.names()) {
        bool inFamily = false;
        for (const ParameterStore::Family& f : ParameterStore::kFamilies)
            inFamily = inFamily || name.startsWith(QLatin1String(f.base));
        if (!inFamily)
            fPrefixes.append(name.toLatin1());
    }
    std::stable_sort(fPrefixes.begin(), fPrefixes.end(),
                     [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
}

QStringList PanelCommands::commandNames() const {
    QStringList out;
    for (const char* f : kFixed)
        out.append(QString::fromLatin1(f));
    out.append(fStore.names());
    return out;
}

void PanelCommands::resolve(const QByteArray& line, Outcome& out, QByteArray& rest) const {
    for (const QByteArray& prefix : fPrefixes) {
        if (!line.startsWith(prefix))
            continue;
        if (const ParameterStore::Family* family = familyOf(prefix)) {
            const char index = line.size() > prefix.size() ? line.at(prefix.size()) : '\0';
            if (index < '0' || index >= '0' + family->count) {
                out.name = QString::fromLatin1(prefix);
                out.rejected = true;
                return;
            }
            out.name = QString::fromLatin1(prefix) + QLatin1Char(index);
            rest = line.mid(prefix.size() + 1);
            return;
        }
        out.name = QString::fromLatin1(prefix);
        rest = line.mid(prefix.size());
        return;
    }
    out.name = QStringLiteral("?");
    out.rejected = true;
}

QString PanelCommands::nameOf(const QByteArray& line) const {
    Outcome out;
    QByteArray rest;
    resolve(line, out, rest);
    return out.name;
}

bool PanelCommands::writeWiderChannel(const QString& name, const QByteArray& value) {
    if (!fSettings.channelCodesToNine || !name.startsWith(QLatin1String("+alphon")) || value.size() < 6)
        return false;
    const char channel = value.at(5);
    if (channel < '7' || channel > '9')
        return false;
    QByteArray known = value;
    known[5] = '0';
    return fStore.accepts(name, known) && fStore.store(name, value);
}

bool PanelCommands::writeLongerPeriod(const QString& name, const QByteArray& value) {
    if (!fSettings.periodsToFE || name != QLatin1String("+pwlog") || value.size() != 18)
        return false;
    const auto hours = hex::parseUpper(value.mid(6, 2));
    const auto minutes = hex::parseUpper(value.mid(8, 2));
    if (!hours || !minutes || *hours > 0xFE || *minutes > 0xFE)
        return false;
    QByteArray known = value;
    known.replace(6, 4, "0104");
    return fStore.accepts(name, known) && fStore.store(name, value);
}

bool PanelCommands::writeOddValue(const QString& name, const QByteArray& value) {
    if (!fSettings.oddValues)
        return false;
    const auto printable = [](const QByteArray& v) {
        return std::all_of(v.begin(), v.end(), [](char c) { return c > ' ' && c <= '~'; });
    };
    if (name == QLatin1String("+n00") || name == QLatin1String("+n02")) {
        const bool digits =
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        return value.size() == 9 && digits && fStore.store(name, value);
    }
    if (name == QLatin1String("+presstime"))
        return value.size() == 2 && printable(value) && fStore.store(name, value);
    if (name == QLatin1String("+disp"))
        return value.size() >= 2 && value.size() <= 3 && hex::isUpper(value) && fStore.store(name, value);
    if (name == QLatin1String("+pwlog") && value.size() == 18 && printable(value.mid(4, 2))) {
        QByteArray known = value;
        known.replace(4, 2, "00");
        return (fStore.accepts(name, known) || writeLongerPeriod(name, known)) && fStore.store(name, value);
    }
    return false;
}

Reply PanelCommands::ok(int extraDelayMs) const {
    return Reply::panel({"OK"}, fSettings.delays.answerMs + extraDelayMs);
}

Reply PanelCommands::readValue(const QByteArray& value) const {
    return Reply::panel({value, "OK"}, fSettings.delays.answerMs);
}

PanelCommands::Outcome PanelCommands::handle(const QByteArray& line, bool overModem) {
    Outcome out;
    QByteArray rest;
    resolve(line, out, rest);
    out.write = !rest.isEmpty();
    const Delays& d = fSettings.delays;
    auto reject = [&]() {
        out.rejected = true;
        out.reply = Reply::panel({"ERROR"}, d.answerMs);
        return out;
    };
    if (out.rejected)
        return reject();

    const QString& name = out.name;
    const bool bootCommand = isBootCommand(name);
    // The boot loader also takes a cable session and tells its memory type,
    // so that a panel left in it can be reached again and flashed anew.
    const bool bootAlso = name == "+v" || name == "+typepan" || name.startsWith(QLatin1String("CABLE"));
    if (fBoot.active() ? !(bootCommand || bootAlso) : (bootCommand && name != "+BL"))
        return reject();
    if (name.startsWith(QLatin1String("CABLE")) ? overModem || out.write : false)
        return reject();
    if (!overModem && !fSession && !fBoot.active() && name != "CABLE CONNECT" && name != "CABLE DISCONNECT" &&
        name != "+v")
        return reject();

    if (name == "CABLE CONNECT") {
        fSession = true;
        out.reply = ok();
    } else if (name == "CABLE DISCONNECT") {
        fSession = false;
        out.reply = ok();
    } else if (name == "+v") {
        if (out.write)
            return reject();
        out.reply =
            readValue(cp1251::encode(fBoot.active() ? fSettings.bootVersionLine : fSettings.versionLine));
    } else if (name == "+typepan") {
        if (out.write)
            return reject();
        out.reply = readValue(cp1251::encode(fSettings.memoryType));
    } else if (name == "+U") {
        if (out.write)
            return reject();
        const QByteArray value = hex::format(unsigned(fSettings.signalLevel & 0xFF), 2) +
                                 hex::format(unsigned(fSettings.errorLevel & 0xFF), 2);
        if (overModem) {
            out.reply = Reply::panel({value, "OK"}, d.answerMs + d.measurementMs);
        } else {
            // "OK" at once, then the value and a second "OK" after the measurement.
            out.reply = ok();
            out.reply.parts.append(ReplyPart{d.measurementMs, {value, "OK"}, false, {}});
        }
    } else if (name == "+point") {
        if (out.write)
            return reject();
        out.reply = readValue(hex::format(fJournal.pointer(), 4));
    } else if (name == "+read") {
        if (rest.size() != 8 || !hex::isUpper(rest))
            return reject();
        const unsigned from = *hex::parseUpper(rest.left(4));
        const unsigned to = *hex::parseUpper(rest.mid(4));
        QList<QByteArray> lines = fJournal.range(from, to, fSettings.readIncludesEnd);
        lines.append("OK");
        out.reply = Reply::panel(lines, d.answerMs);
        out.write = false;
    } else if (name == "+erase") {
        if (out.write)
            return reject();
        fJournal.erase();
        out.reply = ok(d.journalEraseMs);
    } else if (name == "+BL") {
        if (out.write)
            return reject();
        fBoot.enter();
        out.reply = ok();
    } else if (name == "+BE") {
        if (out.write || fSettings.faults.refuseErase)
            return reject();
        fBoot.erase();
        out.reply = ok(d.flashEraseMs);
    } else if (name == "+W") {
        const int refused = fSettings.faults.refuseBlock;
        if (refused > 0 && hex::parseUpper(rest.left(rest.indexOf(':'))) == unsigned(refused - 1) * 8)
            return reject();
        if (fBoot.write(rest) != BootLoader::WriteResult::Stored)
            return reject();
        out.reply = ok(d.blockWriteMs);
    } else if (name == "+EE") {
        const bool passed = fBoot.finish(rest);
        out.restarted = true;
        fSession = false;
        out.reply = Reply::panel({passed ? "OK" : "ERROR"}, d.answerMs + d.finalCheckMs);
        out.rejected = !passed;
    } else if (fStore.contains(name)) {
        if (!out.write) {
            out.reply = readValue(fStore.value(name));
        } else if (fStore.write(name, rest) || writeWiderChannel(name, rest) ||
                   writeLongerPeriod(name, rest) || writeOddValue(name, rest)) {
            out.reply = ok();
        } else {
            return reject();
        }
    } else {
        return reject();
    }
    return out;
}

} // namespace emu
