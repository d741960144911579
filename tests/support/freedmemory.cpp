#include "freedmemory.h"

#include <atomic>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUILLON_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLON_SANITIZED 1
#endif

namespace {

std::atomic<int> poisoning{0};

} // namespace

#if defined(__GLIBC__) && !defined(QUILLON_SANITIZED)

#include <malloc.h>

// The executable's own free comes before the C library's for every caller,
// shared libraries (Qt, the C++ library's delete) included; the C library's
// is reached under its other name.
extern "C" {
void __libc_free(void *block) noexcept;

void free(void *block) noexcept
{
    if (block && poisoning.load(std::memory_order_relaxed) > 0)
        std::memset(block, 0xa5, malloc_usable_size(block));
    __libc_free(block);
}
}

#endif

testsupport::FreedMemoryPoisoned::FreedMemoryPoisoned()
{
    ++poisoning;
}

testsupport::FreedMemoryPoisoned::~FreedMemoryPoisoned()
{
    --poisoning;
}
