// Memory that runs short while segment rows are built, made to happen on
// purpose so that tests can show what an import does when the machine has
// no room for the file's rows: while a ScopedRowMemoryFault is alive, the
// memory holds `rows` segment rows, and building one more (a row read from
// a segment file, the room a list makes for the rows it takes, or the list
// growing as it takes a row it made no room for) fails with std::bad_alloc
// as an allocation would.
#pragma once

#include <cstddef>

namespace storm_network {

class ScopedRowMemoryFault {
public:
    explicit ScopedRowMemoryFault(std::size_t rows);
    ~ScopedRowMemoryFault();
    ScopedRowMemoryFault(const ScopedRowMemoryFault&) = delete;
    ScopedRowMemoryFault& operator=(const ScopedRowMemoryFault&) = delete;
};

// Called before memory for `count` rows is taken: throws std::bad_alloc
// when a ScopedRowMemoryFault has no room left for them, else counts them.
void takeRowMemory(std::size_t count);

}  // namespace storm_network
