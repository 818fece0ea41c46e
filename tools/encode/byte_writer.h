#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace marventa {

// Appends little-endian integers to a byte buffer.
class ByteWriter {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Writes the whole buffer, replacing the file; raises std::runtime_error on failure.
void writeFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace marventa
