#include "decoder_memory.h"

#include <algorithm>
#include <cstring>

#include <jerror.h>

namespace marventa {

CoefficientLayout CoefficientLayout::of(const jpeg_decompress_struct& info, std::size_t stride,
                                        std::size_t rowsAhead) {
    CoefficientLayout layout;
    layout.componentCount = std::min(info.num_components, MAX_COMPONENTS);
    layout.iMCURows = info.total_iMCU_rows;
    for (int c = 0; c < layout.componentCount; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        const auto roundUp = [](std::size_t value, std::size_t step) {
            return (value + step - 1) / step * step;
        };
        CoefficientLayout::Component& placed = layout.components[static_cast<std::size_t>(c)];
        placed.rowBytes =
            roundUp(component.width_in_blocks, component.h_samp_factor) * sizeof(JBLOCK);
        placed.rowsPerIMCU = component.v_samp_factor;
        placed.offset = layout.iMCUBytes;
        layout.iMCUBytes += placed.rowBytes * static_cast<std::size_t>(component.v_samp_factor);
    }
    // Smoothing iMCU row m reads from row m - 2 on, while the pixel rows written reach at most
    // to the end of row m + 1, plus the rows of one read_scanlines call. The gap is linear in
    // m, so its two ends bound it.
    const auto pixelsPerIMCU =
        static_cast<long long>(info.max_v_samp_factor) * DCTSIZE * static_cast<long long>(stride);
    const auto coefficients = static_cast<long long>(layout.iMCUBytes);
    const auto ahead = static_cast<long long>(rowsAhead * stride);
    long long start = 0;
    for (const long long m : {0LL, static_cast<long long>(layout.iMCURows) - 1}) {
        start = std::max(start, (m + 2) * pixelsPerIMCU + ahead - (m - 2) * coefficients);
    }
    layout.start = static_cast<std::size_t>(start);
    return layout;
}

// libjpeg's error exit longjmps out of these callbacks: nothing in them holds a destructor.

void DecoderMemory::install(jpeg_decompress_struct& info) {
    info.client_data = this;
    libjpeg_ = *info.mem;
    info.mem->request_virt_barray = request;
    info.mem->realize_virt_arrays = realize;
    info.mem->access_virt_barray = access;
    info.mem->free_pool = freePool;
    info.mem->self_destruct = selfDestruct;
}

void DecoderMemory::shareBlock(std::uint8_t* block, bool zeroed, const CoefficientLayout& layout,
                               std::size_t stride, std::size_t rowsAhead) {
    block_ = block;
    blockZeroed_ = zeroed;
    layout_ = layout;
    stride_ = stride;
    rowsAhead_ = rowsAhead;
}

DecoderMemory& DecoderMemory::of(j_common_ptr info) {
    return *static_cast<DecoderMemory*>(info->client_data);
}

jvirt_barray_ptr DecoderMemory::request(j_common_ptr info, int pool, boolean,
                                        JDIMENSION blocksPerRow, JDIMENSION rows,
                                        JDIMENSION maxAccess) {
    // The rows come zero-filled, so a request to pre-zero needs nothing more.
    DecoderMemory& memory = of(info);
    if (pool != JPOOL_IMAGE) {
        ERREXIT1(info, JERR_BAD_POOL_ID, pool);
    }
    if (memory.arrayCount_ == static_cast<int>(memory.arrays_.size())) {
        ERREXIT(info, JERR_VIRTUAL_BUG);
    }
    Array& array = memory.arrays_[static_cast<std::size_t>(memory.arrayCount_++)];
    array.blocksPerRow = blocksPerRow;
    array.rowCount = rows;
    array.maxAccess = maxAccess;
    array.table = nullptr;
    array.inBlock = false;
    return reinterpret_cast<jvirt_barray_ptr>(&array);
}

// libjpeg asks for one array per component, in component order.
bool DecoderMemory::fitsLayout(int index, const Array& array) const {
    if (block_ == nullptr || index >= layout_.componentCount) {
        return false;
    }
    const CoefficientLayout::Component& placed =
        layout_.components[static_cast<std::size_t>(index)];
    return std::size_t{array.blocksPerRow} * sizeof(JBLOCK) == placed.rowBytes &&
           std::size_t{array.rowCount} ==
               layout_.iMCURows * static_cast<std::size_t>(placed.rowsPerIMCU);
}

void DecoderMemory::realize(j_common_ptr info) {
    DecoderMemory& memory = of(info);
    memory.libjpeg_.realize_virt_arrays(info);
    for (int i = 0; i < memory.arrayCount_; ++i) {
        Array& array = memory.arrays_[static_cast<std::size_t>(i)];
        if (array.table != nullptr) {
            continue;
        }
        array.table = static_cast<JBLOCKARRAY>(memory.libjpeg_.alloc_large(
            info, JPOOL_IMAGE, std::size_t{array.rowCount} * sizeof(JBLOCKROW)));
        if (memory.fitsLayout(i, array)) {
            const CoefficientLayout& layout = memory.layout_;
            const CoefficientLayout::Component& placed =
                layout.components[static_cast<std::size_t>(i)];
            const auto perIMCU = static_cast<JDIMENSION>(placed.rowsPerIMCU);
            for (JDIMENSION row = 0; row < array.rowCount; ++row) {
                array.table[row] = reinterpret_cast<JBLOCKROW>(
                    memory.block_ + layout.start + (row / perIMCU) * layout.iMCUBytes +
                    placed.offset + (row % perIMCU) * placed.rowBytes);
            }
            array.inBlock = true;
            array.zeroedRows = memory.blockZeroed_ ? array.rowCount : 0;
            continue;
        }
        if (!array.rows.map(std::size_t{array.blocksPerRow} * sizeof(JBLOCK), array.rowCount)) {
            ERREXIT1(info, JERR_OUT_OF_MEMORY, 4);
        }
        for (JDIMENSION row = 0; row < array.rowCount; ++row) {
            array.table[row] = reinterpret_cast<JBLOCKROW>(array.rows.row(row));
        }
        array.zeroedRows = array.rowCount;  // freshly mapped
    }
}

// No pixel row written so far, nor in the read_scanlines call under way, reaches `row`.
bool DecoderMemory::stillUnwritten(j_common_ptr info, const std::uint8_t* row) const {
    const JDIMENSION scanline = reinterpret_cast<j_decompress_ptr>(info)->output_scanline;
    return row >= block_ + (std::size_t{scanline} + rowsAhead_) * stride_;
}

JBLOCKARRAY DecoderMemory::access(j_common_ptr info, jvirt_barray_ptr handle, JDIMENSION first,
                                  JDIMENSION count, boolean) {
    DecoderMemory& memory = of(info);
    Array& array = *reinterpret_cast<Array*>(handle);
    if (array.table == nullptr || first + count > array.rowCount || count > array.maxAccess) {
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    }
    if (array.zeroedRows < first + count) {
        // A recycled block holds the last picture. Rows are cleared as they are first reached,
        // as libjpeg does, while they are about to be used anyway.
        const std::size_t rowBytes = std::size_t{array.blocksPerRow} * sizeof(JBLOCK);
        for (JDIMENSION row = array.zeroedRows; row < first + count; ++row) {
            std::memset(array.table[row], 0, rowBytes);
        }
        array.zeroedRows = first + count;
    }
    if (memory.output_) {
        // The output pass never reads above `first` again. Should it ever go back, or catch up
        // with the pixels, it is refused rather than served rows that are gone.
        const bool intact =
            array.inBlock
                ? memory.stillUnwritten(info, reinterpret_cast<std::uint8_t*>(array.table[first]))
                : array.rows.keepFrom(first);
        if (!intact) {
            ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        }
    }
    return array.table + first;
}

void DecoderMemory::releaseArrays() {
    for (int i = 0; i < arrayCount_; ++i) {
        Array& array = arrays_[static_cast<std::size_t>(i)];
        array.rows.unmap();
        array.table = nullptr;
        array.inBlock = false;
    }
    arrayCount_ = 0;
    output_ = false;
}

void DecoderMemory::freePool(j_common_ptr info, int pool) {
    DecoderMemory& memory = of(info);
    if (pool == JPOOL_IMAGE) {
        memory.releaseArrays();
    }
    memory.libjpeg_.free_pool(info, pool);
}

void DecoderMemory::selfDestruct(j_common_ptr info) {
    DecoderMemory& memory = of(info);
    memory.releaseArrays();
    memory.libjpeg_.self_destruct(info);
}

}  // namespace marventa
