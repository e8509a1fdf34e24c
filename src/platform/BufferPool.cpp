#include "platform/BufferPool.h"

#include <map>
#include <mutex>
#include <vector>

namespace platform {
namespace {
constexpr size_t kKeptPerSize = 4;

std::mutex &poolMutex()
{
    static std::mutex m;
    return m;
}

std::map<size_t, std::vector<char *>> &pool()
{
    static std::map<size_t, std::vector<char *>> p;
    return p;
}
} // namespace

void PooledBufferRelease::operator()(char *buffer) const
{
    if (!buffer)
        return;
    {
        std::lock_guard<std::mutex> lock(poolMutex());
        std::vector<char *> &kept = pool()[size];
        if (kept.size() < kKeptPerSize) {
            kept.push_back(buffer);
            return;
        }
    }
    delete[] buffer;
}

PooledBuffer takeBuffer(size_t size)
{
    {
        std::lock_guard<std::mutex> lock(poolMutex());
        std::vector<char *> &kept = pool()[size];
        if (!kept.empty()) {
            char *buffer = kept.back();
            kept.pop_back();
            return PooledBuffer(buffer, PooledBufferRelease{size});
        }
    }
    return PooledBuffer(new char[size], PooledBufferRelease{size});
}

} // namespace platform
