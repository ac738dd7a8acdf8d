#include "textio/save_journal.h"

#include "failing_calls.h"
#include "save_test_files.h"
#include "simulated_disk.h"
#include "textio/file_handles.h"
#include "textio/in_place_save.h"
#include "textio/textfile.h"
#include "textio/write_fault.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using textio::JournalRecord;
using textio::WriteFault;

// Contents of `size` bytes that differ at every place from those of
// another `seed`.
QByteArray contents(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i % 10);
    return bytes;
}

// Old contents (lower case) and new ones (upper case) of a few sizes.
const QByteArray eightK = contents(8192, 'a');
const QByteArray twelveOld = contents(12288, 'a');
const QByteArray twelveK = contents(12288, 'A');
const QByteArray& twelveNew = twelveK;
const QByteArray fourK = contents(4096, 'A');
const QByteArray old200 = contents(200, 'a');
const QByteArray new100 = contents(100, 'A');

QByteArray withByte(QByteArray bytes, qsizetype at, char c)
{
    bytes[at] = c;
    return bytes;
}

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

// ------------------------------------------------------------ the decision

// A file counts as left by its save (or by a restore of it) when it has the
// old or the new length and each byte is the old or the new contents at
// its place, or a zero where the file was lengthened first; any other file
// was changed by someone else.
TEST(InterruptedSaveDecision, AFileIsTakenAsLeftByItsSaveExactly)
{
    const QByteArray six = "abcdef";
    struct Row {
        const char* name;
        QByteArray old;
        QByteArray written;
        QByteArray now;
        bool restoring;
        bool left;
    };
    const Row rows[] = {
        {"untouched", six, "new contents", six, false, true},
        {"died before its first byte, then 6 other bytes written",
         six, "new contents", "uvwxyz", false, false},
        {"the same length, 6 other bytes", six, "ABCDEF", "uvwxyz", false, false},
        {"grown whole", eightK, twelveK, twelveK, false, true},
        {"grown whole, the last 100 bytes cut off since", eightK, twelveK, twelveK.first(12188), false,
         false},
        {"grown whole, one byte changed 10 before the end", eightK, twelveK,
         withByte(twelveK, 12278, 'x'), false, false},
        {"grown, lengthened and killed before its first byte", eightK, twelveK,
         eightK + QByteArray(4096, '\0'), false, true},
        {"grown, a zero inside the old contents", eightK, twelveK,
         withByte(eightK + QByteArray(4096, '\0'), 100, '\0'), false, false},
        {"shrunk, killed before the cut", old200, new100, new100 + old200.sliced(100), false, true},
        {"shrunk and cut", old200, new100, new100, false, true},
        {"shrunk, a length between", old200, new100, new100 + old200.sliced(100, 50), false, false},
        {"shrunk, zeros past the new end", old200, new100, new100 + QByteArray(100, '\0'), false, false},
        {"shrunk and cut, a restore lengthened it", old200, new100, new100 + QByteArray(100, '\0'), true,
         true},
        {"a restore between, a length between", old200, new100, old200.first(150), true, false},
        {"the power cut: the middle page new", twelveOld, twelveNew,
         twelveOld.first(4096) + twelveNew.sliced(4096, 4096) + twelveOld.sliced(8192), false, true},
        {"the power cut: the middle page new, one byte another's", twelveOld, twelveNew,
         withByte(twelveOld.first(4096) + twelveNew.sliced(4096, 4096) + twelveOld.sliced(8192), 5000,
                  'x'),
         false, false},
        {"a restore of a grown file killed before its cut", eightK, twelveK,
         eightK + twelveK.sliced(8192), true, true},
        {"an empty file grown", QByteArray(), "new", QByteArray(), false, true},
        {"an empty file, another's 3 bytes", QByteArray(), "new", "abc", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JournalRecord record;
        record.target = QStringLiteral("/data/storm_out.txt");
        record.old = row.old;
        record.written = row.written;
        record.state = row.restoring ? textio::JournalState::Restoring : textio::JournalState::Saving;
        EXPECT_EQ(textio::leftBySaveOrRestore(row.now, record), row.left);
    }
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A journal's bytes laid out here field by field: "VTJ3" and the head's
// length, the head and its seal, the contents, the seal of it all, and the
// state.
QByteArray journalBytes(quint32 magic, const QString& target, quint64 oldSize, quint64 newSize,
                        const QByteArray& contents, char state = 0)
{
    QByteArray head;
    {
        QDataStream out(&head, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << target << quint64(2049) << quint64(131) << quint64(0x1234) << qint64(1'765'000'000'000)
            << oldSize << newSize;
    }
    QByteArray whole(8, Qt::Uninitialized);
    qToBigEndian(magic, whole.data());
    qToBigEndian(quint32(head.size()), whole.data() + 4);
    whole += head;
    whole += sha256(whole);
    whole += contents;
    return whole + sha256(whole) + state;
}

// A journal is read only when it is whole and exactly as written: anything
// else (cut short, a bit flipped, more or fewer bytes than its lengths say,
// even under seals that fit) is no journal to follow. Where its head is
// whole, it still tells which file it was for.
TEST(InterruptedSaveDecision, OnlyAWholeJournalIsRead)
{
    JournalRecord record;
    record.target = QStringLiteral("/data/雨水.txt");
    record.device = 2049;
    record.inode = 131;
    record.fileSystem = 0x1234;
    record.savedAt = 1'765'000'000'000;
    record.old = "old\r\n";
    record.written = "new contents\r\n";
    const QByteArray whole = textio::encodeJournal(record);
    const QByteArray contents = record.old + record.written;
    constexpr quint32 kMagic = 0x56544a33;
    const QString target = record.target;
    const QString unknown;
    struct Row {
        const char* name;
        QByteArray bytes;
        textio::JournalReading::Kind kind;
        QString tells;  // the file it names
    };
    using K = textio::JournalReading;
    const Row rows[] = {
        {"whole", whole, K::Whole, target},
        {"laid out as written here", journalBytes(kMagic, target, 5, 14, contents), K::Whole, target},
        {"cut short by a byte", whole.first(whole.size() - 1), K::Damaged, target},
        {"cut inside its head", whole.first(40), K::Damaged, unknown},
        {"a bit of the head flipped", withByte(whole, 20, static_cast<char>(whole[20] ^ 1)), K::Damaged, unknown},
        {"a bit of the old contents flipped",
         withByte(whole, whole.size() - 52, static_cast<char>(whole[whole.size() - 52] ^ 1)), K::Damaged, target},
        {"a bit of the last seal flipped",
         withByte(whole, whole.size() - 5, static_cast<char>(whole[whole.size() - 5] ^ 1)), K::Damaged, target},
        {"an unknown state", journalBytes(kMagic, target, 5, 14, contents, 3), K::Damaged, target},
        {"a byte more than its lengths say, sealed", journalBytes(kMagic, target, 5, 14, contents + "x"),
         K::Damaged, target},
        {"the new contents longer than the rest, sealed", journalBytes(kMagic, target, 5, 100, contents),
         K::Damaged, target},
        {"another kind of file, sealed", journalBytes(0x56544a32, target, 5, 14, contents), K::Damaged, unknown},
        {"a file without its folder, sealed",
         journalBytes(kMagic, QStringLiteral("storm_out.txt"), 5, 14, contents), K::Damaged, unknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const textio::JournalReading read = textio::decodeJournal(row.bytes);
        ASSERT_EQ(read.kind, row.kind);
        EXPECT_EQ(read.record.target, row.tells);
        if (read.kind == K::Whole) {
            EXPECT_EQ(read.record.device, record.device);
            EXPECT_EQ(read.record.inode, record.inode);
            EXPECT_EQ(read.record.fileSystem, record.fileSystem);
            EXPECT_EQ(read.record.savedAt, record.savedAt);
            EXPECT_EQ(read.record.old, record.old);
            EXPECT_EQ(read.record.written, record.written);
            EXPECT_EQ(read.record.state, textio::JournalState::Saving);
        }
    }
    EXPECT_EQ(textio::decodeJournal(journalBytes(kMagic, target, 5, 14, contents, 1)).record.state,
              textio::JournalState::Restoring);
}

// A name is shortened by whole characters, those outside the basic plane
// (CJK Extension B, common in names) included.
TEST(InterruptedSaveDecision, NamesAreShortenedByWholeCharacters)
{
    const QString extensionB = QString::fromUcs4(U"\U00020000\U0002A6D6\U00020000");
    struct Row {
        const char* name;
        QString given;
        qsizetype maxBytes;
        QString shortened;
    };
    const Row rows[] = {
        {"fits", QStringLiteral("雨水.txt"), 10, QStringLiteral("雨水.txt")},
        {"cut in the basic plane", QStringLiteral("雨水.txt"), 5, QStringLiteral("雨")},
        {"cut inside a four-byte character", QStringLiteral("a") + extensionB, 6,
         QStringLiteral("a") + extensionB.first(2)},
        {"cut after a four-byte character", QStringLiteral("a") + extensionB, 9,
         QStringLiteral("a") + extensionB.first(4)},
        {"no room", extensionB, 3, QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(textio::shortenedName(row.given, row.maxBytes), row.shortened);
    }
}

// ------------------------------------------------------------ the start

class InterruptedSavesTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
};

// The journal a save killed part-way left in the data folder.
QString journalOf(const InPlaceSaves& saves)
{
    const QStringList files = saves.dataFiles();
    EXPECT_EQ(files.size(), 1) << joined(files).toStdString();
    return files.value(0);
}

// Wherever an in-place save dies, and whatever another program does to
// the file afterwards, the next start restores the file exactly when the
// save left it so; else it leaves the file alone and keeps the old
// contents aside.
TEST_F(InterruptedSavesTest, AFileIsRestoredExactlyWhenItsSaveLeftIt)
{
    struct Row {
        const char* name;
        QByteArray old;
        QByteArray written;
        qint64 killedAfter;
        std::function<QByteArray(const QByteArray&)> then;  // the file afterwards; none: as left
        bool restored;
    };
    const Row rows[] = {
        {"6 bytes, died before its first byte, then 6 other bytes written", "abcdef", "new contents\r\n",
         0, [](const QByteArray&) { return QByteArray("uvwxyz"); }, false},
        {"grown, killed at the cut", eightK, twelveK, 12288, nullptr, true},
        {"grown, killed at the cut, the last 100 bytes cut off since", eightK, twelveK, 12288,
         [](const QByteArray& left) { return left.first(left.size() - 100); }, false},
        {"grown, killed at the cut, one byte changed since", eightK, twelveK, 12288,
         [](const QByteArray& left) { return withByte(left, left.size() - 10, 'x'); }, false},
        {"shrunk from 200 to 100 bytes, killed before the cut", old200, new100, 100, nullptr, true},
        {"a power cut: the middle page reached the disk", twelveOld, twelveNew, 0,
         [&](const QByteArray&) {
             return twelveOld.first(4096) + twelveNew.sliced(4096, 4096) + twelveOld.sliced(8192);
         },
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(row.old);
        ASSERT_TRUE(saves.save(row.written, WriteFault::ProgramKilled, row.killedAfter));
        const QByteArray left = fileBytes(saves.file());
        const QByteArray now = row.then ? row.then(left) : left;
        if (row.then)
            putBytes(saves.file(), now);

        const QStringList told = saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(saves.file())) << told[0].toStdString();
        if (row.restored) {
            EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
            EXPECT_EQ(fileBytes(saves.file()), row.old);
            EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
        } else {
            EXPECT_TRUE(told[0].contains(QStringLiteral("未予恢复"))) << told[0].toStdString();
            EXPECT_EQ(fileBytes(saves.file()), now);
            const QStringList kept = saves.dataFiles();
            ASSERT_EQ(kept.size(), 1);
            EXPECT_TRUE(told[0].contains(kept[0])) << told[0].toStdString();
            EXPECT_EQ(fileBytes(kept[0]), row.old);
        }
        EXPECT_TRUE(saves.recover().isEmpty()) << "told once";
    }
}

// A start that dies while it restores a file leaves its journal: the next
// start finishes the restore, and only then does the journal go.
TEST_F(InterruptedSavesTest, ARestoreThatDiesIsFinishedByTheNextStart)
{
    struct Row {
        const char* name;
        QByteArray old;
        QByteArray written;
        qint64 saveKilledAfter;
        bool cutBySave;  // the save got as far as its cut
        qint64 restoreKilledAfter;
    };
    const Row rows[] = {
        {"grown, the restore killed before its cut", eightK, twelveK, 12288, false, 8192},
        {"shrunk, the restore killed after its first bytes", twelveK, fourK, 4096, false, 100},
        {"shrunk and cut, the restore killed after its first bytes", twelveK, fourK, 4096, true, 100},
        {"shrunk and cut, the restore killed before its first byte", twelveK, fourK, 4096, true, 0},
        {"shrunk and cut, the restore killed past the new end", twelveK, fourK, 4096, true, 6000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(row.old);
        ASSERT_TRUE(saves.save(row.written, WriteFault::ProgramKilled, row.saveKilledAfter));
        if (row.cutBySave) {
            ASSERT_EQ(::truncate(QFile::encodeName(saves.file()).constData(), row.written.size()), 0);
        }

        EXPECT_TRUE(saves.recover(WriteFault::ProgramKilled, row.restoreKilledAfter).isEmpty());
        EXPECT_EQ(saves.dataFiles().size(), 1) << "the journal stays";

        const QStringList told = saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
        EXPECT_EQ(fileBytes(saves.file()), row.old);
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
    }
}

// A save whose write fails and whose old contents cannot be written back
// either names where they are, and leaves its journal: the next start
// restores the file.
TEST_F(InterruptedSavesTest, AFailedRollBackIsFinishedByTheNextStart)
{
    const InPlaceSaves saves(dir_.path());
    const QByteArray old = "室外雨水水力计算表 old\r\n";
    saves.plant(old);
    const std::optional<QString> error = saves.save("new contents of the report\r\n", WriteFault::DeviceError, 7);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("磁盘读写错误"))) << error->toStdString();
    const QStringList files = saves.dataFiles();
    ASSERT_EQ(files.size(), 2) << "the journal and a copy";
    const QString copy = files[0].endsWith(QStringLiteral(".old")) ? files[0] : files[1];
    EXPECT_TRUE(error->contains(QStringLiteral("原内容保存在“%1”").arg(copy))) << error->toStdString();
    EXPECT_EQ(fileBytes(copy), old);

    const QStringList told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), old);
    EXPECT_EQ(saves.dataFiles(), QStringList{copy});
}

// A journal the program cannot use (damaged, not the user's own, writable by
// others, no plain file) is never followed: it is moved aside under a name
// of its own, the engineer is told where, the file stays as it is, and
// later saves of the file go through.
TEST_F(InterruptedSavesTest, AJournalThatCannotBeUsedIsKeptAsideAndNeverFollowed)
{
    struct Row {
        const char* name;
        std::function<void(const QString& journal)> spoil;
        bool needsRoot;
        bool namesFile = false;  // the journal's head is whole: the message names the file
    };
    const auto rewrite = [](const QString& journal, const std::function<QByteArray(QByteArray)>& change) {
        const QByteArray bytes = change(fileBytes(journal));
        QFile file(journal);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    const auto replaceBy = [](const QString& journal, const std::function<void(const QByteArray&)>& make) {
        const QByteArray name = QFile::encodeName(journal);
        ASSERT_EQ(::rename(name.constData(), (name + ".elsewhere").constData()), 0);
        make(name);
    };
    const Row rows[] = {
        {"cut short", [&](const QString& j) { rewrite(j, [](QByteArray b) { return b.first(b.size() - 40); }); },
         false, true},
        {"a bit flipped",
         [&](const QString& j) { rewrite(j, [](QByteArray b) { return withByte(b, 30, static_cast<char>(b[30] ^ 4)); }); },
         false},
        {"a wrong seal",
         [&](const QString& j) {
             rewrite(j, [](QByteArray b) { return withByte(b, b.size() - 2, static_cast<char>(b[b.size() - 2] ^ 1)); });
         },
         false, true},
        {"a bit of the old contents flipped",
         [&](const QString& j) {
             rewrite(j, [](QByteArray b) { return withByte(b, b.size() - 50, static_cast<char>(b[b.size() - 50] ^ 1)); });
         },
         false, true},
        {"writable by others", [](const QString& j) { setMode(j, 0666); }, false},
        {"another user's",
         [](const QString& j) { EXPECT_EQ(::chown(QFile::encodeName(j).constData(), 0, 0), 0); }, true},
        {"a link to a journal",
         [&](const QString& j) {
             replaceBy(j, [](const QByteArray& name) {
                 EXPECT_EQ(::symlink((name + ".elsewhere").constData(), name.constData()), 0);
             });
         },
         false},
        {"a pipe",
         [&](const QString& j) {
             replaceBy(j, [](const QByteArray& name) { EXPECT_EQ(::mkfifo(name.constData(), 0600), 0); });
         },
         false},
        {"a folder",
         [&](const QString& j) {
             replaceBy(j, [](const QByteArray& name) { EXPECT_EQ(::mkdir(name.constData(), 0700), 0); });
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.needsRoot && !InPlaceSaves::asRoot())
            continue;
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
        const QString journal = journalOf(saves);
        const QByteArray left = fileBytes(saves.file());
        row.spoil(journal);

        const QStringList told = saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("无法使用"))) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(journal)) << told[0].toStdString();
        EXPECT_EQ(told[0].contains(QStringLiteral("“%1”").arg(saves.file())), row.namesFile) << told[0].toStdString();
        const qsizetype from = told[0].lastIndexOf(QStringLiteral("“")) + 1;
        const QString movedTo = told[0].mid(from, told[0].lastIndexOf(QStringLiteral("”")) - from);
        struct stat st {};
        EXPECT_NE(::lstat(QFile::encodeName(journal).constData(), &st), 0) << "moved away";
        EXPECT_EQ(::lstat(QFile::encodeName(movedTo).constData(), &st), 0) << movedTo.toStdString();
        EXPECT_EQ(fileBytes(saves.file()), left);
        EXPECT_TRUE(saves.recover().isEmpty()) << "told once";

        EXPECT_EQ(saves.save("saved again\r\n"), std::nullopt);
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("saved again\r\n"));
    }
}

// A file out of reach at the start (its folder moved away, a drive not
// mounted) keeps its journal until it is back; a file removed from its
// folder was changed, and its old contents are kept aside.
TEST_F(InterruptedSavesTest, AFileOutOfReachWaitsForALaterStart)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    const QString away = saves.folder() + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(saves.folder(), away));

    QStringList told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("无法检查"))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(saves.file())) << told[0].toStdString();
    EXPECT_EQ(saves.dataFiles().size(), 1) << "the journal waits";

    ASSERT_TRUE(QDir().rename(away, saves.folder()));
    told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));

    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    setMode(saves.folder(), 0755);
    ASSERT_TRUE(QFile::remove(saves.file()));
    setMode(saves.folder(), InPlaceSaves::asRoot() ? 0755 : 0555);
    told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("未予恢复"))) << told[0].toStdString();
    const QStringList kept = saves.dataFiles();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(fileBytes(kept[0]), QByteArray("old contents\r\n"));
}

// A start with one call failing once (see failing_calls.h).
QStringList recoverWithOneFailing(const InPlaceSaves& saves, OneFailingCall::Call call,
                                  const QByteArray& pathEnd, int error)
{
    OneFailingCall failing(call, pathEnd, error);
    const textio::ScopedFileCalls inForce(failing);
    const QStringList told = saves.recover();
    EXPECT_TRUE(failing.failed());
    return told;
}

// One passing error while the start looks at the file or its journal (a
// read error, too many open files, no memory, a signal) decides nothing:
// the file stays as its save left it, the journal waits, and the next
// start restores it.
TEST_F(InterruptedSavesTest, APassingErrorAtTheStartLeavesTheJournalWaiting)
{
    using Call = OneFailingCall::Call;
    struct Row {
        const char* name;
        Call call;
        QByteArray pathEnd;
        int error;
    };
    const Row rows[] = {
        {"the file's status", Call::Status, "/storm_out.txt", EIO},
        {"the file's status, no memory", Call::Status, "/storm_out.txt", ENOMEM},
        {"the file's opening", Call::Open, "/storm_out.txt", EMFILE},
        {"the file's read", Call::Read, "/storm_out.txt", EIO},
        {"the file's lock", Call::Lock, "/storm_out.txt", EINTR},
        {"the journal's opening", Call::Open, ".journal", ENOMEM},
        {"the journal's status", Call::Status, ".journal", EIO},
        {"the journal's read", Call::Read, ".journal", EIO},
        {"the journal's lock", Call::Lock, ".journal", EINTR},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
        const QByteArray left = fileBytes(saves.file());
        QStringList told = recoverWithOneFailing(saves, row.call, row.pathEnd, row.error);
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("下次启动时将再次检查"))) << told[0].toStdString();
        EXPECT_EQ(fileBytes(saves.file()), left);
        EXPECT_EQ(saves.dataFiles().size(), 1) << "the journal waits: " << joined(saves.dataFiles()).toStdString();

        told = saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
    }
}

// A copy of the old contents counts as kept only once its name is on the
// disk: where the data folder's flush fails, the journal stays, and the
// next start finds the copy whole and names it.
TEST_F(InterruptedSavesTest, ACopyWhoseNameIsNotFlushedKeepsItsJournal)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    putBytes(saves.file(), "another program's\r\n");
    QStringList told =
        recoverWithOneFailing(saves, OneFailingCall::Call::Sync, QFile::encodeName(textio::dataFolder()), EIO);
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("仍保留在程序的保存记录中"))) << told[0].toStdString();
    EXPECT_EQ(saves.dataFiles().filter(QStringLiteral(".journal")).size(), 1) << joined(saves.dataFiles()).toStdString();

    told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    const QStringList kept = saves.dataFiles();
    ASSERT_EQ(kept.size(), 1) << joined(kept).toStdString();
    EXPECT_TRUE(told[0].contains(kept[0])) << told[0].toStdString();
    EXPECT_EQ(fileBytes(kept[0]), QByteArray("old contents\r\n"));
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("another program's\r\n"));
}

// The data folder and its journals are the user's alone, whatever the
// umask: no other user can read the names saved or plant a journal.
TEST_F(InterruptedSavesTest, TheDataFolderIsPrivateWhateverTheUmask)
{
    const mode_t before = ::umask(0);
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    putBytes(saves.file(), "another program's\r\n");
    // Folders an earlier version left open to others are made private at
    // the start.
    {
        const InPlaceSaves::AsTheEngineer engineer;
        setMode(textio::dataFolder(), 0755);
        setMode(saves.journals(), 0777);
    }
    const QStringList told = saves.recover();
    ::umask(before);
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    const QString data = textio::dataFolder();
    for (const QString& folder : {data, data + QStringLiteral("/saves")}) {
        SCOPED_TRACE(folder.toStdString());
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    const QStringList kept = saves.dataFiles();
    ASSERT_EQ(kept.size(), 1);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(kept[0]).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// A journal is the user's to read and write whatever the umask: under one
// that leaves the owner only reading, the next start still opens the
// journal of a save killed part-way and puts the file right.
TEST_F(InterruptedSavesTest, AJournalIsTheUsersToWriteWhateverTheUmask)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    const mode_t before = ::umask(0277);
    const std::optional<QString> killed = saves.save("new contents\r\n", WriteFault::ProgramKilled, 4);
    ::umask(before);
    ASSERT_TRUE(killed.has_value());
    const QStringList told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
    EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
}

// While a save holds the file's lock, a start leaves its journal to it.
TEST_F(InterruptedSavesTest, AJournalOfAFileASaveHoldsIsLeftToIt)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    const QByteArray left = fileBytes(saves.file());
    const int running = ::open(QFile::encodeName(saves.file()).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    const QStringList whileHeld = saves.recover();
    const QByteArray heldBytes = fileBytes(saves.file());
    ::close(running);
    EXPECT_TRUE(whileHeld.isEmpty()) << joined(whileHeld).toStdString();
    EXPECT_EQ(heldBytes, left);
    EXPECT_EQ(saves.dataFiles().size(), 1);
    EXPECT_EQ(saves.recover().size(), 1);
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
}

// A journal another start settles between this start's look and its lock is
// not settled twice: the file saved since stays as it is, untold.
TEST_F(InterruptedSavesTest, AJournalSettledMeanwhileIsLeftAlone)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    QStringList toldByTheOther;
    std::optional<QString> savedMeanwhile = QStringLiteral("not saved");
    QStringList told;
    {
        const textio::ScopedSaveStep step(textio::SaveStep::JournalOpened, [&] {
            toldByTheOther = textio::recoverInterruptedSaves();
            savedMeanwhile = textio::replaceFileContents(saves.file(), "saved meanwhile\r\n");
        });
        told = saves.recover();
    }
    EXPECT_EQ(toldByTheOther.size(), 1) << joined(toldByTheOther).toStdString();
    EXPECT_EQ(savedMeanwhile, std::nullopt);
    EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("saved meanwhile\r\n"));
    EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
}

// On a file system that takes no lock (a share whose lock service does not
// answer) a save still works and leaves nothing behind; a temporary file
// the clean-up cannot show unused stays; a file written in place is
// refused with a message naming it.
TEST_F(InterruptedSavesTest, WhereNoLockIsTakenSavesStillWork)
{
    const QString file = dir_.filePath(QStringLiteral("storm_out.txt"));
    {
        const textio::ScopedWriteFault noLocks(WriteFault::NoLocks);
        EXPECT_EQ(textio::writeCp936Lines(file, {QStringLiteral("雨水")}), std::nullopt);
        EXPECT_EQ(textio::writeCp936Lines(file, {QStringLiteral("12345")}), std::nullopt);
    }
    EXPECT_EQ(fileBytes(file), QByteArray("12345\r\n"));
    EXPECT_EQ(entriesOf(dir_.path()), QStringList{QStringLiteral("storm_out.txt")});

    {
        const textio::ScopedWriteFault killed(WriteFault::ProgramKilled, 2);
        ASSERT_TRUE(textio::writeCp936Lines(file, {QStringLiteral("part")}));
    }
    const QStringList withLeft = entriesOf(dir_.path());
    ASSERT_EQ(withLeft.size(), 2);
    {
        const textio::ScopedWriteFault noLocks(WriteFault::NoLocks);
        EXPECT_EQ(textio::writeCp936Lines(file, {QStringLiteral("67890")}), std::nullopt);
    }
    EXPECT_EQ(fileBytes(file), QByteArray("67890\r\n"));
    EXPECT_EQ(entriesOf(dir_.path()), withLeft);

    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    const InPlaceSaves::AsTheEngineer engineer;
    const textio::ScopedWriteFault noLocks(WriteFault::NoLocks);
    const std::optional<QString> refused = textio::replaceFileContents(saves.file(), "new\r\n");
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(saves.file())) << refused->toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
    EXPECT_TRUE(saves.dataFiles().isEmpty());
}

// A save that reports success stays saved: where its journal cannot be
// removed (the journals' folder made unwritable while the file was
// written), the journal is marked done first, and no start takes the new
// contents back, whether the folder stays so or is writable again.
TEST_F(InterruptedSavesTest, ASaveThatReportsSuccessStaysSaved)
{
    struct Row {
        const char* name;
        bool writableAgainBeforeTheStart;
    };
    const Row rows[] = {
        {"the journals' folder writable again before the next start", true},
        {"the journals' folder still unwritable at the next start", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        std::optional<QString> saved = QStringLiteral("not saved");
        {
            const textio::ScopedSaveStep step(textio::SaveStep::FileWritten,
                                              [&] { setMode(saves.journals(), 0500); });
            saved = saves.save("new contents\r\n");
        }
        EXPECT_EQ(saved, std::nullopt);
        if (row.writableAgainBeforeTheStart) {
            const InPlaceSaves::AsTheEngineer engineer;
            setMode(saves.journals(), 0700);
        }
        QStringList told = saves.recover();
        EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("new contents\r\n"));
        {
            const InPlaceSaves::AsTheEngineer engineer;
            setMode(saves.journals(), 0700);
        }
        told = saves.recover();
        EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("new contents\r\n"));
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
    }
}

// A file is the one its journal recorded by its inode on its file system:
// a drive that comes back under another device number is still that file
// system; where neither the device nor the file system tells, the contents
// alone decide.
TEST(InterruptedSaveDecision, AFileIsKnownByItsInodeOnItsFileSystem)
{
    JournalRecord recorded;
    recorded.device = 0x0701;
    recorded.inode = 12;
    recorded.fileSystem = 0xabcdef;
    struct Row {
        const char* name;
        quint64 device;
        quint64 inode;
        quint64 fileSystem;
        textio::Sameness is;
    };
    using S = textio::Sameness;
    const Row rows[] = {
        {"the same device and inode", 0x0701, 12, 0xabcdef, S::Same},
        {"another inode on the same device", 0x0701, 13, 0xabcdef, S::Other},
        {"the drive back under another device", 0x0702, 12, 0xabcdef, S::Same},
        {"another inode on the drive back under another device", 0x0702, 13, 0xabcdef, S::Other},
        {"another device and file system", 0x0702, 12, 0x123456, S::Unknown},
        {"another device, no file system told", 0x0702, 12, 0, S::Unknown},
        {"the same device, no file system told", 0x0701, 12, 0, S::Same},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(textio::sameAsRecorded(row.device, row.inode, {row.fileSystem, 0}, recorded), row.is);
    }
}

// Another file at the file's name since its save died (a new file put in
// its place, or a link, holding exactly what the save left) is never
// written over: the old contents are kept aside and the engineer told.
TEST_F(InterruptedSavesTest, AnotherFileAtItsNameIsNeverRestoredOver)
{
    struct Row {
        const char* name;
        bool link;
    };
    const Row rows[] = {{"a new file", false}, {"a link to a file", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(old200);
        ASSERT_TRUE(saves.save(new100, WriteFault::ProgramKilled, 100));
        const QByteArray left = fileBytes(saves.file());
        const QString elsewhere = dir_.filePath(QStringLiteral("elsewhere.txt"));
        putBytes(elsewhere, left);
        setMode(saves.folder(), 0755);
        if (row.link) {
            ASSERT_TRUE(QFile::remove(saves.file()));
            ASSERT_TRUE(QFile::link(elsewhere, saves.file()));
        } else {
            // Written beside it and renamed over it, as editors save.
            ASSERT_EQ(::rename(QFile::encodeName(elsewhere).constData(), QFile::encodeName(saves.file()).constData()), 0);
        }
        setMode(saves.folder(), InPlaceSaves::asRoot() ? 0755 : 0555);

        const QStringList told = saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("未予恢复"))) << told[0].toStdString();
        EXPECT_EQ(fileBytes(saves.file()), left);
        const QStringList kept = saves.dataFiles();
        ASSERT_EQ(kept.size(), 1) << joined(kept).toStdString();
        EXPECT_EQ(fileBytes(kept[0]), old200);
        QFile::remove(elsewhere);
    }
}

// The journals' folder is used only when it is a folder of the user's
// alone: a link there (to another folder of his), a file, or another
// user's folder is never followed. The start tells once what it found,
// and an in-place save is refused naming the file.
TEST_F(InterruptedSavesTest, TheJournalsFolderIsUsedOnlyWhenItIsTheUsersAlone)
{
    struct Row {
        const char* name;
        std::function<void(const QString& journals, const QString& elsewhere)> make;
        const char* found;
        bool needsRoot = false;
        bool startedByRoot = false;  // root started with the engineer's data folder
    };
    const Row rows[] = {
        {"a link to another folder of the user's",
         [](const QString& journals, const QString& elsewhere) {
             EXPECT_TRUE(QFile::link(elsewhere, journals));
         },
         "是一个链接"},
        {"a plain file", [](const QString& journals, const QString&) { putBytes(journals, "x"); }, "不是文件夹"},
        {"the engineer's folder, found by root started with his home",
         [](const QString& journals, const QString&) {
             EXPECT_TRUE(QDir().mkpath(journals));
             EXPECT_EQ(::chown(QFile::encodeName(journals).constData(), InPlaceSaves::kEngineer,
                               InPlaceSaves::kEngineer), 0);
             setMode(journals, 0700);
         },
         "不属于当前用户", true, true},
        {"another user's folder the engineer may write",
         [](const QString& journals, const QString&) {
             EXPECT_TRUE(QDir().mkpath(journals));
             setMode(journals, 0777);
         },
         "不属于当前用户", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.needsRoot && !InPlaceSaves::asRoot())
            continue;
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        // Another folder of the user's, with what would pass for journals.
        const QString elsewhere = saves.data() + QStringLiteral("/elsewhere");
        {
            const InPlaceSaves::AsTheEngineer engineer;
            ASSERT_TRUE(QDir().mkpath(elsewhere));
            setMode(elsewhere, 0755);
            putBytes(elsewhere + QStringLiteral("/a.journal.part"), "part");
            putBytes(elsewhere + QStringLiteral("/b.journal"), "journal");
            ASSERT_TRUE(QDir().mkpath(textio::dataFolder()));
        }
        row.make(saves.journals(), elsewhere);
        const QStringList before = saves.dataFiles();

        const QStringList told = row.startedByRoot ? textio::recoverInterruptedSaves() : saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(saves.journals())) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(QString::fromUtf8(row.found))) << told[0].toStdString();
        EXPECT_EQ(saves.dataFiles(), before);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(elsewhere).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);

        if (row.startedByRoot)
            continue;
        const std::optional<QString> refused = saves.save("new contents\r\n");
        ASSERT_TRUE(refused.has_value());
        EXPECT_TRUE(refused->contains(QStringLiteral("无法保存文件“%1”").arg(saves.file()))) << refused->toStdString();
        EXPECT_TRUE(refused->contains(QString::fromUtf8(row.found))) << refused->toStdString();
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
        EXPECT_EQ(saves.dataFiles(), before);
    }
}

// Only a lock another program holds means a running save. Where locks
// fail for another reason (a home whose lock service does not answer), the
// start tells so naming the file, the journal waits, and a save of the file
// gives that reason; once locks work the file is put right.
TEST_F(InterruptedSavesTest, ALockThatFailsIsToldNotTakenForARunningSave)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    const QByteArray left = fileBytes(saves.file());

    const QStringList told = saves.recover(WriteFault::NoLocks);
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("“%1”").arg(saves.file()))) << told[0].toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("无法锁定"))) << told[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), left);
    EXPECT_EQ(saves.dataFiles().size(), 1) << "the journal waits";

    const std::optional<QString> refused = saves.save("again\r\n", WriteFault::NoLocks);
    ASSERT_TRUE(refused.has_value());
    EXPECT_TRUE(refused->contains(QStringLiteral("无法锁定"))) << refused->toStdString();
    EXPECT_FALSE(refused->contains(QStringLiteral("另一个程序正在保存"))) << refused->toStdString();
    EXPECT_EQ(fileBytes(saves.file()), left);

    const QStringList later = saves.recover();
    ASSERT_EQ(later.size(), 1) << joined(later).toStdString();
    EXPECT_TRUE(later[0].contains(QStringLiteral("已恢复为保存前的内容"))) << later[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
}

// A start that looks while a save is making its journal never takes it for
// one a dead save left: the save goes through, written unnamed or, on a
// file system that makes no unnamed file, under a part name.
TEST_F(InterruptedSavesTest, AStartNeverTakesTheJournalOfASaveUnderWay)
{
    struct Row {
        const char* name;
        std::optional<WriteFault> fault;
    };
    const Row rows[] = {
        {"written unnamed", std::nullopt},
        {"written under a part name", WriteFault::NoUnnamedFiles},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        QStringList toldMeanwhile{QStringLiteral("no start")};
        std::optional<QString> saved = QStringLiteral("not saved");
        {
            const textio::ScopedSaveStep step(textio::SaveStep::JournalCreated,
                                              [&] { toldMeanwhile = textio::recoverInterruptedSaves(); });
            saved = saves.save("new contents\r\n", row.fault);
        }
        EXPECT_TRUE(toldMeanwhile.isEmpty()) << joined(toldMeanwhile).toStdString();
        EXPECT_EQ(saved, std::nullopt);
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("new contents\r\n"));
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
    }
}

// Parts of journals and of copies of old contents that a save or a start
// which died left half written are removed at the next start; a part a
// running save holds stays.
TEST_F(InterruptedSavesTest, PartsADeadSaveOrStartLeftAreRemovedAtTheStart)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_EQ(saves.save("new contents\r\n"), std::nullopt);  // makes the folders
    const QString journalPart = saves.journals() + QStringLiteral("/storm_out.txt.0123abcd.journal.part");
    const QString copyPart = textio::dataFolder() + QStringLiteral("/storm_out.txt.20261209-101010.old.part");
    const QString heldPart = saves.journals() + QStringLiteral("/report.txt.4567cdef.journal.part");
    {
        const InPlaceSaves::AsTheEngineer engineer;
        for (const QString& part : {journalPart, copyPart, heldPart})
            putBytes(part, "half written");
        setMode(journalPart, 0600);
        setMode(copyPart, 0600);
        setMode(heldPart, 0600);
    }
    const int held = ::open(QFile::encodeName(heldPart).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const QStringList told = saves.recover();
    ::close(held);
    EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
    EXPECT_EQ(saves.dataFiles(), QStringList{heldPart});
}

// A start whose restore fails again and again keeps one copy of the old
// contents for the journal, not one a start; where no copy can be written
// the engineer is told that the program still holds the old contents (no
// binary journal named as where they are), and a later start keeps them.
TEST_F(InterruptedSavesTest, OneCopyOfTheOldContentsForEachJournal)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    for (int start = 0; start < 3; ++start) {
        SCOPED_TRACE(start);
        const QStringList told = saves.recover(WriteFault::DeviceError, 2);
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("无法恢复该文件"))) << told[0].toStdString();
        EXPECT_EQ(saves.dataFiles().size(), 2) << joined(saves.dataFiles()).toStdString();
    }
    EXPECT_EQ(saves.recover().size(), 1);
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));

    // The file changed since, and the data folder takes no copy.
    ASSERT_EQ(saves.save("second contents\r\n"), std::nullopt);
    ASSERT_TRUE(saves.save("third contents\r\n", WriteFault::ProgramKilled, 4));
    putBytes(saves.file(), "another program's\r\n");
    const QStringList copies = saves.dataFiles().filter(QStringLiteral(".old"));
    {
        const InPlaceSaves::AsTheEngineer engineer;
        setMode(textio::dataFolder(), 0500);
    }
    const QStringList told = saves.recover();
    {
        const InPlaceSaves::AsTheEngineer engineer;
        setMode(textio::dataFolder(), 0700);
    }
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("仍保留在程序的保存记录中"))) << told[0].toStdString();
    EXPECT_FALSE(told[0].contains(QStringLiteral(".journal"))) << told[0].toStdString();
    EXPECT_EQ(saves.dataFiles().filter(QStringLiteral(".old")), copies);

    const QStringList later = saves.recover();
    ASSERT_EQ(later.size(), 1) << joined(later).toStdString();
    const QStringList kept = saves.dataFiles().filter(QStringLiteral(".old"));
    ASSERT_EQ(kept.size(), copies.size() + 1) << joined(kept).toStdString();
    for (const QString& copy : kept) {
        if (!copies.contains(copy)) {
            EXPECT_TRUE(later[0].contains(copy)) << later[0].toStdString();
            EXPECT_EQ(fileBytes(copy), QByteArray("second contents\r\n"));
        }
    }
    EXPECT_EQ(fileBytes(saves.file()), QByteArray("another program's\r\n"));
}

// While alive, the process runs in the time zone `zone` (a POSIX TZ).
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (had_)
            ::setenv("TZ", before_.constData(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    const bool had_ = qEnvironmentVariableIsSet("TZ");
    const QByteArray before_ = qgetenv("TZ");
};

// The copy of the old contents is named after the save's start in UTC: a
// start in another time zone finds the copy an earlier one made.
TEST_F(InterruptedSavesTest, OneCopyWhateverTheTimeZoneOfTheStart)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    for (const char* zone : {"UTC0", "CST-8", "EST5"}) {
        SCOPED_TRACE(zone);
        const ScopedTimeZone inZone(zone);
        const QStringList told = saves.recover(WriteFault::DeviceError, 2);
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("无法恢复该文件"))) << told[0].toStdString();
        EXPECT_EQ(saves.dataFiles().size(), 2) << joined(saves.dataFiles()).toStdString();
    }
}

// Runs `run` in a child process whose address space is limited to 1 GB:
// true when it returned true (not when it ran out of memory or died).
bool inAChildUnder1GB(const std::function<bool()>& run)
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = rlim_t{1} << 30;
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(run() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Makes the file at `path` `size` bytes long, sparse: no room on the disk
// taken.
void resizeSparse(const QString& path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(size));
}

// A file in the journals' folder larger than any save makes is never read
// (a start under a 1 GB address space limit goes on): it is kept aside as
// unusable.
TEST_F(InterruptedSavesTest, AJournalLargerThanAnySaveMakesIsNotRead)
{
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_EQ(saves.save("new contents\r\n"), std::nullopt);  // makes the folders
    const QString huge = saves.journals() + QStringLiteral("/storm_out.txt.0123abcd.journal");
    {
        const InPlaceSaves::AsTheEngineer engineer;
        resizeSparse(huge, qint64{3} << 30);
        setMode(huge, 0600);
    }
    EXPECT_TRUE(inAChildUnder1GB([&] {
        const QStringList told = saves.recover();
        return told.size() == 1 && told[0].contains(QStringLiteral("无法使用"));
    }));
    EXPECT_FALSE(QFileInfo::exists(huge));
    EXPECT_EQ(saves.dataFiles().size(), 1) << joined(saves.dataFiles()).toStdString();
}

// No file size ends a save or a start: a file, or new contents, larger
// than a journal keeps is refused before anything is read, saying which;
// at the start, a file of neither length its save left is changed since,
// told from its size alone (a start under a 1 GB address space limit goes
// on).
TEST_F(InterruptedSavesTest, NoFileSizeEndsASaveOrAStart)
{
    constexpr qint64 k40GB = qint64{40} << 30;
    {
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        resizeSparse(saves.file(), k40GB);
        EXPECT_TRUE(inAChildUnder1GB([&] {
            const std::optional<QString> refused = saves.save("new contents\r\n");
            return refused && refused->contains(QStringLiteral("所在文件夹不能写入，而该文件过大"));
        }));
        EXPECT_EQ(QFileInfo(saves.file()).size(), k40GB);
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
    }
    {
        const InPlaceSaves saves(dir_.path());
        saves.plant("old contents\r\n");
        // New contents one byte too large, in pages never touched.
        const qsizetype size = textio::kMaxJournalledContents + 1;
        void* pages = ::mmap(nullptr, std::size_t(size), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(pages, MAP_FAILED);
        const std::optional<QString> refused =
            saves.save(QByteArray::fromRawData(static_cast<const char*>(pages), size));
        ::munmap(pages, std::size_t(size));
        ASSERT_TRUE(refused.has_value());
        EXPECT_TRUE(refused->contains(QStringLiteral("而要保存的内容过大"))) << refused->toStdString();
        EXPECT_EQ(fileBytes(saves.file()), QByteArray("old contents\r\n"));
    }
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    resizeSparse(saves.file(), k40GB);
    EXPECT_TRUE(inAChildUnder1GB([&] {
        const QStringList told = saves.recover();
        return told.size() == 1 && told[0].contains(QStringLiteral("此后该文件已被改动，未予恢复"));
    }));
    EXPECT_EQ(QFileInfo(saves.file()).size(), k40GB);
    const QStringList kept = saves.dataFiles();
    ASSERT_EQ(kept.size(), 1) << joined(kept).toStdString();
    EXPECT_EQ(fileBytes(kept[0]), QByteArray("old contents\r\n"));
}

// A drive that comes back under another device number (a USB drive
// plugged in again; here an image mounted through another loop device) is
// the same file system: a file its save left half written is put right.
TEST_F(InterruptedSavesTest, AFileOnADriveBackUnderAnotherDeviceIsPutRight)
{
    const QString image = dir_.filePath(QStringLiteral("drive.img"));
    const QString mountPoint = dir_.filePath(QStringLiteral("drive"));
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    setMode(dir_.path(), 0755);
    const auto output = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished() && process.exitCode() == 0
            ? QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed()
            : QString();
    };
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(4 << 20));
    }
    // Two loop devices on the image: the drive as first plugged in, and
    // again.
    QStringList loops;
    if (InPlaceSaves::asRoot() && output(QStringLiteral("mkfs.ext2"), {QStringLiteral("-q"), image}).isEmpty()) {
        for (int n = 0; n < 2; ++n)
            loops << output(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image});
    }
    struct Detach {
        QStringList loops;
        ~Detach()
        {
            for (const QString& loop : loops)
                QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), loop});
        }
    } detach{loops};
    const QByteArray where = QFile::encodeName(mountPoint);
    const auto mountAs = [&](int n) {
        return ::mount(QFile::encodeName(loops[n]).constData(), where.constData(), "ext2", 0, nullptr) == 0;
    };
    if (loops.size() != 2 || loops.contains(QString()) || !mountAs(0))
        GTEST_SKIP() << "mounting a drive image needs root, mkfs.ext2, loop devices and a system that allows it";
    struct Unmount {
        QByteArray where;
        ~Unmount() { ::umount(where.constData()); }
    } unmount{where};

    const InPlaceSaves saves(mountPoint);
    saves.plant(old200);
    ASSERT_TRUE(saves.save(new100, WriteFault::ProgramKilled, 100));
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(saves.file()).constData(), &before), 0);
    ASSERT_EQ(::umount(where.constData()), 0);
    ASSERT_TRUE(mountAs(1));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(saves.file()).constData(), &after), 0);
    ASSERT_NE(after.st_dev, before.st_dev);

    const QStringList told = saves.recover();
    ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
    EXPECT_EQ(fileBytes(saves.file()), old200);
    EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
}

// ------------------------------------------------------------ faults in the journal's own calls

using textio::testing::CallKind;
using textio::testing::KeepAll;
using textio::testing::KeepFlushedOnly;
using textio::testing::PowerCut;
using textio::testing::SimulatedDisk;

// How long a fault in a run lasts.
enum class Lasting {
    Once,         // the one call fails
    FromThereOn,  // every call of its kind from it on fails
};

// A call of a save or a start that fails: the nth of its kind (from 1) as
// the run makes it, in the place the faults before it leave it.
struct Fault {
    CallKind kind;
    int nth;
    Lasting lasting = Lasting::Once;
    int error = EIO;
};

// An engineer's file, "/shared/storm_out.txt", on a simulated disk with his
// data folder: saves and starts run on it, with chosen calls failing.
class OnASimulatedDisk {
public:
    static constexpr const char* kFile = "/shared/storm_out.txt";

    explicit OnASimulatedDisk(const QByteArray& old)
    {
        qputenv("XDG_DATA_HOME", "/home/engineer/.local/share");
        disk_.makeFolders("/shared", 0755);
        disk_.makeFolders("/home/engineer/.local/share", 0700);
        disk_.writeFile(kFile, old, 0640);
    }
    ~OnASimulatedDisk() { qputenv("XDG_DATA_HOME", dataHome_); }
    OnASimulatedDisk(const OnASimulatedDisk&) = delete;
    OnASimulatedDisk& operator=(const OnASimulatedDisk&) = delete;

    SimulatedDisk& disk() { return disk_; }
    QByteArray file() const { return disk_.contents(kFile).value_or("<none>"); }
    // The files in the data folder, below it too, by their whole paths.
    QStringList dataFiles() const
    {
        QStringList files;
        const QByteArray data = QFile::encodeName(textio::dataFolder());
        for (const QByteArray& folder : {data, data + "/saves"}) {
            if (!disk_.exists(folder))
                continue;
            for (const QByteArray& name : disk_.list(folder)) {
                if (disk_.contents(folder + '/' + name))
                    files << QFile::decodeName(folder + '/' + name);
            }
        }
        files.sort();
        return files;
    }

    // Saves `bytes` in place with the faults in force; `meanwhile`, where
    // given, is what another program does once the file is written.
    std::optional<QString> save(const QByteArray& bytes, const std::vector<Fault>& faults = {},
                                const std::function<void()>& meanwhile = {})
    {
        const auto run = [&] { return textio::saveInPlace(QString::fromLatin1(kFile), bytes); };
        putFaults(faults, [&] { run(); });
        const textio::ScopedFileCalls inForce(disk_);
        if (!meanwhile)
            return run();
        const textio::ScopedSaveStep step(textio::SaveStep::FileWritten, meanwhile);
        return run();
    }
    // Starts the program with the faults in force.
    QStringList start(const std::vector<Fault>& faults = {})
    {
        putFaults(faults, [] { textio::recoverInterruptedSaves(); });
        const textio::ScopedFileCalls inForce(disk_);
        return textio::recoverInterruptedSaves();
    }
    // The disk as a cut of the power (or the program's end, KeepAll) leaves
    // it: no call made, no fault put yet.
    void cut(PowerCut mode) { disk_ = disk_.powerCut(mode); }

private:
    // Puts the faults on the disk for `run`: one that fails once on the
    // call a trial run on a copy of the disk, with the faults before it,
    // finds.
    void putFaults(const std::vector<Fault>& faults, const std::function<void()>& run)
    {
        std::vector<std::pair<int, int>> once;  // the call's number, the error
        const auto put = [&](SimulatedDisk& on, std::size_t before) {
            for (std::size_t i = 0; i < before; ++i) {
                if (faults[i].lasting == Lasting::FromThereOn)
                    on.failCalls(faults[i].kind, faults[i].nth, faults[i].error);
            }
            for (const auto& [number, error] : once)
                on.failCall(number, error);
        };
        for (std::size_t i = 0; i < faults.size(); ++i) {
            if (faults[i].lasting == Lasting::FromThereOn)
                continue;
            SimulatedDisk trial = disk_.powerCut(KeepAll);
            put(trial, i);
            {
                const textio::ScopedFileCalls inForce(trial);
                run();
            }
            int seen = 0;
            int number = 0;
            for (const textio::testing::SimulatedCall& call : trial.calls()) {
                if (call.kind == faults[i].kind && ++seen == faults[i].nth) {
                    number = call.number;
                    break;
                }
            }
            ASSERT_GT(number, 0) << "no " << faults[i].nth << "th call of "
                                 << textio::testing::callKindName(faults[i].kind).toStdString() << " in\n"
                                 << trial.callsText().toStdString();
            once.emplace_back(number, faults[i].error);
        }
        put(disk_, faults.size());
    }

    QByteArray dataHome_ = qgetenv("XDG_DATA_HOME");
    SimulatedDisk disk_;
};

// What a failed save tells, and what the next start does with the disk it
// left, the program started again (all written kept) or after a power cut
// (only what was flushed kept).
struct AfterAStart {
    PowerCut cut;
    QStringList told;
    QByteArray file;
};

// Where the end of a save (its done mark, the journal's removal) or its
// rollback fails part-way, the save is never told ok, and its message says
// where the new and the old contents are as last verified: the journal is
// said to keep the old contents only while it is at its name, flushed, in
// a state that makes the next start restore; a copy is named only when it
// is whole under its name; where the journal cannot be verified, that the
// next start may restore the file or leave it. The next start, whatever the
// disk kept, never contradicts it.
TEST(JournalFaults, AFailedSaveSaysOnlyWhatTheNextStartKeepsTo)
{
    const QByteArray old = "old contents\r\n";
    const QByteArray written = "new contents\r\n";
    const QString failed = QStringLiteral("写入文件“/shared/storm_out.txt”失败：磁盘读写错误");
    const QString undecided = QStringLiteral("；该文件现为新内容，但无法确认其保存记录的状态，下次启动时可能将其恢复为保存前的内容，也可能保持现状");
    const QString restored = QStringLiteral("上次保存文件“/shared/storm_out.txt”未能完成，该文件已恢复为保存前的内容。");
    const QStringList none;
    // The calls of a save of a file this size, by their kind and place:
    // the journal's flush is the 1st data flush, the file's the 2nd, the
    // done mark's the 3rd, a rollback's restoring mark the 4th; the mark's
    // write is the 8th write (six for the journal, one for the file); the
    // journals' new folder is flushed by the 1st folder flush, the
    // journal's name by the 2nd, its removal by the 3rd; the copy's name is made by the 2nd link of an unnamed file; the
    // file is read back by the 3rd read.
    const Fault markWritten{CallKind::Write, 8};
    const Fault markFlushed{CallKind::SyncData, 3};
    const Fault removed{CallKind::Unlink, 1};
    const Fault removalFlushed{CallKind::Sync, 3};
    const Fault restoringMarkFlushed{CallKind::SyncData, 4};
    const Fault copyNamed{CallKind::LinkOpen, 2};
    const Fault readBack{CallKind::Read, 3};
    struct Row {
        const char* name;
        std::vector<Fault> faults;
        QString told;  // "%1": the copy of the old contents
        AfterAStart restarted;
        AfterAStart powerCut;
    };
    const Row rows[] = {
        {"the done mark's write and the journal's removal fail: rolled back",
         {markWritten, removed},
         failed,
         {KeepAll, none, old},
         {KeepFlushedOnly, none, old}},
        {"the done mark's flush and the journal's removal fail: rolled back",
         {markFlushed, removed},
         failed,
         {KeepAll, none, old},
         {KeepFlushedOnly, none, old}},
        {"the done mark's flush and the removal's flush fail: the journal unknown, a copy kept",
         {markFlushed, removalFlushed},
         failed + undecided + QStringLiteral("；原内容另存在“%1”"),
         {KeepAll, none, written},
         {KeepFlushedOnly, {restored}, old}},
        {"every flush from the done mark's on fails: the journal unknown, no copy",
         {{CallKind::SyncData, 3, Lasting::FromThereOn}, {CallKind::Sync, 3, Lasting::FromThereOn}},
         failed + undecided + QStringLiteral("；原内容无法另存为文件，只可能仍在该保存记录中"),
         {KeepAll, none, written},
         {KeepFlushedOnly, {restored}, old}},
        {"the journal not marked restoring again after its end failed: a copy kept",
         {markFlushed, removed, restoringMarkFlushed},
         failed + undecided + QStringLiteral("；原内容另存在“%1”"),
         {KeepAll, {restored}, old},
         {KeepFlushedOnly, {restored}, old}},
        {"the copy's name cannot be made: no copy named",
         {markFlushed, removed, restoringMarkFlushed, copyNamed},
         failed + undecided + QStringLiteral("；原内容无法另存为文件，只可能仍在该保存记录中"),
         {KeepAll, {restored}, old},
         {KeepFlushedOnly, {restored}, old}},
        {"the file cannot be read back after the end failed: the journal restores",
         {markFlushed, removed, readBack},
         failed + QStringLiteral("；该文件现在无法读回，原内容仍保留在程序的保存记录中，下次启动时将再次检查并恢复"),
         {KeepAll, {restored}, old},
         {KeepFlushedOnly, {restored}, old}},
        {"the journal's name cannot be flushed: the file untouched, the journal retired",
         {{CallKind::Sync, 2}},
         QStringLiteral("无法保存文件“/shared/storm_out.txt”：所在文件夹不能写入，数据文件夹中也无法保存原内容的副本（磁盘读写错误）"),
         {KeepAll, none, old},
         {KeepFlushedOnly, none, old}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const AfterAStart& start : {row.restarted, row.powerCut}) {
            SCOPED_TRACE(start.cut.keep == PowerCut::Keep::All ? "started again" : "after a power cut");
            OnASimulatedDisk on(old);
            const std::optional<QString> told = on.save(written, row.faults);
            const QStringList copies = on.dataFiles().filter(QStringLiteral(".old"));
            ASSERT_LE(copies.size(), 1) << joined(copies).toStdString();
            const QString expected = row.told.contains(QStringLiteral("%1"))
                ? row.told.arg(copies.value(0, QStringLiteral("<no copy>")))
                : row.told;
            EXPECT_EQ(told, expected) << on.disk().callsText().toStdString();
            for (const QString& copy : copies)
                EXPECT_EQ(on.disk().contents(QFile::encodeName(copy)), old);

            on.cut(start.cut);
            EXPECT_EQ(on.start(), start.told);
            EXPECT_EQ(on.file(), start.file);
            // Nothing is left for a later start to change; the copy stays.
            EXPECT_EQ(on.dataFiles(), on.dataFiles().filter(QStringLiteral(".old")));
            EXPECT_EQ(on.dataFiles().size(), copies.size()) << joined(on.dataFiles()).toStdString();
        }
    }
}

// A file another program wrote while its save ran, whose save then failed
// and whose old contents could not be kept aside, is never said to be
// restored at the next start: the start leaves it as it is, and tries the
// copy again.
TEST(JournalFaults, AFileChangedDuringAFailedSaveIsNotPromisedBack)
{
    const QByteArray old = "old contents\r\n";
    OnASimulatedDisk on(old);
    // The done mark's write (the 8th) and every removal fail; the journal
    // is marked restoring again (the 9th write), the copy's write (the
    // 10th) and every one after it fail.
    const std::optional<QString> told = on.save(
        "new contents\r\n",
        {{CallKind::Write, 8}, {CallKind::Unlink, 1, Lasting::FromThereOn},
         {CallKind::Write, 10, Lasting::FromThereOn}},
        [&] { on.disk().writeFile(OnASimulatedDisk::kFile, "another program's\r\n", 0640); });
    EXPECT_EQ(told.value_or(QString()).toStdString(),
              "写入文件“/shared/storm_out.txt”失败：磁盘读写错误；该文件已被其他程序改动，未予恢复；"
              "原内容仍保留在程序的保存记录中，下次启动时将再次尝试另存为文件");
    on.cut(KeepFlushedOnly);
    const QStringList started = on.start();
    ASSERT_EQ(started.size(), 1);
    EXPECT_TRUE(started[0].contains(QStringLiteral("此后该文件已被改动，未予恢复；保存前的原内容在“")))
        << started[0].toStdString();
    EXPECT_EQ(on.file(), QByteArray("another program's\r\n"));
}

// A journal marked done only goes, untold, whatever else fails at the
// start: its save finished.
TEST(JournalFaults, AJournalMarkedDoneGoesUntoldWhateverFails)
{
    struct Row {
        const char* name;
        std::vector<Fault> atTheStart;
    };
    const Row rows[] = {
        {"its lock cannot be taken", {{CallKind::Lock, 1, Lasting::Once, ENOLCK}}},
        {"its contents cannot be read", {{CallKind::Read, 4}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OnASimulatedDisk on("old contents\r\n");
        // Its removal failed: the save, its journal marked done, is told ok.
        ASSERT_EQ(on.save("new contents\r\n", {{CallKind::Unlink, 1}}), std::nullopt);
        ASSERT_EQ(on.dataFiles().size(), 1);
        on.cut(KeepAll);
        EXPECT_EQ(on.start(row.atTheStart), QStringList{});
        EXPECT_EQ(on.file(), QByteArray("new contents\r\n"));
        EXPECT_TRUE(on.dataFiles().isEmpty()) << joined(on.dataFiles()).toStdString();
    }
}

// Only a lock another holds means another save of the file: a save whose
// lock fails for another reason says so, and leaves the file and the data
// folder untouched.
TEST(JournalFaults, ASaveWhoseLockFailsSaysWhy)
{
    for (const int error : {ENOLCK, EIO}) {
        SCOPED_TRACE(error);
        OnASimulatedDisk on("old contents\r\n");
        EXPECT_EQ(on.save("new contents\r\n", {{CallKind::Lock, 1, Lasting::Once, error}}),
                  QStringLiteral("无法保存文件“/shared/storm_out.txt”：所在文件夹不能写入，而该文件无法锁定（%1）")
                      .arg(textio::reasonInWords(error)));
        EXPECT_EQ(on.file(), QByteArray("old contents\r\n"));
        EXPECT_TRUE(on.dataFiles().isEmpty()) << joined(on.dataFiles()).toStdString();
    }
}

} // namespace
