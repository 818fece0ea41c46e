#pragma once

#include <cstdint>

namespace marventa::soak {

// Bytes our own code has mapped and not yet unmapped: the pixel blocks of decoded pictures.
// Counted by wrapping mmap and munmap at link time (see CMakeLists.txt), so only calls from
// the statically linked core are seen, never Qt's or the C library's.
std::int64_t pixelMemoryMapped();

}  // namespace marventa::soak
