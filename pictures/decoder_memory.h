#pragma once

#include <cstddef>

namespace marventa {

// Makes room for `workingBytes` of decoder working memory (libjpeg's coefficient arrays) that
// stays mapped from one decode to the next and is backed by huge pages. Grows only; cheap when
// enough is already reserved. Tunes malloc for the whole process on the first call: blocks up
// to 32 MB come from the heap, and the heap is never trimmed.
void reserveDecoderMemory(std::size_t workingBytes);

}  // namespace marventa
