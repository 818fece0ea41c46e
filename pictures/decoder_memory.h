#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h uses FILE without including it

#include <jpeglib.h>

#include "coefficient_rows.h"

namespace marventa {

// Where a progressive picture's coefficient arrays go inside its pixel block. Per iMCU row
// (the rows of blocks one row of MCUs covers), the coefficients take as many bytes as the
// pixels they turn into (3 bytes a pixel for 4:2:0), and the output pass turns them into
// pixels from top to bottom. So the arrays sit in the block itself, iMCU row after iMCU row,
// far enough down that the pixel rows written never reach a coefficient row still to be read
// (block smoothing reads two iMCU rows back): decoding needs no memory beyond the block.
struct CoefficientLayout {
    struct Component {
        std::size_t rowBytes = 0;  // one row of blocks
        int rowsPerIMCU = 0;       // the component's vertical sampling factor
        std::size_t offset = 0;    // within an iMCU row
    };
    std::array<Component, MAX_COMPONENTS> components{};
    int componentCount = 0;
    std::size_t iMCURows = 0;
    std::size_t iMCUBytes = 0;
    std::size_t start = 0;  // of the first iMCU row, in the block

    // From the header (after jpeg_calc_output_dimensions), for pixel rows `stride` bytes apart
    // written at most `rowsAhead` rows past the output scanline.
    static CoefficientLayout of(const jpeg_decompress_struct& info, std::size_t stride,
                                std::size_t rowsAhead);
    std::size_t end() const { return start + iMCURows * iMCUBytes; }
};

// The decoder's working memory: libjpeg's whole-image coefficient arrays, the bulk of a
// progressive decode (as large as the decoded picture itself), come from here instead of
// libjpeg's pools; every other allocation stays libjpeg's own. Arrays of the layout go into the
// pixel block; any other array (a picture sampled unlike the layout) is mapped on its own, and
// once the output pass has begun, its rows go back to the kernel as the pass leaves them behind.
// Install it right after the decompression object is created; it must outlive that object.
class DecoderMemory {
  public:
    DecoderMemory() = default;
    DecoderMemory(const DecoderMemory&) = delete;
    DecoderMemory& operator=(const DecoderMemory&) = delete;

    void install(jpeg_decompress_struct& info);
    // The pixel block (at least layout.end() bytes; `zeroed` if all zero) that the arrays of
    // `layout` go into, and where the output pass writes its pixel rows.
    void shareBlock(std::uint8_t* block, bool zeroed, const CoefficientLayout& layout,
                    std::size_t stride, std::size_t rowsAhead);
    // Every later access to the arrays is the output pass's (all scans have been read).
    void beginOutput() { output_ = true; }

  private:
    struct Array {
        CoefficientRows rows;  // when not in the block
        bool inBlock = false;
        JDIMENSION zeroedRows = 0;  // in the block: rows cleared of the last picture so far
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
    bool fitsLayout(int index, const Array& array) const;
    bool stillUnwritten(j_common_ptr info, const std::uint8_t* row) const;
    void releaseArrays();

    jpeg_memory_mgr libjpeg_{};  // libjpeg's own methods
    std::array<Array, MAX_COMPONENTS> arrays_;
    int arrayCount_ = 0;
    bool output_ = false;

    std::uint8_t* block_ = nullptr;
    bool blockZeroed_ = false;  // fresh from the kernel
    CoefficientLayout layout_;
    std::size_t stride_ = 0;
    std::size_t rowsAhead_ = 0;
};

}  // namespace marventa
