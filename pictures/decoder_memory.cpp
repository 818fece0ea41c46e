#include "decoder_memory.h"

#include <jerror.h>

namespace marventa {

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

DecoderMemory& DecoderMemory::of(j_common_ptr info) {
    return *static_cast<DecoderMemory*>(info->client_data);
}

jvirt_barray_ptr DecoderMemory::request(j_common_ptr info, int pool, boolean,
                                        JDIMENSION blocksPerRow, JDIMENSION rows,
                                        JDIMENSION maxAccess) {
    // The rows come zero-filled from the kernel, so a request to pre-zero needs nothing more.
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
    return reinterpret_cast<jvirt_barray_ptr>(&array);
}

void DecoderMemory::realize(j_common_ptr info) {
    DecoderMemory& memory = of(info);
    memory.libjpeg_.realize_virt_arrays(info);
    for (int i = 0; i < memory.arrayCount_; ++i) {
        Array& array = memory.arrays_[static_cast<std::size_t>(i)];
        if (array.table != nullptr) {
            continue;
        }
        if (!array.rows.map(std::size_t{array.blocksPerRow} * sizeof(JBLOCK), array.rowCount)) {
            ERREXIT1(info, JERR_OUT_OF_MEMORY, 4);
        }
        array.table = static_cast<JBLOCKARRAY>(memory.libjpeg_.alloc_large(
            info, JPOOL_IMAGE, std::size_t{array.rowCount} * sizeof(JBLOCKROW)));
        for (JDIMENSION row = 0; row < array.rowCount; ++row) {
            array.table[row] = reinterpret_cast<JBLOCKROW>(array.rows.row(row));
        }
    }
}

JBLOCKARRAY DecoderMemory::access(j_common_ptr info, jvirt_barray_ptr handle, JDIMENSION first,
                                  JDIMENSION count, boolean) {
    DecoderMemory& memory = of(info);
    Array& array = *reinterpret_cast<Array*>(handle);
    if (array.table == nullptr || first + count > array.rowCount || count > array.maxAccess) {
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    }
    // The output pass never reads above `first` again. Should it ever go back, it is refused
    // rather than served rows that are gone.
    if (memory.output_ && !array.rows.keepFrom(first)) {
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    }
    return array.table + first;
}

void DecoderMemory::releaseArrays() {
    for (int i = 0; i < arrayCount_; ++i) {
        Array& array = arrays_[static_cast<std::size_t>(i)];
        array.rows.unmap();
        array.table = nullptr;
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
