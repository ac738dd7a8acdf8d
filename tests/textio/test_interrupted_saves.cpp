#include "textio/save_journal.h"

#include "save_test_files.h"
#include "textio/file_handles.h"
#include "textio/textfile.h"
#include "textio/write_fault.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>

#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
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
        record.restoring = row.restoring;
        EXPECT_EQ(textio::leftBySaveOrRestore(row.now, record), row.left);
    }
}

// The journal's record, sealed, and the byte that says a restore began.
QByteArray sealed(const QByteArray& body, char state = 0)
{
    return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256) + state;
}

// A journal is read only when it is whole and exactly as written: anything
// else (cut short, a bit flipped, more or fewer bytes than its lengths say,
// even under a seal that fits) is no journal to follow.
TEST(InterruptedSaveDecision, OnlyAWholeJournalIsRead)
{
    JournalRecord record;
    record.target = QStringLiteral("/data/雨水.txt");
    record.device = 2049;
    record.inode = 131;
    record.old = "old\r\n";
    record.written = "new contents\r\n";
    const QByteArray whole = textio::encodeJournal(record);
    const QByteArray body = whole.first(whole.size() - 33);
    const auto bodyOf = [&](const std::function<void(QDataStream&)>& write) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        write(out);
        return bytes;
    };
    const QByteArray headOfRecord = bodyOf([&](QDataStream& out) {
        out << quint32(0x56544a32) << record.target << record.device << record.inode << record.old;
    });
    struct Row {
        const char* name;
        QByteArray bytes;
        bool read;
    };
    const Row rows[] = {
        {"whole", whole, true},
        {"cut short by a byte", whole.first(whole.size() - 1), false},
        {"cut to its seal", whole.first(33), false},
        {"a bit of the record flipped", withByte(whole, 40, static_cast<char>(whole[40] ^ 1)), false},
        {"a bit of the seal flipped",
         withByte(whole, whole.size() - 5, static_cast<char>(whole[whole.size() - 5] ^ 1)), false},
        {"an unknown state", sealed(body, 2), false},
        {"a byte more than the record, sealed", sealed(body + "x"), false},
        {"the new contents longer than the rest, sealed",
         sealed(headOfRecord + bodyOf([](QDataStream& out) { out << quint32(100); }) + "abc"), false},
        {"the new contents missing, sealed", sealed(headOfRecord), false},
        {"another kind of file, sealed",
         sealed(bodyOf([&](QDataStream& out) {
             out << quint32(0x56544a31) << record.target << record.device << record.inode
                 << record.old << record.written;
         })),
         false},
        {"a file without its folder, sealed",
         sealed(bodyOf([&](QDataStream& out) {
             out << quint32(0x56544a32) << QStringLiteral("storm_out.txt") << record.device
                 << record.inode << record.old << record.written;
         })),
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<JournalRecord> read = textio::decodeJournal(row.bytes);
        ASSERT_EQ(read.has_value(), row.read);
        if (read) {
            EXPECT_EQ(read->target, record.target);
            EXPECT_EQ(read->device, record.device);
            EXPECT_EQ(read->inode, record.inode);
            EXPECT_EQ(read->old, record.old);
            EXPECT_EQ(read->written, record.written);
            EXPECT_FALSE(read->restoring);
        }
    }
    EXPECT_TRUE(textio::decodeJournal(sealed(body, 1)).value_or(JournalRecord{}).restoring);
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
        bool startedByRoot = false;
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
         false},
        {"a bit flipped",
         [&](const QString& j) { rewrite(j, [](QByteArray b) { return withByte(b, 30, static_cast<char>(b[30] ^ 4)); }); },
         false},
        {"a wrong seal",
         [&](const QString& j) {
             rewrite(j, [](QByteArray b) { return withByte(b, b.size() - 2, static_cast<char>(b[b.size() - 2] ^ 1)); });
         },
         false},
        {"writable by others", [](const QString& j) { setMode(j, 0666); }, false},
        {"another user's",
         [](const QString& j) { EXPECT_EQ(::chown(QFile::encodeName(j).constData(), 0, 0), 0); }, true,
         false},
        {"another user's, found by root started with his home", [](const QString&) {}, true, true},
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

        const QStringList told = row.startedByRoot ? textio::recoverInterruptedSaves() : saves.recover();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("无法使用"))) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(journal)) << told[0].toStdString();
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

// The data folder and its journals are the user's alone, whatever the
// umask: no other user can read the names saved or plant a journal.
TEST_F(InterruptedSavesTest, TheDataFolderIsPrivateWhateverTheUmask)
{
    const mode_t before = ::umask(0);
    const InPlaceSaves saves(dir_.path());
    saves.plant("old contents\r\n");
    ASSERT_TRUE(saves.save("new contents\r\n", WriteFault::ProgramKilled, 4));
    putBytes(saves.file(), "another program's\r\n");
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

} // namespace
