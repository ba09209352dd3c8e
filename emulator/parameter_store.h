#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace emu {

// The panel's settings, keyed by the name of the command that reads them
// ("+o", "+alphon3", "+smstext0", ...), each with its factory value and the
// check a written value must pass. Values are kept as the 8-bit text that
// travels on the line.
class ParameterStore {
public:
    ParameterStore();

    bool contains(const QString& name) const;
    QByteArray value(const QString& name) const;
    // Stores the value when it passes the parameter's check.
    bool write(const QString& name, const QByteArray& value);
    // Puts a value in place without its check, as the panel's own firmware
    // (or a damaged memory) may leave it; false for an unknown name.
    bool store(const QString& name, const QByteArray& value);
    // Whether the value would pass the parameter's check.
    bool accepts(const QString& name, const QByteArray& value) const;
    QByteArray factoryValue(const QString& name) const;
    void resetToFactory();
    QStringList names() const;

    // Command families whose name is followed by one index digit.
    struct Family {
        const char* base;
        int count;
    };
    static const Family kFamilies[3]; // "+alphon" 0..7, "+phing" 0..4, "+smstext" 0..5

private:
    using Check = bool (*)(const QByteArray&);
    struct Entry {
        QByteArray value;
        QByteArray factory;
        Check check = nullptr;
    };
    void add(const QString& name, const QByteArray& factory, Check check);

    std::map<QString, Entry> fEntries;
};

} // namespace emu
