// A journal belongs to its file, not to the path it was written under: a
// save settles every journal of its file whatever path named it; a file on
// another file system (whose identity lasts) is never the journal's file;
// and journals of the earlier versions are followed.
#include "simulated_disk.h"
#include "save_test_files.h"

#include "textio/file_calls.h"
#include "textio/in_place_save.h"
#include "textio/journal_files.h"
#include "textio/journal_format.h"
#include "textio/save_journal.h"
#include "textio/write_fault.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QtEndian>

#include <functional>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using textio::FileSystemInfo;
using textio::JournalRecord;
using textio::Sameness;
using textio::WriteFault;
using textio::testing::SimulatedDisk;

constexpr quint64 kExt = 0xef53;
constexpr quint64 kXfs = 0x58465342;
constexpr quint64 kVfat = 0x4d44;

QString joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n'));
}

bool anyContains(const QStringList& told, const QString& words)
{
    for (const QString& line : told) {
        if (line.contains(words))
            return true;
    }
    return false;
}

// ------------------------------------------------------------ the decision

// Where the recorded file system keeps its identity whatever device it
// comes back under, a file is the journal's only on that file system: the
// device number tells nothing (another drive may get the very number).
// Where the identity follows the device, the device or the identity tells,
// and else the contents judge.
TEST(JournalIdentity, AFileOnAnotherLastingFileSystemIsNeverTheJournals)
{
    struct Row {
        const char* name;
        quint64 recordedType;
        quint64 device;
        quint64 inode;
        FileSystemInfo fileSystem;
        Sameness is;
    };
    const Row rows[] = {
        {"the same file", kExt, 0x811, 12, {0xa1, kExt}, Sameness::Same},
        {"another file on its file system", kExt, 0x811, 13, {0xa1, kExt}, Sameness::Other},
        {"its drive back under another device", kExt, 0x812, 12, {0xa1, kExt}, Sameness::Same},
        {"another drive under the very device number", kExt, 0x811, 12, {0xb2, kExt}, Sameness::OtherFileSystem},
        {"another drive under another device", kExt, 0x812, 12, {0xb2, kExt}, Sameness::OtherFileSystem},
        {"the same identity on a file system of another kind", kExt, 0x811, 12, {0xa1, kVfat},
         Sameness::OtherFileSystem},
        {"a drive identity follows: the same device", kVfat, 0x811, 12, {0xb2, kVfat}, Sameness::Same},
        {"a drive identity follows: another device", kVfat, 0x812, 12, {0xb2, kVfat}, Sameness::Unknown},
        // xfs makes its identity from the device number.
        {"an xfs drive back under another device", kXfs, 0x812, 12, {0xb2, kXfs}, Sameness::Unknown},
        {"a kind not known (an earlier journal): another device", 0, 0x812, 12, {0xb2, kExt}, Sameness::Unknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JournalRecord recorded;
        recorded.device = 0x811;
        recorded.inode = 12;
        recorded.fileSystem = 0xa1;
        recorded.fileSystemType = row.recordedType;
        EXPECT_EQ(textio::sameAsRecorded(row.device, row.inode, row.fileSystem, recorded), row.is);
    }
}

// ------------------------------------------------------------ the format

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// A journal as the version before the sealed head wrote it: one stream of
// its fields, their seal and the state.
QByteArray oneSealJournal(const QString& target, quint64 device, quint64 inode, const QByteArray& old,
                          const QByteArray& written, char state = 0)
{
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(0x56544a32) << target << device << inode << old << written;
    }
    return body + sha256(body) + state;
}

// The journal records the file system's kind and reads it back; a journal
// of the version before is read whole only under its seal, its state
// (done included) as written.
TEST(JournalIdentity, JournalsOfThisAndTheVersionBeforeAreRead)
{
    const QString target = QStringLiteral("/data/雨水.txt");
    JournalRecord record;
    record.target = target;
    record.device = 2049;
    record.inode = 131;
    record.fileSystem = 0x1234;
    record.fileSystemType = kExt;
    record.savedAt = 1'765'000'000'000;
    record.old = "old\r\n";
    record.written = "new contents\r\n";
    const QByteArray before = oneSealJournal(target, 2049, 131, record.old, record.written);
    using K = textio::JournalReading;
    struct Row {
        const char* name;
        QByteArray bytes;
        K::Kind kind;
        textio::JournalState state = textio::JournalState::Saving;
        quint64 type = 0;
    };
    const Row rows[] = {
        {"this version's", textio::encodeJournal(record), K::Whole, textio::JournalState::Saving, kExt},
        {"the version before's, saving", before, K::Whole},
        {"the version before's, restoring", oneSealJournal(target, 2049, 131, record.old, record.written, 1), K::Whole,
         textio::JournalState::Restoring},
        {"the version before's, marked done", oneSealJournal(target, 2049, 131, record.old, record.written, 2), K::Whole,
         textio::JournalState::Done},
        {"the version before's, cut short", before.first(before.size() - 1), K::Damaged},
        {"the version before's, a byte more", before + 'x', K::Damaged},
        {"the version before's, a bit of its contents flipped",
         before.first(60) + char(before[60] ^ 1) + before.sliced(61), K::Damaged},
        {"the version before's, an unknown state", oneSealJournal(target, 2049, 131, record.old, record.written, 3), K::Damaged},
        {"the version before's, a file without its folder",
         oneSealJournal(QStringLiteral("雨水.txt"), 2049, 131, record.old, record.written), K::Damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const K read = textio::decodeJournal(row.bytes);
        ASSERT_EQ(read.kind, row.kind);
        if (row.kind != K::Whole) {
            EXPECT_EQ(read.record.target, QString()) << "a file is named only under a seal";
            continue;
        }
        EXPECT_EQ(read.record.target, target);
        EXPECT_EQ(read.record.device, record.device);
        EXPECT_EQ(read.record.inode, record.inode);
        EXPECT_EQ(read.record.fileSystemType, row.type);
        EXPECT_EQ(read.record.old, record.old);
        EXPECT_EQ(read.record.written, record.written);
        EXPECT_EQ(read.record.state, row.state);
        const K head = textio::decodeJournal(row.bytes, textio::JournalPart::Head);
        EXPECT_EQ(head.kind, K::Whole);
        EXPECT_EQ(head.record.target, target);
        EXPECT_EQ(head.record.inode, record.inode);
    }
}

// ------------------------------------------------------------ on a simulated disk

// In-place saves and starts on a simulated disk: the data folder in
// /home/eng/data, the root file system ext4 on the device 0x801.
class SimulatedSaves {
public:
    SimulatedSaves()
    {
        disk.makeFolders("/home/eng/data", 0700);
        qputenv("XDG_DATA_HOME", "/home/eng/data");
    }
    ~SimulatedSaves() { qputenv("XDG_DATA_HOME", dataHome_); }
    SimulatedSaves(const SimulatedSaves&) = delete;
    SimulatedSaves& operator=(const SimulatedSaves&) = delete;

    // Saves `bytes` in place through `path`, as a save of a file in a folder
    // that takes no new file does; killed after `killedAfter` bytes of the
    // file where given.
    std::optional<QString> save(const QByteArray& path, const QByteArray& bytes,
                                std::optional<qint64> killedAfter = std::nullopt)
    {
        const textio::ScopedFileCalls inForce(disk);
        std::optional<textio::ScopedWriteFault> fault;
        if (killedAfter)
            fault.emplace(WriteFault::ProgramKilled, *killedAfter);
        const QString target = QFile::decodeName(path);
        if (std::optional<QString> refusal = textio::settleBeforeSave(target))
            return refusal;
        return textio::saveInPlace(target, bytes);
    }
    QStringList start()
    {
        const textio::ScopedFileCalls inForce(disk);
        return textio::recoverInterruptedSaves();
    }
    // The journals and copies in the data folder.
    std::vector<QByteArray> kept() const
    {
        const QByteArray data = QFile::encodeName(textio::dataFolder());
        std::vector<QByteArray> files;
        for (const QByteArray& name : disk.list(data + "/saves"))
            files.push_back("saves/" + name);
        for (const QByteArray& name : disk.list(data)) {
            if (name != "saves")
                files.push_back(name);
        }
        return files;
    }
    QByteArray at(const QByteArray& path) const { return disk.contents(path).value_or("<no file>"); }

    SimulatedDisk disk;

private:
    QByteArray dataHome_ = qgetenv("XDG_DATA_HOME");
};

const QByteArray kOld = "old contents of the storm sewer run\r\n";
const QByteArray kNew = "NEW CONTENTS, LONGER THAN THE OLD ONES, OF THE STORM SEWER RUN\r\n";
const QByteArray kLater = "contents a later save wrote\r\n";
constexpr qint64 kKilledAfter = 10;
// What the save killed after kKilledAfter bytes left in the file.
const QByteArray kLeft = kNew.first(kKilledAfter) + kOld.sliced(kKilledAfter) + QByteArray(kNew.size() - kOld.size(), '\0');

// The engineer's drive: /media/eng/drive on the device 0x811, an ext4 file
// system of its own, holding the file.
constexpr dev_t kDriveDevice = 0x811;
constexpr FileSystemInfo kDrive{0xa1a1, kExt};
void plugInDrive(SimulatedDisk& disk)
{
    disk.makeFolders("/media/eng/drive");
    disk.writeFile("/media/eng/drive/f.txt", kOld);
    disk.makeFolders("/away");
    disk.mount("/media/eng/drive", kDriveDevice, kDrive);
}

// The file saved later through another path to it (a folder reached by a
// link, a hard link, its drive mounted at another place) is the journal's
// file: the later save settles the journal first, and no start takes its
// contents back.
TEST(JournalIdentity, ALaterSaveThroughAnotherPathIsNeverTakenBack)
{
    struct Row {
        const char* name;
        std::function<void(SimulatedDisk&)> setUp;
        QByteArray diedThrough;
        std::function<void(SimulatedDisk&)> between;  // after the save died
        QByteArray savedThrough;
        QByteArray later;
        std::function<void(SimulatedDisk&)> after;  // before the last start
        QByteArray file;
    };
    const auto plain = [](SimulatedDisk& disk) {
        disk.makeFolders("/srv/share");
        disk.writeFile("/srv/share/f.txt", kOld);
    };
    const auto linkedFolder = [&](SimulatedDisk& disk) {
        plain(disk);
        disk.makeFolders("/home/eng/links");
        disk.symlink("/srv/share", "/home/eng/links/share");
    };
    const auto hardLink = [&](SimulatedDisk& disk) {
        plain(disk);
        ASSERT_EQ(disk.link(AT_FDCWD, "/srv/share/f.txt", AT_FDCWD, "/srv/share/g.txt"), 0);
    };
    const auto nothing = [](SimulatedDisk&) {};
    const auto movedAway = [](SimulatedDisk& disk) { disk.move("/media/eng/drive", "/media/eng/other"); };
    const auto movedBack = [](SimulatedDisk& disk) { disk.move("/media/eng/other", "/media/eng/drive"); };
    const Row rows[] = {
        {"through a linked folder, the same contents again", linkedFolder, "/home/eng/links/share/f.txt", nothing,
         "/srv/share/f.txt", kNew, nothing, "/srv/share/f.txt"},
        {"through a linked folder, other contents", linkedFolder, "/home/eng/links/share/f.txt", nothing,
         "/srv/share/f.txt", kLater, nothing, "/srv/share/f.txt"},
        {"through a hard link", hardLink, "/srv/share/g.txt", nothing, "/srv/share/f.txt", kNew, nothing,
         "/srv/share/f.txt"},
        {"its drive mounted at another place, then back", plugInDrive, "/media/eng/drive/f.txt", movedAway,
         "/media/eng/other/f.txt", kNew, movedBack, "/media/eng/drive/f.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimulatedSaves saves;
        row.setUp(saves.disk);
        ASSERT_TRUE(saves.save(row.diedThrough, kNew, kKilledAfter));
        ASSERT_EQ(saves.at(row.file), kLeft);
        row.between(saves.disk);
        EXPECT_EQ(saves.save(row.savedThrough, row.later), std::nullopt);
        row.after(saves.disk);

        const QStringList told = saves.start();
        EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
        EXPECT_EQ(saves.at(row.file), row.later);
        EXPECT_TRUE(saves.kept().empty()) << saves.kept().front().constData();
    }
}

// What stands where the engineer's drive was, while it is away, is not its
// file system: another drive (even under the very device number), or the
// empty mount point. The journal waits, nothing is called restored or
// changed, and once the drive is back its file is put right.
TEST(JournalIdentity, TheJournalWaitsForItsOwnFileSystem)
{
    struct Row {
        const char* name;
        std::function<void(SimulatedDisk&)> inItsPlace;  // the drive away
        QByteArray standing;  // what stands at the file's name then ("" none)
    };
    // Another drive mounted at the drive's place, holding `bytes` at the
    // file's name.
    const auto anotherDrive = [](dev_t device, QByteArray bytes) {
        return [device, bytes](SimulatedDisk& disk) {
            disk.makeFolders("/media/eng/drive");
            disk.writeFile("/media/eng/drive/f.txt", bytes);
            disk.mount("/media/eng/drive", device, {0xb2b2, kExt});
        };
    };
    const Row rows[] = {
        {"a backup drive with a copy of the old file", anotherDrive(0x812, kOld), kOld},
        {"another drive under the very device number, holding what the save left", anotherDrive(kDriveDevice, kLeft),
         kLeft},
        {"the empty mount point", [](SimulatedDisk& disk) { disk.makeFolders("/media/eng/drive"); }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimulatedSaves saves;
        plugInDrive(saves.disk);
        ASSERT_TRUE(saves.save("/media/eng/drive/f.txt", kNew, kKilledAfter));
        const std::vector<QByteArray> journal = saves.kept();
        ASSERT_EQ(journal.size(), 1u);
        saves.disk.move("/media/eng/drive", "/away/drive");
        row.inItsPlace(saves.disk);

        QStringList told = saves.start();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("该位置现在不是保存时所在的磁盘"))) << told[0].toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("原内容仍保留"))) << told[0].toStdString();
        EXPECT_EQ(saves.kept(), journal) << "the journal waits, and no copy is made";
        if (!row.standing.isEmpty()) {
            EXPECT_EQ(saves.at("/media/eng/drive/f.txt"), row.standing);
        }

        // The other drive away, the engineer's back under another device.
        saves.disk.move("/media/eng/drive", "/away/other");
        saves.disk.move("/away/drive", "/media/eng/drive");
        saves.disk.mount("/media/eng/drive", 0x813, kDrive);
        told = saves.start();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("已恢复为保存前的内容"))) << told[0].toStdString();
        EXPECT_EQ(saves.at("/media/eng/drive/f.txt"), kOld);
        EXPECT_TRUE(saves.kept().empty());
    }
}

// At the start, a file at the journal's path is its file only when it is
// its inode on its file system: another file there (one the engineer may
// write, holding exactly what the save left) is never restored over; the
// old contents are kept aside.
TEST(JournalIdentity, AnotherFileAtItsNameIsNeverRestoredOverEvenWhenWritable)
{
    struct Row {
        const char* name;
        QByteArray holding;
    };
    const Row rows[] = {{"holding what the save left", kLeft}, {"holding the old contents", kOld}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SimulatedSaves saves;
        saves.disk.makeFolders("/srv/share");
        saves.disk.writeFile("/srv/share/f.txt", kOld);
        ASSERT_TRUE(saves.save("/srv/share/f.txt", kNew, kKilledAfter));
        {
            const textio::ScopedFileCalls inForce(saves.disk);
            ASSERT_EQ(saves.disk.unlink(AT_FDCWD, "/srv/share/f.txt", 0), 0);
        }
        saves.disk.writeFile("/srv/share/f.txt", row.holding, 0644);

        const QStringList told = saves.start();
        ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
        EXPECT_TRUE(told[0].contains(QStringLiteral("未予恢复"))) << told[0].toStdString();
        EXPECT_EQ(saves.at("/srv/share/f.txt"), row.holding);
        const std::vector<QByteArray> kept = saves.kept();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(saves.at(QFile::encodeName(textio::dataFolder()) + '/' + kept[0]), kOld);
    }
}

// Two files of one name in two folders: each save has a journal of its
// own, a save touches no other file, and the start restores both.
TEST(JournalIdentity, FilesOfOneNameInTwoFoldersKeepJournalsOfTheirOwn)
{
    SimulatedSaves saves;
    const QByteArray paths[] = {"/srv/north/f.txt", "/srv/south/f.txt"};
    for (const QByteArray& path : paths) {
        saves.disk.makeFolders(path.first(path.lastIndexOf('/')));
        saves.disk.writeFile(path, kOld);
    }
    for (const QByteArray& path : paths) {
        SCOPED_TRACE(path.constData());
        ASSERT_TRUE(saves.save(path, kNew, kKilledAfter));
        for (const QByteArray& each : paths)
            EXPECT_EQ(saves.at(each), each <= path ? kLeft : kOld) << each.constData();
    }
    const QStringList told = saves.start();
    ASSERT_EQ(told.size(), 2) << joined(told).toStdString();
    for (const QByteArray& path : paths) {
        SCOPED_TRACE(path.constData());
        EXPECT_TRUE(anyContains(told, QFile::decodeName(path))) << joined(told).toStdString();
        EXPECT_EQ(saves.at(path), kOld);
    }
    EXPECT_TRUE(saves.kept().empty());
}

// ------------------------------------------------------------ on the real file system

class JournalIdentityTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
};

// A save through a folder reached by a link, or through a hard link,
// dies; the same file saved through its own path: the start keeps what
// that later save wrote.
TEST_F(JournalIdentityTest, ALaterSaveThroughItsOwnPathIsKept)
{
    struct Row {
        const char* name;
        std::function<QString(const InPlaceSaves&)> otherPath;
    };
    const Row rows[] = {
        {"a folder reached by a link",
         [&](const InPlaceSaves& saves) {
             const QString link = dir_.filePath(QStringLiteral("linked"));
             EXPECT_TRUE(QFile::link(saves.folder(), link));
             return link + QStringLiteral("/storm_out.txt");
         }},
        {"a hard link",
         [](const InPlaceSaves& saves) {
             const QString link = saves.folder() + QStringLiteral("/storm_link.txt");
             setMode(saves.folder(), 0755);
             EXPECT_EQ(::link(QFile::encodeName(saves.file()).constData(), QFile::encodeName(link).constData()), 0);
             setMode(saves.folder(), InPlaceSaves::asRoot() ? 0755 : 0555);
             return link;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(kOld);
        const QString other = row.otherPath(saves);
        {
            const InPlaceSaves::AsTheEngineer engineer;
            const textio::ScopedWriteFault killed(WriteFault::ProgramKilled, kKilledAfter);
            ASSERT_TRUE(textio::replaceFileContents(other, kNew));
        }
        ASSERT_EQ(fileBytes(saves.file()), kLeft);
        EXPECT_EQ(saves.save(kNew), std::nullopt);

        const QStringList told = saves.recover();
        EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
        EXPECT_EQ(fileBytes(saves.file()), kNew);
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
        QFile::remove(other);
    }
}

// A whole journal of the version before is followed as that version
// would: its file, as its save left it, gets its old contents back and is
// named; one marked done goes without a word.
TEST_F(JournalIdentityTest, AJournalOfTheVersionBeforeIsFollowed)
{
    struct Row {
        const char* name;
        char state;
        QByteArray after;
        const char* told;  // "" nothing
    };
    const Row rows[] = {
        {"saving", 0, kOld, "已恢复为保存前的内容"},
        {"restoring", 1, kOld, "已恢复为保存前的内容"},
        {"done", 2, kLeft, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const InPlaceSaves saves(dir_.path());
        saves.plant(kOld);
        ASSERT_TRUE(saves.save(kNew, WriteFault::ProgramKilled, kKilledAfter));
        const QStringList journals = saves.dataFiles();
        ASSERT_EQ(journals.size(), 1);
        ASSERT_EQ(fileBytes(saves.file()), kLeft);
        {
            const InPlaceSaves::AsTheEngineer engineer;
            QFile journal(journals[0]);
            ASSERT_TRUE(journal.open(QIODevice::WriteOnly | QIODevice::Truncate));
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(saves.file()).constData(), &st), 0);
            const QByteArray bytes = oneSealJournal(saves.file(), st.st_dev, st.st_ino, kOld, kNew, row.state);
            ASSERT_EQ(journal.write(bytes), bytes.size());
        }

        const QStringList told = saves.recover();
        if (*row.told == '\0') {
            EXPECT_TRUE(told.isEmpty()) << joined(told).toStdString();
        } else {
            ASSERT_EQ(told.size(), 1) << joined(told).toStdString();
            EXPECT_TRUE(told[0].contains(QString::fromUtf8(row.told))) << told[0].toStdString();
            EXPECT_TRUE(told[0].contains(saves.file())) << told[0].toStdString();
        }
        EXPECT_EQ(fileBytes(saves.file()), row.after);
        EXPECT_TRUE(saves.dataFiles().isEmpty()) << joined(saves.dataFiles()).toStdString();
    }
}

} // namespace
