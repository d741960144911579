#pragma once

#include <memory>
#include <new>
#include <utility>

/**
 * std::allocator, except that resize() leaves new numbers unset instead of
 * zeroing them. The detection matrix and the label map reach hundreds of
 * megabytes: zeroing them on one thread took longer than filling them on all
 * cores, and every cell is written by the pass that fills them anyway.
 * assign(n, 0) and constructors with a value still set every element.
 */
template <typename T>
class DefaultInitAllocator : public std::allocator<T>
{
public:
    template <typename U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };

    DefaultInitAllocator() noexcept = default;
    template <typename U>
    DefaultInitAllocator(const DefaultInitAllocator<U> &other) noexcept
        : std::allocator<T>(other)
    {
    }

    template <typename U>
    void construct(U *p) noexcept(noexcept(::new (static_cast<void *>(p)) U))
    {
        ::new (static_cast<void *>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};
