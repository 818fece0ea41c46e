#include "pixel_memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstddef>

namespace marventa::soak {

namespace {

std::atomic<std::int64_t> mapped{0};

}  // namespace

std::int64_t pixelMemoryMapped() {
    return mapped.load();
}

}  // namespace marventa::soak

// Linked with -Wl,--wrap=mmap,--wrap=munmap: the core's calls land here.
extern "C" {

void* __real_mmap(void* address, std::size_t length, int protection, int flags, int fd,
                  off_t offset);
int __real_munmap(void* address, std::size_t length);

void* __wrap_mmap(void* address, std::size_t length, int protection, int flags, int fd,
                  off_t offset) {
    void* result = __real_mmap(address, length, protection, flags, fd, offset);
    if (result != MAP_FAILED) {
        marventa::soak::mapped += static_cast<std::int64_t>(length);
    }
    return result;
}

int __wrap_munmap(void* address, std::size_t length) {
    const int result = __real_munmap(address, length);
    if (result == 0) {
        marventa::soak::mapped -= static_cast<std::int64_t>(length);
    }
    return result;
}

}  // extern "C"
