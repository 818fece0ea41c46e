#include "decoder_memory.h"

#include <malloc.h>

#include <cstdlib>
#include <mutex>
#include <type_traits>

#include "huge_pages.h"

namespace marventa {

namespace {

// glibc serves blocks from this size up with mmap; 32 MB is the largest threshold it accepts on
// 64-bit. libjpeg's arrays (one per colour component) stay below it, and so does the held
// stretch for the largest picture.
constexpr int kMmapThreshold = 32 << 20;
constexpr std::size_t kSlack = std::size_t{4} << 20;  // libjpeg's small pools, chunk headers

// The one stretch of working memory, shared by all decodes of the process.
struct Stretch {
    std::mutex mutex;
    bool tuned = false;
    void* held = nullptr;  // allocated while no decode runs
    std::size_t size = 0;
    int decoding = 0;

    void prepare(std::size_t workingBytes) {
        const std::lock_guard lock(mutex);
        if (!tuned) {
            tuned = true;
            // libjpeg frees its working memory after every decode. Blocks that big would come
            // from mmap and go back to the kernel on free, and the next decode would fault every
            // page in again; from the heap, with its top never trimmed, they stay mapped.
            mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
            mallopt(M_TRIM_THRESHOLD, INT32_MAX);
        }
        ++decoding;
        const std::size_t wanted = workingBytes + kSlack;
        if (wanted > size && wanted < static_cast<std::size_t>(kMmapThreshold)) {
            std::free(held);  // a bigger stretch replaces it
            held = std::malloc(wanted);
            size = held != nullptr ? wanted : 0;
            if (held != nullptr) {
                adviseHugePages(held, wanted);
            }
        }
        // Freed, the stretch is the largest free block of the heap: the arrays are carved from
        // its start. Without one (malloc failed), libjpeg reports its own out-of-memory error.
        std::free(held);
        held = nullptr;
    }

    void finish() {
        const std::lock_guard lock(mutex);
        if (--decoding == 0 && size > 0) {
            // The arrays are freed: taking the same size again lands on the same start.
            held = std::malloc(size);
        }
    }
};

// Trivially destructible on purpose: a decode may end during exit, after a function-local
// static with a destructor would be gone.
static_assert(std::is_trivially_destructible_v<Stretch>);

Stretch& stretch() {
    static Stretch instance;
    return instance;
}

}  // namespace

void DecoderMemory::prepare(std::size_t workingBytes) {
    if (!prepared_) {
        prepared_ = true;
        stretch().prepare(workingBytes);
    }
}

DecoderMemory::~DecoderMemory() {
    if (prepared_) {
        stretch().finish();
    }
}

}  // namespace marventa
