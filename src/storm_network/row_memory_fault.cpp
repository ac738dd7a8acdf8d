#include "storm_network/row_memory_fault.h"

#include <new>
#include <optional>

namespace storm_network {

namespace {

// The rows the memory still holds while a fault is alive.
std::optional<std::size_t> g_roomForRows;

}  // namespace

ScopedRowMemoryFault::ScopedRowMemoryFault(std::size_t rows)
{
    g_roomForRows = rows;
}

ScopedRowMemoryFault::~ScopedRowMemoryFault()
{
    g_roomForRows.reset();
}

void takeRowMemory(std::size_t count)
{
    if (!g_roomForRows)
        return;
    if (count > *g_roomForRows)
        throw std::bad_alloc();
    *g_roomForRows -= count;
}

}  // namespace storm_network
