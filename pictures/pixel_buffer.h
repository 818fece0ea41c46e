#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace marventa {

// Memory for one decoded picture. Blocks are recycled instead of freed: one spare block, large
// enough for the province map, is kept for the next decode, so decoding again touches memory
// that is already mapped instead of faulting in 25 MB of fresh pages.
class PixelBuffer {
  public:
    PixelBuffer() = default;
    // A buffer of exactly `size` bytes (contents undefined).
    static PixelBuffer acquire(std::size_t size);

    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    ~PixelBuffer();

    std::span<std::uint8_t> bytes() const { return {data_, size_}; }
    bool empty() const { return data_ == nullptr; }
    // Whether the memory is still all zero as the kernel mapped it (never used before).
    bool zeroed() const { return zeroed_; }
    // Hands the block back now instead of at destruction.
    void reset();

  private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool zeroed_ = false;
};

}  // namespace marventa
