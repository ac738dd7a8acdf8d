#include "textio/textfile.h"

#include "save_test_files.h"
#include "textio/cp936.h"
#include "textio/save_journal.h"
#include "textio/write_fault.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using textio::clearReadOnly;
using textio::fileExists;
using textio::overwriteFile;
using textio::readCp936Lines;
using textio::recoverInterruptedSaves;
using textio::replaceFileContents;
using textio::writeCp936Lines;
using textio::writeCp936Text;

class TextFileTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

TEST_F(TextFileTest, WritesTheProgramsTextsAndReadsThemBack)
{
    const QStringList lines = {
        QStringLiteral("室外雨水水力计算表"),
        QStringLiteral("是否保存计算结果？"),
        QStringLiteral("充实水柱长度 Hm= 10米,水枪喷口直径 df=19毫米"),
        QStringLiteral("【GBJ 14-87 第3.2.9条】"),
        QStringLiteral("，。！：（）"),
        QStringLiteral("水温 20℃，坡度 3.0‰，面积 1.5㎡"),
        QString(),
        QStringLiteral("  120  "),
        QStringLiteral("0.65"),
    };
    const QString file = path("storm_out.txt");
    ASSERT_EQ(writeCp936Lines(file, lines), std::nullopt);

    QByteArray expected;
    for (const QString& line : lines) {
        expected += textio::encodeCp936(line).bytes + QByteArrayLiteral("\r\n");
    }
    EXPECT_EQ(fileBytes(file), expected);
    EXPECT_FALSE(fileBytes(file).startsWith("\xEF\xBB\xBF"));

    const auto read = readCp936Lines(file);
    ASSERT_EQ(read.error, std::nullopt);
    EXPECT_EQ(read.lines, lines);
}

TEST_F(TextFileTest, LinesEndInCrLf)
{
    const QString file = path("storm_in.txt");
    ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("120"), QStringLiteral("℃")}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray("120\r\n\xA1\xE6\r\n"));

    ASSERT_EQ(writeCp936Lines(file, {}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray());
}

TEST_F(TextFileTest, WholeTextBreaksBecomeCrLf)
{
    const struct {
        const char* text;
        const char* bytes;
    } cases[] = {
        {"", "\r\n"},
        {"a", "a\r\n"},
        {"a\nb", "a\r\nb\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\n", "a\r\n\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"},
        {"a\r\n\r\nb", "a\r\n\r\nb\r\n"},
    };
    const QString file = path("result.txt");
    for (const auto& c : cases) {
        ASSERT_EQ(writeCp936Text(file, QString::fromLatin1(c.text)), std::nullopt);
        EXPECT_EQ(fileBytes(file), QByteArray(c.bytes)) << QByteArray(c.text).toHex().toStdString();
    }
}

TEST_F(TextFileTest, UnencodableTextLeavesTheFileUntouched)
{
    const QString existing = path("kept.txt");
    putBytes(existing, "old contents\r\n");
    const auto error =
        writeCp936Lines(existing, {QStringLiteral("第一行"), QStringLiteral("体积 5 m³")});
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("第2行"))) << error->toStdString();
    EXPECT_EQ(fileBytes(existing), QByteArray("old contents\r\n"));

    const QString fresh = path("fresh.txt");
    EXPECT_TRUE(writeCp936Text(fresh, QStringLiteral("ok\n😀")).has_value());
    EXPECT_FALSE(QFile::exists(fresh));
}

TEST_F(TextFileTest, WritingReplacesLongerContents)
{
    const QString file = path("short.txt");
    putBytes(file, QByteArray(1000, 'x'));
    ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("1")}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray("1\r\n"));
}

TEST_F(TextFileTest, OpenFailuresAreReported)
{
    const QString missingDir = path("no-such-folder/out.txt");
    EXPECT_TRUE(writeCp936Lines(missingDir, {QStringLiteral("x")}).has_value());
    EXPECT_TRUE(writeCp936Lines(dir_.path(), {QStringLiteral("x")}).has_value());

    const auto read = readCp936Lines(path("missing.txt"));
    EXPECT_TRUE(read.error.has_value());
    EXPECT_TRUE(read.lines.isEmpty());
}

TEST_F(TextFileTest, ReadsEveryKindOfLineBreak)
{
    const struct {
        const char* bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {QString()}},
        {"a", {QStringLiteral("a")}},
        {"a\r\nb", {QStringLiteral("a"), QStringLiteral("b")}},
        {"a\rb\nc\r\n", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"a\n\n", {QStringLiteral("a"), QString()}},
        {"a\r\r\n", {QStringLiteral("a"), QString()}},
        {"\n\r", {QString(), QString()}},
        {" 120 \r\n0.65", {QStringLiteral(" 120 "), QStringLiteral("0.65")}},
        {"\xca\xd2\xcd\xe2\r\n\xa1\xeb", {QStringLiteral("室外"), QStringLiteral("‰")}},
    };
    const QString file = path("storm_in.txt");
    for (const auto& c : cases) {
        putBytes(file, QByteArray(c.bytes));
        const auto read = readCp936Lines(file);
        ASSERT_EQ(read.error, std::nullopt);
        EXPECT_EQ(read.lines, c.lines) << QByteArray(c.bytes).toHex().toStdString();
    }
}

TEST_F(TextFileTest, MalformedFileIsAnError)
{
    const QString file = path("bad.txt");
    putBytes(file, QByteArray("120\r\n\x81"));
    const auto read = readCp936Lines(file);
    EXPECT_TRUE(read.error.has_value());
    EXPECT_TRUE(read.lines.isEmpty());
}

TEST_F(TextFileTest, FileExistsOnlyForFiles)
{
    const QString file = path("there.txt");
    putBytes(file, "x");
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(path("not-there.txt")));
    EXPECT_FALSE(fileExists(dir_.path()));
    EXPECT_FALSE(fileExists(QString()));
}

TEST_F(TextFileTest, ClearReadOnlyMakesTheFileWritableForItsOwner)
{
    const QString file = path("locked.txt");
    putBytes(file, "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    ASSERT_FALSE(QFile::permissions(file).testFlag(QFileDevice::WriteOwner));

    EXPECT_TRUE(clearReadOnly(file));
    EXPECT_TRUE(QFile::permissions(file).testFlag(QFileDevice::WriteOwner));
    EXPECT_TRUE(QFile::permissions(file).testFlag(QFileDevice::ReadOwner));
    EXPECT_TRUE(clearReadOnly(file)); // already writable
    ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("new")}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray("new\r\n"));

    EXPECT_FALSE(clearReadOnly(path("missing.txt")));
}

TEST_F(TextFileTest, OverwritingALockedFileKeepsItLockedWhenTheWriteFails)
{
    const QString file = path("locked.txt");
    putBytes(file, "old\r\n");
    const QFileDevice::Permissions locked = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(file, locked));

    const auto failing = [] { return std::optional<QString>(QStringLiteral("磁盘已满")); };
    EXPECT_EQ(overwriteFile(file, failing), std::optional<QString>(QStringLiteral("磁盘已满")));
    EXPECT_EQ(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser
                                           | QFileDevice::ExeUser),
              locked);

    EXPECT_EQ(overwriteFile(file, [&] { return writeCp936Lines(file, {QStringLiteral("new")}); }),
              std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray("new\r\n"));
    EXPECT_TRUE(QFile::permissions(file).testFlag(QFileDevice::WriteOwner));

    // A new file is simply written.
    EXPECT_EQ(overwriteFile(path("new.txt"),
                            [&] { return writeCp936Lines(path("new.txt"), {QStringLiteral("a")}); }),
              std::nullopt);
    EXPECT_EQ(fileBytes(path("new.txt")), QByteArray("a\r\n"));
}

// ------------------------------------------------------------ failed writes

TEST_F(TextFileTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    struct Case {
        const char* name;
        textio::WriteFault fault;
        qint64 afterBytes;
        bool fileExisted;
        const char* reason;
    };
    const Case cases[] = {
        {"full disk before the first byte, old file", textio::WriteFault::NoSpace, 0, true, "磁盘已满"},
        {"full disk in the middle, old file", textio::WriteFault::NoSpace, 7, true, "磁盘已满"},
        {"full disk at the last byte, old file", textio::WriteFault::NoSpace, 12, true, "磁盘已满"},
        {"full disk, new file", textio::WriteFault::NoSpace, 3, false, "磁盘已满"},
        {"device error, old file", textio::WriteFault::DeviceError, 4, true, "磁盘读写错误"},
        {"device error, new file", textio::WriteFault::DeviceError, 0, false, "磁盘读写错误"},
    };
    const QStringList lines = {QStringLiteral("雨水"), QStringLiteral("12345")};  // 13 bytes
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("storm_out.txt"));
        if (c.fileExisted)
            putBytes(file, "old report\r\n");
        const QStringList before = entriesOf(dir.path());

        std::optional<QString> error;
        {
            const textio::ScopedWriteFault fault(c.fault, c.afterBytes);
            error = writeCp936Lines(file, lines);
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(error->contains(QStringLiteral("storm_out.txt"))) << error->toStdString();
        EXPECT_TRUE(error->contains(QString::fromUtf8(c.reason))) << error->toStdString();
        EXPECT_EQ(entriesOf(dir.path()), before);
        if (c.fileExisted)
            EXPECT_EQ(fileBytes(file), QByteArray("old report\r\n"));
        else
            EXPECT_FALSE(QFile::exists(file));
    }
    // Without the fault the same write goes through.
    const QString file = path("storm_out.txt");
    ASSERT_EQ(writeCp936Lines(file, lines), std::nullopt);
    EXPECT_EQ(fileBytes(file).size(), 13);
}

TEST_F(TextFileTest, ATargetThatIsNoFileIsRefusedAsSuch)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.txt")));
    const std::optional<QString> error = writeCp936Lines(path("folder.txt"), {QStringLiteral("x")});
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("不是文件"))) << error->toStdString();
    EXPECT_TRUE(QFileInfo(path("folder.txt")).isDir());
}

TEST_F(TextFileTest, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    const QString file = path("kept.txt");
    putBytes(file, "old\r\n");
    const QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(file, permissions));
    ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("new")}), std::nullopt);
    EXPECT_EQ(fileBytes(file), QByteArray("new\r\n"));
    EXPECT_EQ(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser
                                           | QFileDevice::ExeUser),
              permissions);

    const QString link = path("link.txt");
    ASSERT_TRUE(QFile::link(file, link));
    ASSERT_EQ(writeCp936Lines(link, {QStringLiteral("through")}), std::nullopt);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(file), QByteArray("through\r\n"));
}

// The mode bits of owner, group and others and the owner stay as they were,
// also for a file of another user that this process may write.
TEST_F(TextFileTest, AReplacedFileKeepsItsModeAndOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    const mode_t modes[] = {0220, 0640, 0604, 0666, 0200};
    for (const mode_t mode : modes) {
        SCOPED_TRACE(mode);
        const QString file = path("theirs.txt");
        putBytes(file, "old\r\n");
        const QByteArray name = QFile::encodeName(file);
        ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(name.constData(), mode), 0);
        ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("new")}), std::nullopt);
        struct stat after {};
        ASSERT_EQ(::stat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_EQ(after.st_gid, 65534u);
        EXPECT_EQ(fileBytes(file), QByteArray("new\r\n"));
    }
}

// Any name the file system takes can be saved: the temporary file beside it
// has a name no longer than the longest one.
TEST_F(TextFileTest, TheLongestNamesCanBeSaved)
{
    const long longest = ::pathconf(QFile::encodeName(dir_.path()).constData(), _PC_NAME_MAX);
    ASSERT_GT(longest, 14);
    const QString names[] = {
        QString(int(longest) - 13, QLatin1Char('a')) + QStringLiteral(".txt"),
        QString(int(longest) - 4, QLatin1Char('b')) + QStringLiteral(".txt"),
        QString(int(longest - 4) / 3, QChar(0x96E8)) + QStringLiteral(".txt"),
    };
    for (const QString& name : names) {
        SCOPED_TRACE(QFile::encodeName(name).size());
        const QString file = dir_.filePath(name);
        ASSERT_EQ(writeCp936Lines(file, {QStringLiteral("1")}), std::nullopt);
        EXPECT_EQ(fileBytes(file), QByteArray("1\r\n"));
    }
}

// The hidden temporary file a save killed part-way leaves in `folder` for a
// file named `name`, moved to `into` (where the next save removes the
// program's own).
QString leftTemporary(const QString& folder, const QString& name, const QString& into)
{
    const QStringList before = entriesOf(folder);
    {
        const textio::ScopedWriteFault killed(textio::WriteFault::ProgramKilled, 2);
        EXPECT_TRUE(writeCp936Lines(folder + QLatin1Char('/') + name, {QStringLiteral("part")}));
    }
    QStringList left = entriesOf(folder);
    for (const QString& entry : before)
        left.removeOne(entry);
    if (left.size() != 1) {
        ADD_FAILURE() << "the killed save left " << left.join(QLatin1Char(' ')).toStdString();
        return QString();
    }
    const QString moved = into + QLatin1Char('/') + left.first();
    EXPECT_TRUE(QFile::rename(folder + QLatin1Char('/') + left.first(), moved));
    return moved;
}

// A save first removes the temporary files that the program's saves which
// died part-way left in the folder; everything else there stays byte for
// byte: files that merely look like temporaries, another user's, one a
// save still writes, one under any lock, a link.
TEST_F(TextFileTest, OnlyTheProgramsOwnLeftTemporariesAreRemoved)
{
    QTemporaryDir killedSaves;
    const QString folder = dir_.path();
    const auto killed = [&](const char* name) {
        return leftTemporary(killedSaves.path(), QString::fromUtf8(name), folder);
    };
    const auto plain = [&](const char* name) {
        const QString file = path(name);
        putBytes(file, "an engineer's own notes");
        return file;
    };
    const auto open = [](const QString& file) {
        return ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
    };
    enum class Lock { None, Lockf, Flock };
    struct Planting {
        const char* name;
        QString file;
        bool removed;
        Lock lock = Lock::None;
    };
    std::vector<Planting> plantings;
    plantings.push_back({"left by a killed save", killed("storm_out.txt"), true});
    plantings.push_back({"left by a killed save of another file", killed("result.dat"), true});
    plantings.push_back({"an engineer's notes", plain(".notes.0123abcd.tmp"), false});
    plantings.push_back({"an engineer's draft", plain(".draft.cafebabe.tmp"), false});
    {
        const QString file = plain(".report.txt.89abcdef.tmp");
        EXPECT_EQ(::chmod(QFile::encodeName(file).constData(), 0), 0);
        plantings.push_back({"a file of mode 000", file, false});
    }
    plantings.push_back({"under lockf", plain(".locked.txt.00aa11bb.tmp"), false, Lock::Lockf});
    plantings.push_back({"the program's, under lockf", killed("locked.txt"), false, Lock::Lockf});
    plantings.push_back(
        {"the program's, written by a running save", killed("busy.txt"), false, Lock::Flock});
    {
        // One digit of the name's check changed: not a name the program made.
        QString file = killed("forged.txt");
        QString forged = file;
        forged[forged.size() - 5] = forged[forged.size() - 5] == QLatin1Char('0') ? QLatin1Char('1')
                                                                                : QLatin1Char('0');
        EXPECT_TRUE(QFile::rename(file, forged));
        plantings.push_back({"a forged mark", forged, false});
    }
    {
        const QString file = killed("link.txt");
        const QString target = plain("linked-notes.txt");
        EXPECT_TRUE(QFile::remove(file));
        EXPECT_TRUE(QFile::link(target, file));
        plantings.push_back({"a link under the program's name", file, false});
    }
    if (::geteuid() == 0) {
        const QString file = killed("theirs.txt");
        EXPECT_EQ(::chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
        plantings.push_back({"the program's, of another user", file, false});
    }
    struct Before {
        bool link;
        QByteArray bytes;
    };
    std::vector<Before> before;
    for (const Planting& p : plantings)
        before.push_back({QFileInfo(p.file).isSymLink(), fileBytes(p.file)});
    // Locked only now: closing any other handle of a file drops this
    // process's lockf locks on it.
    std::vector<int> held;
    for (const Planting& p : plantings) {
        if (p.lock == Lock::None)
            continue;
        held.push_back(open(p.file));
        EXPECT_EQ(p.lock == Lock::Lockf ? ::lockf(held.back(), F_LOCK, 0)
                                        : ::flock(held.back(), LOCK_EX),
                  0);
    }

    ASSERT_EQ(writeCp936Lines(path("storm_out.txt"), {QStringLiteral("new")}), std::nullopt);
    for (const int fd : held)
        ::close(fd);
    for (std::size_t i = 0; i < plantings.size(); ++i) {
        SCOPED_TRACE(plantings[i].name);
        const QFileInfo after(plantings[i].file);
        if (plantings[i].removed) {
            EXPECT_FALSE(after.exists() || after.isSymLink());
        } else {
            EXPECT_EQ(after.isSymLink(), before[i].link);
            EXPECT_EQ(fileBytes(plantings[i].file), before[i].bytes);
        }
    }
    EXPECT_EQ(fileBytes(path("storm_out.txt")), QByteArray("new\r\n"));
}

// A file another program puts under a left temporary's name while the
// clean-up looks at that temporary is not the one examined: it stays.
TEST_F(TextFileTest, AFilePutUnderALeftTemporarysNameMeanwhileStays)
{
    QTemporaryDir killedSaves;
    const QString left = leftTemporary(killedSaves.path(), QStringLiteral("storm_out.txt"), dir_.path());
    const QString notes = path("notes.txt");
    putBytes(notes, "an engineer's own notes");
    {
        const textio::ScopedSaveStep step(textio::SaveStep::LeftFileOpened,
                                          [&] { EXPECT_EQ(::rename(QFile::encodeName(notes).constData(),
                                                                   QFile::encodeName(left).constData()),
                                                          0); });
        ASSERT_EQ(writeCp936Lines(path("storm_out.txt"), {QStringLiteral("new")}), std::nullopt);
    }
    EXPECT_EQ(fileBytes(left), QByteArray("an engineer's own notes"));
    EXPECT_EQ(fileBytes(path("storm_out.txt")), QByteArray("new\r\n"));
}

TEST_F(TextFileTest, AReadOnlyFileIsNotReplaced)
{
    const QString file = path("locked.txt");
    putBytes(file, "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const std::optional<QString> error = writeCp936Lines(file, {QStringLiteral("new")});
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("只读"))) << error->toStdString();
    EXPECT_EQ(fileBytes(file), QByteArray("old\r\n"));
}

// A real full file system: a small memory disk, filled. Mounting needs the
// right to do so (root in a sandbox that allows it).
TEST_F(TextFileTest, OnARealFullDiskTheOldFileStaysWhole)
{
    const QString mountPoint = path("disk");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    const QByteArray where = QFile::encodeName(mountPoint);
    if (::geteuid() != 0
        || ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting a small memory disk needs root and a system that allows it";
    // Unmounted whatever the test finds, a failed check included.
    struct Unmount {
        QByteArray where;
        ~Unmount() { ::umount(where.constData()); }
    } unmount{where};

    const QString file = mountPoint + QStringLiteral("/storm_out.txt");
    putBytes(file, "old report\r\n");
    // Fill the disk to its last block.
    {
        QFile filler(mountPoint + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(1024, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    const QStringList entriesBefore = entriesOf(mountPoint);
    const QStringList lines(2000, QStringLiteral("室外雨水水力计算表"));
    const std::optional<QString> error = writeCp936Lines(file, lines);
    const QByteArray after = fileBytes(file);
    const QStringList entriesAfter = entriesOf(mountPoint);

    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("磁盘已满"))) << error->toStdString();
    EXPECT_EQ(after, QByteArray("old report\r\n"));
    EXPECT_EQ(entriesAfter, entriesBefore);
}

// A file the engineer may write in a folder he may not: the file is written
// in place, its old contents kept in the data folder until the new ones are
// whole, and back in the file when they cannot be.
TEST_F(TextFileTest, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    struct Case {
        const char* name;
        std::optional<textio::WriteFault> fault;  // after 7 bytes
        bool dataFolderWritable;
        const char* after;   // the file's contents afterwards
        const char* reason;  // in the message; none: written
    };
    const Case cases[] = {
        {"written", std::nullopt, true, "雨水\r\n12345\r\n", nullptr},
        {"a full disk part-way", textio::WriteFault::NoSpace, true, "old\r\n", "磁盘已满"},
        {"no room for the copy", std::nullopt, false, "old\r\n", "副本"},
    };
    const QByteArray lines = textio::encodeCp936(QStringLiteral("雨水\r\n12345\r\n")).bytes;  // 13 bytes
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InPlaceSaves saves(dir_.path(), c.dataFolderWritable);
        saves.plant("old\r\n");
        const QByteArray name = QFile::encodeName(saves.file());
        struct stat before {};
        ASSERT_EQ(::stat(name.constData(), &before), 0);

        const std::optional<QString> error = c.fault ? saves.save(lines, *c.fault, 7) : saves.save(lines);

        if (c.reason) {
            ASSERT_TRUE(error.has_value());
            EXPECT_TRUE(error->contains(QString::fromUtf8(c.reason))) << error->toStdString();
        } else {
            EXPECT_EQ(error, std::nullopt) << error->toStdString();
        }
        EXPECT_EQ(fileBytes(saves.file()), textio::encodeCp936(QString::fromUtf8(c.after)).bytes);
        struct stat after {};
        ASSERT_EQ(::stat(name.constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_mode & 07777, 0640u);
        EXPECT_EQ(entriesOf(saves.folder()), QStringList{QStringLiteral("storm_out.txt")});
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << saves.dataFiles().join(QLatin1Char(' ')).toStdString();
    }
}

// An in-place save killed part-way leaves its journal; at the next start the
// file gets its old contents back when it is as the save left it, and the
// engineer is told which file; a file changed since is left alone and the
// engineer is told where the old contents are. Either way the journal goes.
TEST_F(TextFileTest, AnInPlaceSaveKilledPartWayIsPutRightAtTheNextStart)
{
    QByteArray longOld;
    for (int n = 0; n < 1500; ++n)
        longOld += QByteArray::number(n).rightJustified(8, '0') + "\r\n";  // 15000 bytes
    const QByteArray longNew = QByteArray(9000, 'n');
    enum class Then { Untouched, Written, Replaced, OneByteChanged };
    struct Case {
        const char* name;
        QByteArray old;
        QByteArray bytes;
        qint64 killedAfter;
        Then then;
    };
    const Case cases[] = {
        {"growing, untouched", "old\r\n", "new contents\r\n", 7, Then::Untouched},
        {"before the first byte, untouched", "old\r\n", "new contents\r\n", 0, Then::Untouched},
        {"shrinking a long file in its third page, untouched", longOld, longNew, 8192 + 100,
         Then::Untouched},
        {"written by another program since", "old\r\n", "new contents\r\n", 7, Then::Written},
        {"replaced by another program since", "old\r\n", "new contents\r\n", 7, Then::Replaced},
        {"one byte the save never reached changed since", longOld, longNew, 8192 + 100,
         Then::OneByteChanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(c.old);
        ASSERT_TRUE(saves.save(c.bytes, textio::WriteFault::ProgramKilled, c.killedAfter));
        ASSERT_EQ(saves.dataFiles().size(), 1) << "the journal";
        QByteArray changed;
        switch (c.then) {
        case Then::Untouched:
            break;
        case Then::Written:
            changed = "another program's\r\n";
            putBytes(saves.file(), changed);
            break;
        case Then::Replaced:
            changed = "another program's\r\n";
            saves.replace(changed);
            break;
        case Then::OneByteChanged: {
            changed = fileBytes(saves.file());
            changed[changed.size() - 3] = 'X';
            putBytes(saves.file(), changed);
            break;
        }
        }

        const QStringList told = saves.recover();
        ASSERT_EQ(told.size(), 1) << told.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(told[0].contains(saves.file())) << told[0].toStdString();
        const QStringList kept = saves.dataFiles();
        if (c.then == Then::Untouched) {
            EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
            EXPECT_EQ(fileBytes(saves.file()), c.old);
            EXPECT_TRUE(kept.isEmpty()) << kept.join(QLatin1Char(' ')).toStdString();
        } else {
            EXPECT_TRUE(told[0].contains(QStringLiteral("未予恢复"))) << told[0].toStdString();
            EXPECT_EQ(fileBytes(saves.file()), changed);
            ASSERT_EQ(kept.size(), 1);
            EXPECT_TRUE(told[0].contains(kept[0])) << told[0].toStdString();
            EXPECT_EQ(fileBytes(kept[0]), c.old);
        }
        EXPECT_TRUE(saves.recover().isEmpty()) << "told once";
    }
}

// A journal a killed save left is settled before the file is saved again:
// the next save goes through over a file as that save left it, and is
// refused, the old contents kept and named, over a file changed since. A
// file has one journal at most, and a save that goes through leaves none.
TEST_F(TextFileTest, TheNextSaveOfAFileSettlesTheJournalItsKilledSaveLeft)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old\r\n");
    ASSERT_TRUE(saves.save("first\r\n", textio::WriteFault::ProgramKilled, 2));
    ASSERT_TRUE(saves.save("second\r\n", textio::WriteFault::ProgramKilled, 3));
    EXPECT_EQ(saves.dataFiles().size(), 1) << "one journal for the file";
    EXPECT_EQ(saves.save("third\r\n"), std::nullopt);
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("third\r\n"));
    EXPECT_TRUE(saves.dataFiles().isEmpty());

    ASSERT_TRUE(saves.save("fourth\r\n", textio::WriteFault::ProgramKilled, 2));
    putBytes(saves.file(), "another program's\r\n");
    const std::optional<QString> refused = saves.save("fifth\r\n");
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(QStringLiteral("本次未保存"))) << refused->toStdString();
    const QStringList kept = saves.dataFiles();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(refused->contains(kept[0])) << refused->toStdString();
    EXPECT_EQ(fileBytes(kept[0]), QByteArray("third\r\n"));
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("another program's\r\n"));
    // Told once: the next save goes through, and the kept contents stay.
    EXPECT_EQ(saves.save("sixth\r\n"), std::nullopt);
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("sixth\r\n"));
    EXPECT_EQ(saves.dataFiles(), kept);
}

// While one save writes a file in place (it holds the file's lock), a second
// save of the file is refused with a message and changes nothing.
TEST_F(TextFileTest, ASecondInPlaceSaveOfAFileBeingWrittenIsRefused)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old\r\n");
    const int running = ::open(QFile::encodeName(saves.file()).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    const std::optional<QString> refused = saves.save("second\r\n");
    ::close(running);
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(QStringLiteral("另一个程序正在保存该文件"))) << refused->toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old\r\n"));
    EXPECT_TRUE(saves.dataFiles().isEmpty());
}

} // namespace
