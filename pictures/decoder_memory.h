#pragma once

#include <array>
#include <cstdio>  // jpeglib.h uses FILE without including it

#include <jpeglib.h>

#include "coefficient_rows.h"

namespace marventa {

// The decoder's working memory: libjpeg's whole-image coefficient arrays, the bulk of a
// progressive decode (as large as the decoded picture itself), come from here instead of
// libjpeg's pools; every other allocation stays libjpeg's own. Once the output pass has begun,
// each array is read from top to bottom (block smoothing looking up to two block rows back),
// and the rows it has left behind go back to the kernel as it goes.
// Install it right after the decompression object is created; it must outlive that object.
class DecoderMemory {
  public:
    DecoderMemory() = default;
    DecoderMemory(const DecoderMemory&) = delete;
    DecoderMemory& operator=(const DecoderMemory&) = delete;

    void install(jpeg_decompress_struct& info);
    // Every later access to the arrays is the output pass's (all scans have been read).
    void beginOutput() { output_ = true; }

  private:
    struct Array {
        CoefficientRows rows;
        JDIMENSION blocksPerRow = 0;
        JDIMENSION rowCount = 0;
        JDIMENSION maxAccess = 0;
        JBLOCKARRAY table = nullptr;  // row pointers, in libjpeg's image pool
    };

    static DecoderMemory& of(j_common_ptr info);
    static jvirt_barray_ptr request(j_common_ptr info, int pool, boolean preZero,
                                    JDIMENSION blocksPerRow, JDIMENSION rows, JDIMENSION maxAccess);
    static void realize(j_common_ptr info);
    static JBLOCKARRAY access(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION first,
                              JDIMENSION count, boolean writable);
    static void freePool(j_common_ptr info, int pool);
    static void selfDestruct(j_common_ptr info);
    void releaseArrays();

    jpeg_memory_mgr libjpeg_{};  // libjpeg's own methods
    std::array<Array, MAX_COMPONENTS> arrays_;
    int arrayCount_ = 0;
    bool output_ = false;
};

}  // namespace marventa
