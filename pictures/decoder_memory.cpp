#include "decoder_memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace marventa {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// glibc serves blocks from this size up with mmap; 32 MB is the largest threshold it accepts
// on 64-bit, and libjpeg's arrays (one per colour component) stay below it.
constexpr int kMmapThreshold = 32 << 20;
constexpr std::size_t kChunk = std::size_t{24} << 20;  // below the threshold: heap, not mmap
constexpr std::size_t kSlack = std::size_t{4} << 20;   // libjpeg's small pools, chunk headers
constexpr std::size_t kChunkHeaderRoom = 4096;         // between neighbouring heap chunks

void adviseHugePages(void* start, std::size_t size) {
    const auto first =
        (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) / kHugePage * kHugePage;
    const auto last = (reinterpret_cast<std::uintptr_t>(start) + size) / kHugePage * kHugePage;
    if (last > first) {
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // only advice
    }
}

}  // namespace

void reserveDecoderMemory(std::size_t workingBytes) {
    static std::mutex mutex;
    static std::size_t reserved = 0;
    const std::lock_guard lock(mutex);
    if (reserved == 0) {
        // libjpeg frees its working memory after every decode. Blocks that big would come from
        // mmap and go back to the kernel on free, and the next decode would fault every page
        // in again; from the heap, with its top never trimmed, they stay mapped.
        mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
        mallopt(M_TRIM_THRESHOLD, INT32_MAX);
    }
    if (workingBytes <= reserved) {
        return;
    }
    // Grow the heap's top by the whole amount, mark it for huge pages and free it again: the
    // decoder's arrays are then carved from that stretch.
    const std::size_t wanted = workingBytes + kSlack;
    std::array<void*, 16> chunks{};
    std::size_t count = 0;
    for (std::size_t got = 0; got < wanted && count < chunks.size(); got += kChunk) {
        chunks[count] = std::malloc(kChunk);
        if (chunks[count] == nullptr) {
            break;  // libjpeg will then report its own out-of-memory error
        }
        ++count;
    }
    // The chunks normally follow each other on the heap: advising the stretch they span as a
    // whole also covers the seams between them. Scattered chunks are advised one by one.
    if (count > 0) {
        const auto [low, high] = std::minmax_element(chunks.begin(), chunks.begin() + count);
        const auto span = static_cast<std::size_t>(static_cast<std::uint8_t*>(*high) -
                                                   static_cast<std::uint8_t*>(*low)) +
                          kChunk;
        if (span <= count * (kChunk + kChunkHeaderRoom)) {
            adviseHugePages(*low, span);
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                adviseHugePages(chunks[i], kChunk);
            }
        }
    }
    while (count > 0) {
        std::free(chunks[--count]);
    }
    reserved = wanted;
}

}  // namespace marventa
