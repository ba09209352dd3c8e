// The Windows-1251 codec against the system's own iconv tables, byte by byte.
#include "panel/Cp1251.h"

#include <gtest/gtest.h>

#include <iconv.h>

namespace {

// Decodes one byte with iconv; false when iconv has no character for it.
bool iconvDecode(unsigned char byte, QString& out) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == iconv_t(-1))
        return false;
    char in[1] = {char(byte)};
    char16_t buf[4] = {};
    char* inp = in;
    size_t inLeft = 1;
    char* outp = reinterpret_cast<char*>(buf);
    size_t outLeft = sizeof buf;
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1))
        return false;
    out = QString::fromUtf16(buf, qsizetype((sizeof buf - outLeft) / 2));
    return true;
}

TEST(Cp1251, EveryByteDecodesAsIconvDoesAndEncodesBack) {
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QString ours = FromCp1251(one);
        QString theirs;
        if (!iconvDecode(uchar(b), theirs)) {
            ++undefined;
            EXPECT_EQ(b, 0x98) << "only 0x98 is undefined";
            EXPECT_EQ(ours, "?");
            continue;
        }
        EXPECT_EQ(ours, theirs) << "byte " << b;
        EXPECT_EQ(ToCp1251(ours), one) << "byte " << b;
    }
    EXPECT_EQ(undefined, 1);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ToCp1251(QString::fromUtf8("Привет, Ёж №5")),
              QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xE6 \xB9"
                         "5"));
    EXPECT_EQ(ToCp1251(QString::fromUtf8("a€b")), QByteArray("a\x88"
                                                             "b"));
    EXPECT_EQ(ToCp1251(QString::fromUtf8("日本 ä ő")), QByteArray("?? ? ?"));
    EXPECT_EQ(ToCp1251(QString::fromUtf8("😀")), QByteArray("??")) << "each half of a surrogate pair";
    EXPECT_EQ(ToCp1251(QString(QChar(0))), QByteArray(1, '\0'));
}

} // namespace
