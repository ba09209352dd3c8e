#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdio>

namespace emu {

// Writes every byte that crosses the line, both ways, with the time since the
// emulator started:
//   12.345678 IN  +o0050\r\n\r\n
//   12.356012 OUT OK\r
// Printable ASCII stands as it is (a backslash doubled); CR, LF and tab are
// \r, \n and \t; every other byte is \xHH.
class Transcript {
public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    bool open(const QString& path, QString* error);
    bool isOpen() const { return fFile != nullptr; }
    void received(const QByteArray& bytes) { write("IN ", bytes); }
    void sent(const QByteArray& bytes) { write("OUT", bytes); }
    void note(const QString& text); // a line starting with '#'
    void close();

    static QByteArray escape(const QByteArray& bytes);

private:
    void write(const char* direction, const QByteArray& bytes);

    std::FILE* fFile = nullptr;
    std::chrono::steady_clock::time_point fStart = std::chrono::steady_clock::now();
};

} // namespace emu
