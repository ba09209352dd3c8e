// The settings file without widgets: its bytes and lines, the key look-up
// as loading does it, reading and atomic writing on disk with their failure
// messages, and the comparison of a file with the pages' lines.
#include "hostile_files.h"
#include "page_fakes.h"
#include "pages/SettingsCompare.h"
#include "pages/SettingsDifferenceModel.h"
#include "pages/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray Cp1251(const char* utf8) {
    // The few Russian letters the tables use, in Windows-1251.
    QByteArray out;
    const QString text = QString::fromUtf8(utf8);
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x80)
            out += char(u);
        else if (u >= 0x0410 && u <= 0x044F)
            out += char(0xC0 + (u - 0x0410));
        else if (u == 0x0401)
            out += char(0xA8);
        else if (u == 0x0451)
            out += char(0xB8);
        else
            ADD_FAILURE() << "no byte for U+" << std::hex << u;
    }
    return out;
}

// ---- lines and keys -------------------------------------------------------

struct DecodeCase {
    const char* what;
    QByteArray bytes;
    QStringList lines;
};

TEST(SettingsFileLines, LineEndsAndEncodings) {
    const std::vector<DecodeCase> cases{
        {"CR LF", "Object=0051\r\nDisp=1\r\n", {"Object=0051", "Disp=1"}},
        {"CR alone", "Object=0051\rDisp=1\r", {"Object=0051", "Disp=1"}},
        {"LF alone", "Object=0051\nDisp=1\n", {"Object=0051", "Disp=1"}},
        {"mixed, no end at the end", "A=1\r\nB=2\nC=3\rD=4", {"A=1", "B=2", "C=3", "D=4"}},
        {"an empty line stays a line", "A=1\r\n\r\nB=2\r\n", {"A=1", "", "B=2"}},
        {"LF CR is two ends", "A=1\n\rB=2", {"A=1", "", "B=2"}},
        {"empty file", "", {}},
        {"Windows-1251", Cp1251("SMS1=Тревога Ё\r\n"), {QString::fromUtf8("SMS1=Тревога Ё")}},
        {"every other high byte", QByteArray("X=\x80\x97\x99\xFF"), {QString::fromUtf8("X=Ђ—™я")}},
        // What a Linux editor writes: UTF-8 through and through, no mark.
        {"UTF-8 without the mark", QString::fromUtf8("SMS1=Внимание! Шум\nSMS2=ИШ\n").toUtf8(),
         {QString::fromUtf8("SMS1=Внимание! Шум"), QString::fromUtf8("SMS2=ИШ")}},
        {"UTF-8 with its mark",
         QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("SMS1=Тревога\r\n").toUtf8(),
         {QString::fromUtf8("SMS1=Тревога")}},
    };
    for (const DecodeCase& c : cases) {
        QStringList lines{"untouched"};
        QString reason;
        EXPECT_TRUE(TSettingsFile::Decode(c.bytes, lines, reason)) << c.what << ": " << reason.toStdString();
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

TEST(SettingsFileLines, BytesThatAreNoTextNameTheirLine) {
    const std::vector<std::pair<QByteArray, QString>> cases{
        // 0x98 has no character in Windows-1251.
        {QByteArray("Object=0050\r\nSMS1=\xFF\x98\r\n"), "строка 2 содержит байт 0x98"},
        {QByteArray("\x98"), "строка 1 содержит байт 0x98"},
        // A file that says UTF-8 must be UTF-8.
        {QByteArray("\xEF\xBB\xBF"
                    "A=1\r\nB=\xC0\r\n"),
         "строка 2 не является текстом UTF-8"},
        // ... and hold only what Windows-1251 has: saved again, or sent to
        // the panel, anything else would become "?".
        {QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("SMS1=Тревога\r\nSMS2=Ок \U0001F600\r\n").toUtf8(),
         QString::fromUtf8("строка 2 содержит символ «\U0001F600»")},
        {QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("GAPN0=internät\r\n").toUtf8(),
         QString::fromUtf8("строка 1 содержит символ «ä»")},
    };
    for (const auto& [bytes, reason] : cases) {
        QStringList lines{"untouched"};
        QString why;
        EXPECT_FALSE(TSettingsFile::Decode(bytes, lines, why)) << bytes.toHex().toStdString();
        EXPECT_TRUE(why.startsWith(reason)) << why.toStdString();
        EXPECT_EQ(lines, QStringList{"untouched"}) << "nothing taken";
    }
}

// NUL, escape sequences and the like would reach the panel (and the
// installer's terminal) as they stand: the file is refused, its line and key
// named, the key shown without its control characters.
TEST(SettingsFileLines, ControlCharactersAreRefusedWithTheirLineAndKey) {
    const std::vector<std::pair<QByteArray, QString>> cases{
        {QByteArray("Object=0050\r\nPassword=12") + '\0' + "34" + '\0' + "5678\r\n",
         "строка 2 (ключ «Password») содержит управляющий символ с кодом 0x00"},
        {"SMS1=\x1B[2J\x1B[31mALARM\r\n", "строка 1 (ключ «SMS1») содержит управляющий символ с кодом 0x1B"},
        {"Object=0050\r\nEPhone1=123\t4\r\n",
         "строка 2 (ключ «EPhone1») содержит управляющий символ с кодом 0x09"},
        {"UserName=a\x7F", "строка 1 (ключ «UserName») содержит управляющий символ с кодом 0x7F"},
        {"Pass\x1B[8mword=1\r\n",
         "строка 1 (ключ «Pass\\x1B[8mword») содержит управляющий символ с кодом 0x1B"},
        {"A=1\r\nB=2\r\n\x1A", "строка 3 содержит управляющий символ с кодом 0x1A"},
        {QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("SMS1=Тревога\x07").toUtf8(),
         "строка 1 (ключ «SMS1») содержит управляющий символ с кодом 0x07"},
        // The 8-bit escape of a terminal is no character of Windows-1251,
        // and is named by its code, not shown.
        {"\xEF\xBB\xBFSMS1=\xC2\x9B"
         "31m",
         "строка 1 содержит символ U+009B, которого нет в кодировке Windows-1251"},
    };
    for (const auto& [bytes, reason] : cases) {
        QStringList lines{"untouched"};
        QString why;
        EXPECT_FALSE(TSettingsFile::Decode(bytes, lines, why)) << bytes.toHex().toStdString();
        EXPECT_EQ(why, reason);
        EXPECT_EQ(lines, QStringList{"untouched"}) << "nothing taken";
    }
}

TEST(SettingsFileLines, WrittenAsWindows1251WithCrLfAndNoMark) {
    EXPECT_EQ(TSettingsFile::Encode({"Object=0051", QString::fromUtf8("SMS1=Тревога=Ё"), "Empty="}),
              QByteArray("Object=0051\r\n") + Cp1251("SMS1=Тревога=Ё") + "\r\nEmpty=\r\n");
    EXPECT_EQ(TSettingsFile::Encode({}), QByteArray());
}

struct LookupCase {
    const char* what;
    QStringList lines;
    QString key;
    QString value;
    bool present;
};

TEST(SettingsFileLines, KeysAreLookedUpAsLoadingDoes) {
    const QStringList saved{"Object=0051", "Disp=1", "Time=3"};
    const std::vector<LookupCase> cases{
        {"saved order", saved, "Disp", "1", true},
        {"another order", {"Time=3", "Disp=1", "Object=0051"}, "Object", "0051", true},
        {"key case not counted", {"object=0052", "DISP=0"}, "Object", "0052", true},
        {"the first of two lines counts", {"Object=0001", "Object=0002"}, "Object", "0001", true},
        {"the first of two lines, whatever their case",
         {"OBJECT=0003", "Object=0004"},
         "Object",
         "0003",
         true},
        {"a value with =", {"SMS1=a=b"}, "SMS1", "a=b", true},
        {"an empty value is there", {"SMS1="}, "SMS1", "", true},
        {"a missing key is empty", saved, "SMS1", "", false},
        {"the key must match exactly otherwise",
         {"Object =5", " Object=6", "Objects=7"},
         "Object",
         "",
         false},
        {"a line without = is ignored", {"Object", "Object=0009"}, "Object", "0009", true},
        {"a key is not a prefix", {"SMS10=x"}, "SMS1", "", false},
        {"spaces in a value stay", {"EPhone1= 123 "}, "EPhone1", " 123 ", true},
    };
    for (const LookupCase& c : cases) {
        const TSettingsFile file(c.lines);
        EXPECT_EQ(file.Value(c.key), c.value) << c.what;
        EXPECT_EQ(file.Contains(c.key), c.present) << c.what;
    }
}

// ---- on disk --------------------------------------------------------------

class SettingsFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static void put(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(SettingsFileOnDisk, WrittenAndReadBack) {
    const QStringList lines{"Object=0051", QString::fromUtf8("SMS1=Тревога=1"), "EPhone1="};
    const QString file = path("a.ini");
    ASSERT_TRUE(TSettingsFile(lines).Write(file));
    EXPECT_EQ(bytesOf(file), TSettingsFile::Encode(lines));
    TSettingsFile read;
    ASSERT_TRUE(read.Read(file));
    EXPECT_EQ(read.Lines(), lines);

    // A second write replaces the file whole.
    ASSERT_TRUE(TSettingsFile(QStringList{"A=1"}).Write(file));
    EXPECT_EQ(bytesOf(file), QByteArray("A=1\r\n"));
}

TEST_F(SettingsFileOnDisk, AFileThatCannotBeReadChangesNothing) {
    const QString missing = path("missing.ini");
    const QString folder = path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    // Windows-1251 with a byte it has not: damaged, and no UTF-8 either.
    const QString damaged = path("damaged.ini");
    put(damaged, "Object=0051\r\n" + Cp1251("SMS1=Информация") + "\x98\r\n");

    for (const QString& file : {missing, folder, damaged}) {
        TSettingsFile settings(QStringList{"Kept=1"});
        const TSettingsFile::TResult r = settings.Read(file);
        EXPECT_FALSE(r.Ok) << file.toStdString();
        EXPECT_TRUE(r.Error.contains(file)) << "the file is named: " << r.Error.toStdString();
        EXPECT_FALSE(r.Error.section(file, 1).remove(':').trimmed().isEmpty())
            << "with a reason: " << r.Error.toStdString();
        EXPECT_EQ(settings.Lines(), QStringList{"Kept=1"}) << file.toStdString();
    }
    TSettingsFile settings;
    EXPECT_TRUE(settings.Read(damaged).Error.contains("строка 2"));
}

// What a Linux editor saves: UTF-8 without the mark, told apart from
// Windows-1251 so that the window and the command line can say so.
TEST_F(SettingsFileOnDisk, Utf8WithoutItsMarkIsReadAsUtf8) {
    const QString edited = path("edited.ini");
    put(edited, QString::fromUtf8("Object=0051\nSMS1=Информация\n").toUtf8());
    TSettingsFile settings;
    ASSERT_TRUE(settings.Read(edited).Ok);
    EXPECT_EQ(settings.Value("SMS1"), QString::fromUtf8("Информация"));
    EXPECT_TRUE(settings.Utf8WithoutMark());

    put(edited, "Object=0051\r\n" + Cp1251("SMS1=Информация\r\n"));
    ASSERT_TRUE(settings.Read(edited).Ok);
    EXPECT_EQ(settings.Value("SMS1"), QString::fromUtf8("Информация"));
    EXPECT_FALSE(settings.Utf8WithoutMark());
}

TEST_F(SettingsFileOnDisk, AFailedWriteLeavesTheOldFileAsItWas) {
    // A name so long that no temporary file fits beside it (the system
    // refuses the name, even to root): the new lines can never be complete
    // on disk, so the old file must stay.
    const QString old = path(QString(250, QLatin1Char('s')) + ".ini");
    put(old, "Object=0050\r\n");
    const TSettingsFile::TResult r = TSettingsFile(QStringList{"Object=0051"}).Write(old);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Error.startsWith("Не удалось записать файл настроек " + old + ": "))
        << r.Error.toStdString();
    EXPECT_EQ(bytesOf(old), QByteArray("Object=0050\r\n"));

    // A path that is a folder is not replaced by a file.
    const QString folder = path("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(TSettingsFile(QStringList{"A=1"}).Write(folder).Ok);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // Nothing is left behind in the folder.
    EXPECT_EQ(dir.path() + "/" + QDir(dir.path()).entryList(QDir::Files).join(','), old);
}

TEST_F(SettingsFileOnDisk, OnlyARegularFileOfASaneSizeIsRead) {
    const QString fifo = path("fifo.ini");
    ASSERT_TRUE(MakeFifo(fifo));
    // A file of settings followed by a megabyte of anything is none of the
    // tool's: it is refused before it is read.
    const QString huge = path("huge.ini");
    ASSERT_TRUE(MakeSparseFile(huge, kMaxSettingsFileBytes + 1));
    const struct {
        QString file;
        QString error;
    } cases[] = {
        {fifo,
         "Не удалось открыть файл настроек " + fifo + ": это именованный канал (FIFO), а не обычный файл"},
        {"/dev/zero", "Не удалось открыть файл настроек /dev/zero: это устройство, а не обычный файл"},
        {huge, "Не удалось прочитать файл настроек " + huge +
                   ": файл слишком велик: 1048577 байт, а допустимо не больше 1 МБ (файл настроек занимает "
                   "несколько килобайт)"},
    };
    for (const auto& c : cases) {
        const FifoGuard guard(fifo);
        TSettingsFile settings(QStringList{"Kept=1"});
        const TSettingsFile::TResult r = settings.Read(c.file);
        EXPECT_FALSE(guard.Fired()) << "the read waited for a writer of the FIFO";
        EXPECT_FALSE(r.Ok) << c.file.toStdString();
        EXPECT_EQ(r.Error, c.error);
        EXPECT_EQ(settings.Lines(), QStringList{"Kept=1"});
    }
    EXPECT_TRUE(IsFifo(fifo));
}

TEST_F(SettingsFileOnDisk, SavedOnlyOverARegularFileAndForTheOwnerAlone) {
    // The file holds the panel's passwords.
    const mode_t mask = umask(022);
    const bool saved = TSettingsFile(QStringList{"Password=12345678"}).Write(path("new.ini")).Ok;
    umask(mask);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ModeOf(path("new.ini")), 0600);
    // A file the user gave other rights keeps them.
    put(path("shared.ini"), "Object=0050\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(path("shared.ini")).constData(), 0640), 0);
    ASSERT_TRUE(TSettingsFile(QStringList{"Object=0051"}).Write(path("shared.ini")));
    EXPECT_EQ(ModeOf(path("shared.ini")), 0640);

    // A FIFO is not replaced by a regular file.
    const QString fifo = path("fifo.ini");
    ASSERT_TRUE(MakeFifo(fifo));
    const TSettingsFile::TResult r = TSettingsFile(QStringList{"Object=0051"}).Write(fifo);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, "Не удалось записать файл настроек " + fifo +
                           ": это именованный канал (FIFO), а не обычный файл");
    EXPECT_TRUE(IsFifo(fifo));
}

// ---- the comparison -------------------------------------------------------

TSettingsDifference Diff(int tag, const char* page, const char* key, const char* caption,
                         const char* pageValue, const char* fileValue, bool inFile = true) {
    return {tag,
            QString::fromUtf8(page),
            key,
            QString::fromUtf8(caption),
            QString::fromUtf8(pageValue),
            QString::fromUtf8(fileValue),
            inFile};
}

TEST(SettingsComparison, AFilesLinesAreThePagesLinesOneAfterTheOther) {
    const std::vector<TPageSettings> pages{
        {0, "Общие", {"Object=0051", "Disp=1", "Time=3"}, {"Номер объекта", "Диспетчерская связь", ""}},
        {6, "СМС", {"SMS1=a=b", "SMS2="}, {"Текст СМС 1", "Текст СМС 2"}},
    };
    const QStringList same{"Object=0051", "Disp=1", "Time=3", "SMS1=a=b", "SMS2="};
    EXPECT_EQ(SettingsLines(pages), same) << "the file's lines: the pages' one after the other";
}

TEST(SettingsComparison, TheDialogsTableIsReadOnly) {
    TSettingsDifferenceModel model({Diff(0, "Общие", "Object", "Номер объекта", "0051", "0052"),
                                    Diff(0, "Общие", "Time", "Время", "3", "", false)});
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 4);
    QStringList header;
    for (int c = 0; c < 4; ++c)
        header << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(header, (QStringList{"Страница", "Настройка", "На странице", "В файле"}));
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << model.index(r, c).data().toString();
        return cells;
    };
    EXPECT_EQ(row(0), (QStringList{"Общие", "Номер объекта", "0051", "0052"}));
    EXPECT_EQ(row(1), (QStringList{"Общие", "Время", "3", "нет в файле"}));
    EXPECT_TRUE(model.index(0, 1).data(Qt::ToolTipRole).toString().contains("Object"));
    for (int c = 0; c < 4; ++c)
        EXPECT_FALSE(model.flags(model.index(0, c)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 3), "x"));
}

} // namespace
