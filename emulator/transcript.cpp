#include "transcript.h"

#include <QDateTime>
#include <cerrno>
#include <cstring>

namespace emu {

Transcript::~Transcript() {
    close();
}

bool Transcript::open(const QString& path, QString* error) {
    close();
    fFile = std::fopen(path.toLocal8Bit().constData(), "w");
    if (!fFile) {
        if (error)
            *error = QStringLiteral("cannot write the transcript %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    fStart = std::chrono::steady_clock::now();
    note(QStringLiteral("panel emulator transcript, started %1; seconds since then, IN = from the tool, OUT "
                        "= to the tool")
             .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)));
    return true;
}

void Transcript::close() {
    if (fFile) {
        std::fclose(fFile);
        fFile = nullptr;
    }
}

void Transcript::note(const QString& text) {
    if (!fFile)
        return;
    std::fprintf(fFile, "# %s\n", text.toUtf8().constData());
    std::fflush(fFile);
}

QByteArray Transcript::escape(const QByteArray& bytes) {
    QByteArray out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c >= 0x20 && c < 0x7F)
            out += char(c);
        else
            out += "\\x" + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
    }
    return out;
}

void Transcript::write(const char* direction, const QByteArray& bytes) {
    if (!fFile || bytes.isEmpty())
        return;
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - fStart).count();
    std::fprintf(fFile, "%.6f %s %s\n", t, direction, escape(bytes).constData());
    std::fflush(fFile);
}

} // namespace emu
