// Faults a write of the program's files can meet, made to happen on purpose
// so that tests can show what every save does on a full disk, a failing
// device, a file system that takes no lock or makes no unnamed file, or a
// program killed part-way:
// while a ScopedWriteFault is alive, every write of an engineer's file
// through textfile.h (a save, a restore of its old contents) fails as soon
// as it would go past the given number of bytes (a disk with room for that
// many).
#pragma once

#include <QtGlobal>

#include <functional>

namespace textio {

enum class WriteFault {
    NoSpace,      // the disk is full
    DeviceError,  // the device reports an input/output error
    // The program is killed once it has written the given number of bytes
    // (also when that is all of them): from then on no call on files
    // reaches them (each fails as an input/output error), so the save (or
    // the restore) changes nothing more and leaves its files as a killed
    // program leaves them.
    ProgramKilled,
    // The file system takes no lock (a network share whose lock service
    // does not answer): every lock fails with ENOLCK; writes go through.
    NoLocks,
    // The file system makes no unnamed file (O_TMPFILE; a network share,
    // an older file system): the program's own files are written under a
    // part name first.
    NoUnnamedFiles,
};

class ScopedWriteFault {
public:
    explicit ScopedWriteFault(WriteFault fault, qint64 afterBytes = 0);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

    // True once the program a WriteFault::ProgramKilled stands for was
    // killed: whatever it would have shown since, it shows nothing.
    bool killed() const;
};

// The moments of a save or a clean-up between two of its steps where
// another program may act on the same files: a test does so there, as that
// program would. Each is the end of one call on files (file_calls.h), the
// first of its kind while a ScopedSaveStep lives; the action is done once.
enum class SaveStep {
    LeftFileOpened,  // a file a save left (temporary, part) is open, not yet examined
    JournalOpened,   // a journal is open to be settled, not yet locked
    JournalCreated,  // a new file of the program's (a save's journal first) is made, not yet locked
    FileWritten,     // an in-place save flushed the new contents, its journal not yet gone
};

class ScopedSaveStep {
public:
    ScopedSaveStep(SaveStep step, std::function<void()> action);
    ~ScopedSaveStep();
    ScopedSaveStep(const ScopedSaveStep&) = delete;
    ScopedSaveStep& operator=(const ScopedSaveStep&) = delete;
};

} // namespace textio
