#include "pixel_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <new>
#include <type_traits>
#include <utility>

#include "catalogue/city_directory.h"
#include "decoded_picture.h"
#include "huge_pages.h"

namespace marventa {

namespace {

constexpr std::size_t kPage = 4096;
// Every block fits the province map, the largest picture, so the one spare serves any decode.
constexpr std::size_t kBlockFloor =
    static_cast<std::size_t>(rgbRowStride(kProvinceWidth)) * kProvinceHeight;

struct Block {
    std::uint8_t* data = nullptr;
    std::size_t capacity = 0;
    bool zeroed = false;  // fresh from the kernel, never handed out
};

// A decode writes the whole block: on huge pages, 12 page faults instead of 6000.
Block allocateBlock(std::size_t size) {
    const std::size_t capacity = (std::max(size, kBlockFloor) + kPage - 1) / kPage * kPage;
    std::uint8_t* data = mapHugeAligned(capacity);
    if (data == nullptr) {
        throw std::bad_alloc();
    }
    return {data, capacity, true};
}

void freeBlock(Block block) {
    if (block.data != nullptr) {
        munmap(block.data, block.capacity);
    }
}

// Keeps the one spare block between decodes. Trivially destructible on purpose: a buffer held
// by a global window is handed back during exit, possibly after this object's lifetime would
// otherwise have ended; the spare itself is still reachable then, not leaked.
struct Recycler {
    std::mutex mutex;
    Block spare;

    Block take(std::size_t size) {
        {
            const std::lock_guard lock(mutex);
            if (spare.data != nullptr && spare.capacity >= size) {
                return std::exchange(spare, Block{});
            }
        }
        return allocateBlock(size);
    }

    void give(Block block) {
        {
            const std::lock_guard lock(mutex);
            if (spare.capacity < block.capacity) {
                std::swap(spare, block);
            }
        }
        freeBlock(block);
    }
};
static_assert(std::is_trivially_destructible_v<Recycler>);

Recycler& recycler() {
    static Recycler instance;
    return instance;
}

}  // namespace

PixelBuffer PixelBuffer::acquire(std::size_t size) {
    const Block block = recycler().take(size);
    PixelBuffer buffer;
    buffer.data_ = block.data;
    buffer.size_ = size;
    buffer.capacity_ = block.capacity;
    buffer.zeroed_ = block.zeroed;
    return buffer;
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      zeroed_(std::exchange(other.zeroed_, false)) {}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        reset();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        zeroed_ = std::exchange(other.zeroed_, false);
    }
    return *this;
}

PixelBuffer::~PixelBuffer() {
    reset();
}

void PixelBuffer::reset() {
    if (data_ != nullptr) {
        recycler().give({data_, capacity_, false});
        data_ = nullptr;
        size_ = 0;
        capacity_ = 0;
        zeroed_ = false;
    }
}

}  // namespace marventa
