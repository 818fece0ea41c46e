#include "coefficient_rows.h"

#include <sys/mman.h>

#include "huge_pages.h"

namespace marventa {

namespace {

constexpr std::size_t kPage = 4096;
// Small enough that the drained rows of each array follow the output pass closely (a chroma
// row of the province map is 26 KB), large enough to keep the calls to the kernel few.
constexpr std::size_t kReleaseStep = std::size_t{64} << 10;

}  // namespace

CoefficientRows::~CoefficientRows() {
    unmap();
}

bool CoefficientRows::map(std::size_t rowBytes, std::size_t rows) noexcept {
    unmap();
    const std::size_t size = (rowBytes * rows + kPage - 1) / kPage * kPage;
    data_ = size > 0 ? mapHugeAligned(size) : nullptr;
    if (data_ == nullptr) {
        return size == 0;
    }
    size_ = size;
    rowBytes_ = rowBytes;
    rows_ = rows;
    return true;
}

void CoefficientRows::unmap() noexcept {
    if (data_ != nullptr) {
        munmap(data_, size_);
    }
    data_ = nullptr;
    size_ = 0;
    rowBytes_ = 0;
    rows_ = 0;
    released_ = 0;
}

bool CoefficientRows::keepFrom(std::size_t first) noexcept {
    const std::size_t firstByte = first * rowBytes_;
    if (firstByte < released_) {
        return false;
    }
    const std::size_t releasable = firstByte / kReleaseStep * kReleaseStep;
    if (releasable > released_) {
        madvise(data_ + released_, releasable - released_, MADV_DONTNEED);
        released_ = releasable;
    }
    return true;
}

}  // namespace marventa
