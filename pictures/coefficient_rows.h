#pragma once

#include <cstddef>
#include <cstdint>

namespace marventa {

// The rows of one whole-image coefficient array that does not fit the pixel block (a picture
// sampled unlike the layout of CoefficientLayout), mapped zero-filled on its own. The output
// pass of a decode reads the rows from top to bottom, and once it has moved on, the rows above
// the lowest one it still reads go back to the kernel in steps of 64 KiB: the decoded pixels
// fill in while the coefficients drain, so the two are never resident in full at once.
class CoefficientRows {
  public:
    CoefficientRows() = default;
    CoefficientRows(const CoefficientRows&) = delete;
    CoefficientRows& operator=(const CoefficientRows&) = delete;
    ~CoefficientRows();

    // Maps `rows` rows of `rowBytes` bytes each, all zero; false when memory is short.
    bool map(std::size_t rowBytes, std::size_t rows) noexcept;
    // Gives all the memory back; map() may follow again.
    void unmap() noexcept;

    std::uint8_t* row(std::size_t index) const { return data_ + index * rowBytes_; }
    std::size_t rowCount() const { return rows_; }

    // No row above `first` is read again: the whole huge pages before it go back. False (and
    // nothing changes) when `first` itself is no longer intact, that is, the reads went back.
    bool keepFrom(std::size_t first) noexcept;
    // Bytes given back from the start so far, a whole number of steps.
    std::size_t releasedBytes() const { return released_; }

  private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;  // mapped, whole pages
    std::size_t rowBytes_ = 0;
    std::size_t rows_ = 0;
    std::size_t released_ = 0;
};

}  // namespace marventa
