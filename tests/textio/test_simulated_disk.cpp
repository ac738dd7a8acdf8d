#include "simulated_disk.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using textio::testing::CallKind;
using textio::testing::KeepAll;
using textio::testing::KeepFlushedOnly;
using textio::testing::PowerCut;
using textio::testing::Scrambled;
using textio::testing::SimulatedDisk;

// Opens `path`, failing the test where it cannot.
int opened(SimulatedDisk& disk, const QByteArray& path, int flags, mode_t mode = 0644)
{
    int fd = -1;
    EXPECT_EQ(disk.open(AT_FDCWD, path, flags | O_CLOEXEC, mode, fd), 0) << path.constData();
    return fd;
}

void put(SimulatedDisk& disk, int fd, const QByteArray& bytes, qint64 offset = 0)
{
    qint64 done = 0;
    EXPECT_EQ(disk.write(fd, bytes.constData(), bytes.size(), offset, done), 0);
    EXPECT_EQ(done, bytes.size());
}

// A file "/d/f" holding "old", and the folder "/d" flushed.
SimulatedDisk planted()
{
    SimulatedDisk disk;
    disk.makeFolders("/d", 0700);
    disk.writeFile("/d/f", "old");
    return disk;
}

// Every name in "/d" and what it holds.
std::map<QByteArray, QByteArray> filesIn(const SimulatedDisk& disk)
{
    std::map<QByteArray, QByteArray> files;
    for (const QByteArray& name : disk.list("/d"))
        files[name] = disk.contents("/d/" + name).value_or("(no plain file)");
    return files;
}

void syncFolder(SimulatedDisk& disk, const QByteArray& path)
{
    const int folder = opened(disk, path, O_RDONLY | O_DIRECTORY);
    EXPECT_EQ(disk.sync(folder), 0);
    disk.close(folder);
}

// What a power cut keeps of what the steps did, the folder "/d" whole.
struct CutCase {
    const char* name;
    std::function<void(SimulatedDisk&)> steps;
    PowerCut cut;
    std::map<QByteArray, QByteArray> after;  // every file left in "/d"
};

TEST(SimulatedDisk, PowerCutKeepsWhatARealDiskCouldHold)
{
    const auto overwrite = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d/f", O_RDWR);
        put(disk, fd, "NEW!");
    };
    const auto overwriteSynced = [&](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d/f", O_RDWR);
        put(disk, fd, "NEW!");
        EXPECT_EQ(disk.syncData(fd), 0);
    };
    const auto cutShort = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d/f", O_RDWR);
        EXPECT_EQ(disk.truncate(fd, 1), 0);
    };
    const auto newFileSynced = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d/g", O_WRONLY | O_CREAT | O_EXCL);
        put(disk, fd, "g");
        EXPECT_EQ(disk.sync(fd), 0);
    };
    // A new version written beside the file, flushed, and moved over it.
    const auto renamedOver = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d/f.part", O_WRONLY | O_CREAT | O_EXCL);
        put(disk, fd, "NEW!");
        EXPECT_EQ(disk.sync(fd), 0);
        EXPECT_EQ(disk.rename(AT_FDCWD, "/d/f.part", AT_FDCWD, "/d/f", false), 0);
    };
    const auto removed = [](SimulatedDisk& disk) { EXPECT_EQ(disk.unlink(AT_FDCWD, "/d/f", 0), 0); };
    const auto unnamed = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d", O_TMPFILE | O_RDWR, 0600);
        put(disk, fd, "tmp");
        EXPECT_EQ(disk.sync(fd), 0);
        syncFolder(disk, "/d");
    };
    const auto unnamedThenNamed = [](SimulatedDisk& disk) {
        const int fd = opened(disk, "/d", O_TMPFILE | O_RDWR, 0600);
        put(disk, fd, "tmp");
        EXPECT_EQ(disk.sync(fd), 0);
        EXPECT_EQ(disk.linkOpen(fd, AT_FDCWD, "/d/t"), 0);
    };
    const auto withFolderSync = [](std::function<void(SimulatedDisk&)> steps) {
        return [steps](SimulatedDisk& disk) {
            steps(disk);
            syncFolder(disk, "/d");
        };
    };
    const CutCase cases[] = {
        {"unflushed write lost", overwrite, KeepFlushedOnly, {{"f", "old"}}},
        {"unflushed write kept whole", overwrite, KeepAll, {{"f", "NEW!"}}},
        {"flushed write kept", overwriteSynced, KeepFlushedOnly, {{"f", "NEW!"}}},
        {"unflushed cut lost", cutShort, KeepFlushedOnly, {{"f", "old"}}},
        {"new file's name lost without folder flush", newFileSynced, KeepFlushedOnly, {{"f", "old"}}},
        {"new file kept with folder flush", withFolderSync(newFileSynced), KeepFlushedOnly,
         {{"f", "old"}, {"g", "g"}}},
        {"renamed over: the old file back, the new one gone", renamedOver, KeepFlushedOnly,
         {{"f", "old"}}},
        {"renamed over, folder flushed", withFolderSync(renamedOver), KeepFlushedOnly, {{"f", "NEW!"}}},
        {"renamed over, all kept", renamedOver, KeepAll, {{"f", "NEW!"}}},
        {"removal lost without folder flush", removed, KeepFlushedOnly, {{"f", "old"}}},
        {"removal kept with folder flush", withFolderSync(removed), KeepFlushedOnly, {}},
        {"unnamed file gone", unnamed, KeepAll, {{"f", "old"}}},
        {"named unnamed file: name lost without folder flush", unnamedThenNamed, KeepFlushedOnly,
         {{"f", "old"}}},
        {"named unnamed file kept with folder flush", withFolderSync(unnamedThenNamed), KeepFlushedOnly,
         {{"f", "old"}, {"t", "tmp"}}},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDisk disk = planted();
        c.steps(disk);
        // A file flushed under a name the cut lost is named nowhere: the
        // renamed-over case keeps only "f".
        EXPECT_EQ(filesIn(disk.powerCut(c.cut)), c.after);
    }
}

// A renamed-over file's old inode is what the cut gives back: the same
// inode number, so that a journal naming it still knows it.
TEST(SimulatedDisk, PowerCutGivesBackTheRenamedOverInode)
{
    SimulatedDisk disk = planted();
    struct stat before {};
    ASSERT_EQ(disk.statusAt(AT_FDCWD, "/d/f", 0, before), 0);
    const int fd = opened(disk, "/d/f.part", O_WRONLY | O_CREAT | O_EXCL);
    put(disk, fd, "NEW!");
    ASSERT_EQ(disk.sync(fd), 0);
    ASSERT_EQ(disk.rename(AT_FDCWD, "/d/f.part", AT_FDCWD, "/d/f", false), 0);
    struct stat renamed {};
    ASSERT_EQ(disk.statusAt(AT_FDCWD, "/d/f", 0, renamed), 0);
    EXPECT_NE(renamed.st_ino, before.st_ino);

    SimulatedDisk after = disk.powerCut(KeepFlushedOnly);
    struct stat back {};
    ASSERT_EQ(after.statusAt(AT_FDCWD, "/d/f", 0, back), 0);
    EXPECT_EQ(back.st_ino, before.st_ino);
    EXPECT_EQ(back.st_nlink, 1u);
}

// A scrambled cut keeps, for each file, the flushed contents and a prefix
// of the later writes: every prefix occurs for some seed, nothing else does.
TEST(SimulatedDisk, ScrambledCutKeepsAPrefixOfTheWrites)
{
    SimulatedDisk disk = planted();
    const int fd = opened(disk, "/d/f", O_RDWR);
    put(disk, fd, "A", 0);
    put(disk, fd, "BB", 1);
    put(disk, fd, "C", 5);
    const std::set<QByteArray> prefixes{"old", "Ald", "ABB", QByteArray("ABB\0\0C", 6)};
    std::set<QByteArray> seen;
    for (quint64 seed = 0; seed < 64; ++seed) {
        const SimulatedDisk after = disk.powerCut(Scrambled(seed));
        const QByteArray kept = after.contents("/d/f").value_or("(gone)");
        EXPECT_TRUE(prefixes.contains(kept)) << kept.toStdString();
        EXPECT_EQ(kept, disk.powerCut(Scrambled(seed)).contents("/d/f")) << "seed " << seed;
        seen.insert(kept);
    }
    EXPECT_EQ(seen, prefixes);
}

struct LockCase {
    const char* name;
    int first;   // the first description's lock (0: none)
    int second;  // what the second one asks
    int result;
};

TEST(SimulatedDisk, FlockConflictsBetweenDescriptions)
{
    const LockCase cases[] = {
        {"exclusive against exclusive", LOCK_EX, LOCK_EX | LOCK_NB, EWOULDBLOCK},
        {"exclusive against shared", LOCK_EX, LOCK_SH | LOCK_NB, EWOULDBLOCK},
        {"shared against exclusive", LOCK_SH, LOCK_EX | LOCK_NB, EWOULDBLOCK},
        {"shared beside shared", LOCK_SH, LOCK_SH | LOCK_NB, 0},
        {"released", LOCK_UN, LOCK_EX | LOCK_NB, 0},
    };
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDisk disk = planted();
        const int one = opened(disk, "/d/f", O_RDONLY);
        const int two = opened(disk, "/d/f", O_RDONLY);
        ASSERT_EQ(disk.lock(one, LOCK_EX), 0);
        ASSERT_EQ(disk.lock(one, c.first), 0);
        EXPECT_EQ(disk.lock(two, c.second), c.result);
    }
    // The lock goes with its description.
    SimulatedDisk disk = planted();
    const int one = opened(disk, "/d/f", O_RDONLY);
    const int two = opened(disk, "/d/f", O_RDONLY);
    ASSERT_EQ(disk.lock(one, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(disk.lock(one, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(disk.close(one), 0);
    EXPECT_EQ(disk.lock(two, LOCK_EX | LOCK_NB), 0);
}

struct FaultCase {
    const char* name;
    std::function<int(SimulatedDisk&, int fd)> call;  // on "/d/f" open for writing
    std::map<QByteArray, QByteArray> after;             // after a KeepAll cut
    std::map<QByteArray, QByteArray> afterFlushedOnly;  // after a KeepFlushedOnly cut
};

// A failed call changes nothing, whether what it would have changed is
// written or flushed.
TEST(SimulatedDisk, FailedCallHasNoEffect)
{
    const std::map<QByteArray, QByteArray> untouched{{"f", "old"}};
    const FaultCase cases[] = {
        {"write", [](SimulatedDisk& disk, int fd) {
             qint64 done = 0;
             return disk.write(fd, "NEW!", 4, 0, done);
         }, untouched, untouched},
        {"truncate", [](SimulatedDisk& disk, int fd) { return disk.truncate(fd, 0); }, untouched, untouched},
        {"rename", [](SimulatedDisk& disk, int) {
             return disk.rename(AT_FDCWD, "/d/f", AT_FDCWD, "/d/g", false);
         }, untouched, untouched},
        {"unlink", [](SimulatedDisk& disk, int) { return disk.unlink(AT_FDCWD, "/d/f", 0); }, untouched,
         untouched},
        {"link", [](SimulatedDisk& disk, int) { return disk.link(AT_FDCWD, "/d/f", AT_FDCWD, "/d/h"); },
         untouched, untouched},
        {"sync", [](SimulatedDisk& disk, int fd) { return disk.sync(fd); }, {{"f", "X"}}, untouched},
        {"syncData", [](SimulatedDisk& disk, int fd) { return disk.syncData(fd); }, {{"f", "X"}}, untouched},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDisk disk = planted();
        const int fd = opened(disk, "/d/f", O_RDWR);
        if (std::string_view(c.name).starts_with("sync")) {
            // Something to flush, so that a flush that happened shows.
            const int cut = disk.truncate(fd, 0);
            ASSERT_EQ(cut, 0);
            put(disk, fd, "X");
        }
        disk.failCall(disk.callCount() + 1, ENOSPC);
        EXPECT_EQ(c.call(disk, fd), ENOSPC);
        for (const auto& [cut, expected] : {std::pair(KeepAll, c.after), std::pair(KeepFlushedOnly, c.afterFlushedOnly)}) {
            EXPECT_EQ(filesIn(disk.powerCut(cut)), expected) << (cut.keep == PowerCut::Keep::All ? "all kept" : "flushed only");
        }
        // The next call of the same kind goes through.
        EXPECT_EQ(c.call(disk, fd), 0);
    }
}

TEST(SimulatedDisk, FailingCallsOfAKindFromTheirNth)
{
    SimulatedDisk disk = planted();
    disk.failCalls(CallKind::Sync, 2, EIO);
    const int fd = opened(disk, "/d/f", O_RDWR);
    EXPECT_EQ(disk.sync(fd), 0);
    EXPECT_EQ(disk.syncData(fd), 0);
    EXPECT_EQ(disk.sync(fd), EIO);
    EXPECT_EQ(disk.sync(fd), EIO);
}

// After the cut every call fails and changes nothing; the image is the
// disk as it was right after the chosen call.
TEST(SimulatedDisk, CutAfterACallTakesTheImageThere)
{
    SimulatedDisk disk = planted();
    disk.cutAfterCall(3);
    const int fd = opened(disk, "/d/f", O_RDWR);  // 1
    put(disk, fd, "NEW!");                        // 2
    EXPECT_EQ(disk.sync(fd), 0);                  // 3: the cut
    EXPECT_TRUE(disk.isCut());
    qint64 done = 0;
    EXPECT_EQ(disk.write(fd, "LATE", 4, 0, done), EIO);
    EXPECT_EQ(disk.unlink(AT_FDCWD, "/d/f", 0), EIO);
    EXPECT_EQ(disk.contents("/d/f"), "NEW!");
    EXPECT_EQ(disk.callCount(), 5);
    EXPECT_EQ(disk.calls().back().text(), QStringLiteral("5 unlink /d/f: EIO"));

    SimulatedDisk image = disk.takeImage();
    EXPECT_EQ(image.contents("/d/f"), "NEW!");
    int again = -1;
    EXPECT_EQ(image.open(AT_FDCWD, "/d/f", O_RDWR, 0, again), 0);
    EXPECT_EQ(image.lock(again, LOCK_EX | LOCK_NB), 0) << "no lock survives the cut";
}

struct OpenCase {
    const char* name;
    QByteArray path;
    int flags;
    int result;
};

// The answers a save's checks of what stands at a name rely on.
TEST(SimulatedDisk, OpenAnswersAsLinuxDoes)
{
    const OpenCase cases[] = {
        {"missing", "/d/none", O_RDONLY, ENOENT},
        {"missing folder", "/none/f", O_RDONLY | O_CREAT, ENOENT},
        {"taken", "/d/f", O_WRONLY | O_CREAT | O_EXCL, EEXIST},
        {"link taken", "/d/link", O_WRONLY | O_CREAT | O_EXCL, EEXIST},
        {"link not followed", "/d/link", O_RDONLY | O_NOFOLLOW, ELOOP},
        {"link followed", "/d/link", O_RDONLY, 0},
        {"link in the path followed", "/e/f", O_RDONLY | O_NOFOLLOW, 0},
        {"file as folder", "/d/f/x", O_RDONLY, ENOTDIR},
        {"file opened as folder", "/d/f", O_RDONLY | O_DIRECTORY, ENOTDIR},
        {"folder for writing", "/d", O_RDWR, EISDIR},
        {"unnamed file in a file", "/d/f", O_TMPFILE | O_RDWR, ENOTDIR},
        {"link loop", "/d/loop", O_RDONLY, ELOOP},
    };
    SimulatedDisk disk = planted();
    disk.symlink("f", "/d/link");
    disk.symlink("/d", "/e");
    disk.symlink("loop", "/d/loop");
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        int fd = -1;
        EXPECT_EQ(disk.open(AT_FDCWD, c.path, c.flags, 0644, fd), c.result);
    }
    struct stat st {};
    ASSERT_EQ(disk.statusAt(AT_FDCWD, "/d/link", AT_SYMLINK_NOFOLLOW, st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(disk.statusAt(AT_FDCWD, "/d/link", 0, st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

} // namespace
