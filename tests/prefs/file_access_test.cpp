// The one place every file of the tool is read and written through: only a
// regular file of a bounded size is read, and refused at once otherwise
// (a FIFO is never waited on); only a regular file, or none, is replaced,
// whole, with the mode its contents call for; a link another user planted
// in a shared folder leads neither a read nor a write anywhere.
#include "hostile_files.h"
#include "prefs/FileUtils.h"
#include "prefs/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::string Text(const QString& s) {
    return s.toStdString();
}

class FileAccess : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    void put(const QString& file, const QByteArray& bytes) const {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << Text(file);
        f.write(bytes);
    }
    // Everything in a folder, hidden entries too.
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

TEST_F(FileAccess, OnlyARegularFileOfBoundedSizeIsRead) {
    const QString fifo = path("fifo.ini");
    ASSERT_TRUE(MakeFifo(fifo));
    ASSERT_TRUE(QDir().mkdir(path("folder.ini")));
    ASSERT_TRUE(MakeSparseFile(path("over.ini"), 4097));
    put(path("at.ini"), QByteArray(4096, 'x'));
    ASSERT_TRUE(QFile::link(path("at.ini"), path("own-link.ini")));

    struct Case {
        const char* what;
        QString file;
        TFileRead::TFault fault;
        const char* reason;
        qint64 size;
    };
    const Case cases[] = {
        {"a FIFO is not waited on", fifo, TFileRead::Open, "это именованный канал (FIFO), а не обычный файл",
         0},
        {"a device is not read without end", "/dev/zero", TFileRead::Open,
         "это устройство, а не обычный файл", 0},
        {"a folder", path("folder.ini"), TFileRead::Open, "это папка, а не файл", 0},
        {"nothing there", path("missing.ini"), TFileRead::Open, "нет такого файла или папки", 0},
        {"nothing there, nor its folder", path("gone/x.ini"), TFileRead::Open, "нет такого файла или папки",
         0},
        {"one byte over the limit, told before anything is read", path("over.ini"), TFileRead::TooLarge,
         "файл слишком велик: 4097 байт, а допустимо не больше 4 КБ", 4097},
        {"at the limit", path("at.ini"), TFileRead::None, "", 4096},
        {"through the user's own link", path("own-link.ini"), TFileRead::None, "", 4096},
    };
    for (const Case& c : cases) {
        const FifoGuard guard(fifo);
        const TFileRead r = ReadRegularFile(c.file, 4096);
        EXPECT_FALSE(guard.Fired()) << c.what << ": the read waited on the FIFO";
        EXPECT_EQ(r.Fault, c.fault) << c.what;
        EXPECT_EQ(r.Reason, QString::fromUtf8(c.reason)) << c.what;
        EXPECT_EQ(r.Size, c.size) << c.what;
        EXPECT_EQ(r.Bytes.size(), c.fault == TFileRead::None ? c.size : 0) << c.what;
    }
    EXPECT_TRUE(IsFifo(fifo));
}

TEST_F(FileAccess, OnlyARegularFileOrNoneIsReplaced) {
    const QString fifo = path("fifo.ini");
    ASSERT_TRUE(MakeFifo(fifo));
    ASSERT_TRUE(QDir().mkdir(path("folder.ini")));
    const QString device = path("null.ini");
    const bool haveDevice = MakeNullDevice(device); // root only

    struct Case {
        const char* what;
        QString file;
        const char* reason; // nullptr: written
        bool forbidden;     // whatever becomes of the folder
    };
    std::vector<Case> cases{
        {"a FIFO", fifo, "это именованный канал (FIFO), а не обычный файл", true},
        {"a folder", path("folder.ini"), "это папка, а не файл", true},
        {"a folder that is not there", path("gone/x.ini"), "нет такого файла или папки", false},
        {"a file yet to be made", path("new.ini"), nullptr, false},
        {"a regular file", path("new.ini"), nullptr, false},
    };
    if (haveDevice)
        cases.push_back({"a device node", device, "это устройство, а не обычный файл", true});
    for (const Case& c : cases) {
        QString reason;
        EXPECT_EQ(WriteTargetProblem(c.file), c.reason ? QString::fromUtf8(c.reason) : QString()) << c.what;
        EXPECT_EQ(ForbiddenTargetProblem(c.file).isEmpty(), !c.forbidden) << c.what;
        const bool written = TReplacingFile::WriteAll(c.file, "A=1\r\n", TFileAccess::Shared, &reason);
        EXPECT_EQ(written, c.reason == nullptr) << c.what;
        EXPECT_EQ(reason, c.reason ? QString::fromUtf8(c.reason) : QString()) << c.what;
    }
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_TRUE(QFileInfo(path("folder.ini")).isDir());
    EXPECT_EQ(IsCharDevice(device), haveDevice);
    EXPECT_EQ(ContentsOf(path("new.ini")), "A=1\r\n");
    QStringList left{"fifo.ini", "folder.ini", "new.ini"};
    if (haveDevice)
        left << "null.ini";
    left.sort();
    EXPECT_EQ(entries(dir.path()), left) << "no temporary file is left behind";
}

TEST_F(FileAccess, ANewFileTakesTheModeOfItsContentsAnOldOneKeepsItsOwn) {
    struct Case {
        const char* what;
        mode_t mask;
        TFileAccess access;
        int existing; // -1: a new file
        int mode;
    };
    const Case cases[] = {
        {"private, the usual mask", 022, TFileAccess::Private, -1, 0600},
        {"private, an open mask", 0, TFileAccess::Private, -1, 0600},
        {"shared, the usual mask", 022, TFileAccess::Shared, -1, 0644},
        {"shared, a tighter mask", 027, TFileAccess::Shared, -1, 0640},
        {"private over a file the user opened to the group", 022, TFileAccess::Private, 0640, 0640},
        {"shared over a private file", 022, TFileAccess::Shared, 0600, 0600},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString file = path(QStringLiteral("f%1").arg(n++));
        if (c.existing >= 0) {
            put(file, "old");
            ASSERT_EQ(chmod(QFile::encodeName(file).constData(), mode_t(c.existing)), 0);
        }
        const mode_t before = umask(c.mask);
        const bool ok = TReplacingFile::WriteAll(file, "new", c.access);
        umask(before);
        ASSERT_TRUE(ok) << c.what;
        EXPECT_EQ(ModeOf(file), c.mode) << c.what;
        EXPECT_EQ(ContentsOf(file), "new") << c.what;
    }
}

TEST_F(FileAccess, AFileNotCommittedChangesNothingAndLeavesNothing) {
    put(path("old.csv"), "old");
    {
        TReplacingFile file(path("old.csv"));
        ASSERT_TRUE(file.Open()) << Text(file.Reason());
        EXPECT_TRUE(file.TemporaryPath().startsWith(path(".old.csv.")));
        ASSERT_EQ(file.Device().write("half of it"), 10);
        ASSERT_TRUE(file.Device().flush());
    }
    EXPECT_EQ(ContentsOf(path("old.csv")), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{"old.csv"});
}

// As the kernel's protected_symlinks and protected_regular take them, also
// where the system leaves them off.
TEST_F(FileAccess, LinksOfOthersInASharedFolderAreNotFollowed) {
    if (!RunningAsRoot())
        GTEST_SKIP() << "planting another user's link takes root";
    const QString shared = path("shared");
    const QString strangers = path("strangers"); // the stranger's own shared folder
    const QString open = path("open");           // writable by all, not sticky
    const QString victims = path("victims");     // the files a planted link aims at
    ASSERT_TRUE(MakeSharedFolder(shared));
    ASSERT_TRUE(MakeSharedFolder(strangers, kStrangerUid));
    ASSERT_TRUE(QDir().mkdir(open) && chmod(QFile::encodeName(open).constData(), 0777) == 0);
    ASSERT_TRUE(QDir().mkdir(victims));

    struct Case {
        const char* what;
        QString link;
        unsigned owner;
        bool followed;
    };
    const Case cases[] = {
        {"another user's link in a shared folder", shared + "/panel.ini", kStrangerUid, false},
        {"the user's own link there", shared + "/own.ini", 0, true},
        {"the link of the shared folder's owner", strangers + "/panel.ini", kStrangerUid, true},
        {"another user's link in a folder that is not sticky", open + "/panel.ini", kStrangerUid, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString victim = victims + QStringLiteral("/victim%1").arg(n++);
        put(victim, "victim's");
        ASSERT_TRUE(PlantLink(victim, c.link, c.owner)) << c.what;

        EXPECT_EQ(ForbiddenTargetProblem(c.link).isEmpty(), c.followed) << c.what;
        const TFileRead read = ReadRegularFile(c.link, 4096);
        QString reason;
        const bool written = TReplacingFile::WriteAll(c.link, "tool's", TFileAccess::Private, &reason);
        EXPECT_EQ(written, c.followed) << c.what << ": " << Text(reason);
        EXPECT_EQ(read.Fault == TFileRead::None, c.followed) << c.what << ": " << Text(read.Reason);
        EXPECT_EQ(QFileInfo(c.link).isSymLink(), true) << c.what << ": the link stays a link";
        if (c.followed) {
            EXPECT_EQ(read.Bytes, "victim's") << c.what;
            EXPECT_EQ(ContentsOf(victim), "tool's") << c.what;
        } else {
            EXPECT_EQ(ContentsOf(victim), "victim's") << c.what;
            const QString expected = QStringLiteral("символьная ссылка %1 в общей папке принадлежит другому "
                                                    "пользователю (uid %2)")
                                         .arg(c.link)
                                         .arg(kStrangerUid);
            EXPECT_TRUE(reason.startsWith(expected)) << Text(reason);
            EXPECT_TRUE(read.Reason.startsWith(expected)) << Text(read.Reason);
        }
    }

    // A folder reached through such a link is not written into either.
    ASSERT_TRUE(PlantLink(victims, shared + "/dir", kStrangerUid));
    EXPECT_FALSE(TReplacingFile::WriteAll(shared + "/dir/new.ini", "tool's", TFileAccess::Private));
    EXPECT_FALSE(QFile::exists(victims + "/new.ini"));

    // Nor is another user's regular file there replaced (the tool's file
    // would take its mode, readable by its owner).
    const QString planted = shared + "/planted.ini";
    put(planted, "stranger's");
    ASSERT_EQ(chmod(QFile::encodeName(planted).constData(), 0666), 0);
    ASSERT_EQ(lchown(QFile::encodeName(planted).constData(), kStrangerUid, kStrangerUid), 0);
    QString reason;
    EXPECT_FALSE(TReplacingFile::WriteAll(planted, "tool's", TFileAccess::Private, &reason));
    EXPECT_TRUE(reason.startsWith("файл в общей папке принадлежит другому пользователю")) << Text(reason);
    EXPECT_EQ(ContentsOf(planted), "stranger's");
    // The user's own file there is.
    EXPECT_TRUE(TReplacingFile::WriteAll(shared + "/mine.ini", "tool's", TFileAccess::Private));
    EXPECT_TRUE(TReplacingFile::WriteAll(shared + "/mine.ini", "tool's again", TFileAccess::Private));
    EXPECT_EQ(ContentsOf(shared + "/mine.ini"), "tool's again");
}

} // namespace
