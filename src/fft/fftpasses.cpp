#include "fft/fftpasses.h"

#include <atomic>

namespace fftpasses {

namespace {
bool processorHasAvx2()
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

std::atomic<bool> &enabledFlag()
{
    static std::atomic<bool> enabled{processorHasAvx2()};
    return enabled;
}
} // namespace

bool wideVectors()
{
    return enabledFlag().load(std::memory_order_relaxed);
}

void setWideVectorsEnabled(bool enabled)
{
    enabledFlag().store(enabled && processorHasAvx2(), std::memory_order_relaxed);
}

} // namespace fftpasses
