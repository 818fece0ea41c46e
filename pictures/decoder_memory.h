#pragma once

#include <cstddef>

namespace marventa {

// The decoder's working memory (libjpeg's coefficient arrays) for one decode. Between decodes
// the stretch the arrays lived in stays mapped, on huge pages, and is held as one block so the
// rest of the program cannot scatter small allocations into it: every decode writes to the same
// pages as the one before, instead of the arrays creeping up the heap onto fresh huge pages.
// Declare it before the decompression object, so that it takes the stretch back after the
// decoder has freed its arrays.
// The first use tunes malloc for the whole process: blocks up to 32 MB come from the heap, and
// the heap is never trimmed.
class DecoderMemory {
  public:
    DecoderMemory() = default;
    DecoderMemory(const DecoderMemory&) = delete;
    DecoderMemory& operator=(const DecoderMemory&) = delete;
    ~DecoderMemory();

    // Hands the held stretch, grown to `workingBytes` and some slack if needed, to the next
    // allocations: call it right before the decoder allocates its arrays.
    void prepare(std::size_t workingBytes);

  private:
    bool prepared_ = false;
};

}  // namespace marventa
