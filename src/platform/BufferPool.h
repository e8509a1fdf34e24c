#pragma once
// Large transfer buffers are kept for the next transfer instead of going back
// to the system: a folder of a thousand small files would otherwise pay for
// fresh pages (zeroed and faulted in) on every file, more than the file costs.

#include <cstddef>
#include <memory>

namespace platform {

struct PooledBufferRelease {
    size_t size = 0;
    void operator()(char *buffer) const;
};
using PooledBuffer = std::unique_ptr<char[], PooledBufferRelease>;

// A buffer of `size` bytes (contents undefined), from the pool when one is free.
PooledBuffer takeBuffer(size_t size);

} // namespace platform
