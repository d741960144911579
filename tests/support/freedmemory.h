#pragma once

namespace testsupport {

/**
 * While one lives, every block handed back to the C allocator (free, delete,
 * the release of a Qt container's data) is overwritten before the allocator
 * takes it, so that a read of memory already freed reads 0xa5 bytes in every
 * build, not only where AddressSanitizer watches: a pointer into a list that
 * went with the statement that made it then sees no valid value. Only an
 * executable that has freedmemory.cpp among its own sources has it; in a
 * sanitizer build, which sees such reads itself, or without glibc, it does
 * nothing.
 */
class FreedMemoryPoisoned
{
public:
    FreedMemoryPoisoned();
    ~FreedMemoryPoisoned();
    FreedMemoryPoisoned(const FreedMemoryPoisoned &) = delete;
    FreedMemoryPoisoned &operator=(const FreedMemoryPoisoned &) = delete;
};

} // namespace testsupport
