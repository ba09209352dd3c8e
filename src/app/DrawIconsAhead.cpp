// Draws the window's pictures ahead, when the program is built, into a C++
// table (the file named on the command line) that the window takes them
// from instead of drawing them at every start. Each is drawn as the
// window would draw it, at the sizes the window shows it at.
#include "mainwindow/ActionIcons.h"
#include "mainwindow/WindowStyle.h"

#include <QApplication>
#include <QSaveFile>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    TWindowStyle style;
    const std::vector<QIcon> icons = WindowPictures(style);

    QByteArray out = "// Drawn by tarvik1-draw-icons when the program was built.\n"
                     "#include \"PredrawnIcons.h\"\n\n#include <cstdint>\n\nnamespace {\n\n";
    QByteArray table = "struct TPredrawn {\n    const char16_t* name;\n    int side;\n"
                       "    const std::uint32_t* pixels;\n};\n\nconst TPredrawn kPredrawn[] = {\n";
    int count = 0;
    for (const QIcon& icon : icons) {
        if (icon.name().isEmpty()) {
            std::fprintf(stderr, "a picture without a name\n");
            return 1;
        }
        for (const int side : {16, 24, 48}) {
            const QImage image =
                icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (image.size() != QSize(side, side)) {
                std::fprintf(stderr, "%s: drawn %dx%d for %d\n", qPrintable(icon.name()), image.width(),
                             image.height(), side);
                return 1;
            }
            const QByteArray array = "kPixels" + QByteArray::number(count++);
            out += "const std::uint32_t " + array + "[] = {";
            for (int y = 0; y < side; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < side; ++x) {
                    if ((y * side + x) % 8 == 0)
                        out += "\n   ";
                    out += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
                }
            }
            out += "\n};\n";
            table += "    {u\"" + icon.name().toUtf8() + "\", " + QByteArray::number(side) + ", " + array + "},\n";
        }
    }
    out += "\n" + table + "};\n\n} // namespace\n\n"
           "QImage PredrawnIcon(const QString& name, int side) {\n"
           "    for (const TPredrawn& p : kPredrawn)\n"
           "        if (p.side == side && name == QStringView(p.name))\n"
           "            return QImage(reinterpret_cast<const uchar*>(p.pixels), side, side, side * 4,\n"
           "                          QImage::Format_ARGB32_Premultiplied);\n"
           "    return {};\n"
           "}\n";
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
