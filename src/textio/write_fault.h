// Faults a write of the program's files can meet, made to happen on purpose
// so that tests can show what every save does on a full disk or a failing
// device: while a ScopedWriteFault is alive, every file written through
// textfile.h fails as soon as it would go past the given number of bytes
// (a disk with room for that many).
#pragma once

#include <QtGlobal>

namespace textio {

enum class WriteFault {
    NoSpace,      // the disk is full
    DeviceError,  // the device reports an input/output error
    // The program is killed there: the save stops where it is and cleans
    // nothing up, leaving its files as a killed program leaves them.
    ProgramKilled,
};

class ScopedWriteFault {
public:
    explicit ScopedWriteFault(WriteFault fault, qint64 afterBytes = 0);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

} // namespace textio
