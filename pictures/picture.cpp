// From compressed bytes to pixels: the picture stream is parsed into holders, each reading its
// picture's size from the header; decode() turns a holder's bytes into a Picture, whose memory
// is one block recycled from decode to decode.

#include "picture.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>

#include <jerror.h>
#include <jpeglib.h>

// The packed stream, linked in from embedded_pictures.S.
extern "C" {
extern const std::uint8_t marventa_picture_stream[];
extern const std::uint64_t marventa_picture_stream_size;
}

namespace marventa {

namespace {

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

// Rows start on 4-byte boundaries, as toolkit images want them.
std::size_t rgbRowStride(int width) {
    return roundUp(static_cast<std::size_t>(width) * 3, 4);
}

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int size = 4) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

// ---- The memory of a decoded picture: one spare block kept between decodes ----

constexpr std::size_t kPage = 4096;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

struct Block {
    std::uint8_t* data = nullptr;
    std::size_t capacity = 0;
    bool fresh = false;  // all zero, as the kernel maps it
};

// Maps a block that starts on a huge-page boundary, with huge pages asked for: a decode writes
// all of it, in a dozen page faults instead of 6000. A huge page only partly used would be
// resident in full, so the ragged end stays on small pages. Mapped rather than taken from
// malloc, so it stays apart from the heap and goes back whole.
Block mapBlock(std::size_t size) {
    const std::size_t capacity = roundUp(size, kPage);
    void* mapped = mmap(nullptr, capacity + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* start = static_cast<std::uint8_t*>(mapped);
    auto* data = reinterpret_cast<std::uint8_t*>(
        roundUp(reinterpret_cast<std::uintptr_t>(start), kHugePage));
    if (data > start) {
        munmap(start, static_cast<std::size_t>(data - start));
    }
    munmap(data + capacity, static_cast<std::size_t>(start + kHugePage - data));
    madvise(data, capacity / kHugePage * kHugePage, MADV_HUGEPAGE);
    return {data, capacity, true};
}

// Trivially destructible on purpose: a picture dropped during exit (the embedded set's unused
// decode-ahead) hands its block back after this object's lifetime would otherwise have ended.
struct Spare {
    std::mutex mutex;
    Block block;
};
static_assert(std::is_trivially_destructible_v<Spare>);

Spare& spare() {
    static Spare instance;
    return instance;
}

Block takeBlock(std::size_t size) {
    {
        const std::lock_guard lock(spare().mutex);
        if (spare().block.capacity >= size) {
            return std::exchange(spare().block, Block{});
        }
    }
    return mapBlock(size);
}

}  // namespace

// Keeps the larger of the block and the spare. A block under a huge page (the overview bitmap's)
// goes back at once: no map's decode could use it, and it is cheap to map again.
void Picture::GiveBack::operator()(std::uint8_t* data) const {
    Block block{data, capacity, false};
    if (capacity >= kHugePage) {
        const std::lock_guard lock(spare().mutex);
        if (spare().block.capacity < block.capacity) {
            std::swap(spare().block, block);
        }
    }
    if (block.data != nullptr) {
        munmap(block.data, block.capacity);
    }
}

namespace {

// ---- Bitmaps: uncompressed 24-bit files ----

struct BitmapLayout {
    int width = 0;
    int height = 0;
    bool bottomUp = true;  // a positive height in the file
    std::size_t pixelOffset = 0;
    std::size_t storedRowBytes = 0;  // width * 3 padded to 4
};

BitmapLayout readBitmapLayout(std::span<const std::uint8_t> file) {
    constexpr std::size_t kHeaderBytes = 14 + 40;  // file header, information header
    constexpr std::int64_t kMaxSide = 1 << 16;     // keeps every size well inside 64 bits
    const auto fail = [](const std::string& what) { throw PictureStreamError("bitmap: " + what); };
    if (file.size() < kHeaderBytes || file[0] != 'B' || file[1] != 'M') {
        fail("no \"BM\" file with both headers");
    }
    const auto width = static_cast<std::int32_t>(littleEndian(file, 18));
    const auto height = static_cast<std::int32_t>(littleEndian(file, 22));
    if (littleEndian(file, 14) < 40 || width <= 0 || width > kMaxSide || height == 0 ||
        std::abs(std::int64_t{height}) > kMaxSide) {
        fail("bad size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (littleEndian(file, 26, 2) != 1 || littleEndian(file, 28, 2) != 24 ||
        littleEndian(file, 30) != 0) {
        fail("not an uncompressed single-plane 24-bit picture");
    }
    const BitmapLayout layout{width, std::abs(height), height > 0, littleEndian(file, 10),
                              rgbRowStride(width)};
    if (layout.pixelOffset < kHeaderBytes ||
        layout.pixelOffset + layout.storedRowBytes * static_cast<std::size_t>(layout.height) >
            file.size()) {
        fail("pixel data outside the file");
    }
    return layout;
}

void decodeBitmap(std::span<const std::uint8_t> file, std::uint8_t* rgb, std::size_t stride) {
    const BitmapLayout layout = readBitmapLayout(file);
    for (int y = 0; y < layout.height; ++y) {
        const int stored = layout.bottomUp ? layout.height - 1 - y : y;
        const std::uint8_t* bgr = file.data() + layout.pixelOffset +
                                  layout.storedRowBytes * static_cast<std::size_t>(stored);
        std::uint8_t* out = rgb + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < layout.width * 3; x += 3) {
            out[x] = bgr[x + 2];
            out[x + 1] = bgr[x + 1];
            out[x + 2] = bgr[x];
        }
    }
}

// ---- JPEG: libjpeg ----

// Rows per jpeg_read_scanlines call: libjpeg hands over whole row groups at once.
constexpr JDIMENSION kRowsPerCall = 16;

struct ErrorTrap {
    jpeg_error_mgr manager;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Where a progressive picture's whole-image coefficient arrays go: into its own pixel block, so
// that decoding needs no memory beyond it. Per iMCU row (the block rows one row of MCUs covers),
// 4:2:0 coefficients take about as many bytes as the pixels they turn into, and the output pass
// turns them into pixels from top to bottom. So the arrays sit iMCU row after iMCU row, far
// enough down the block that the pixel rows written never reach a coefficient row still to be
// read.
struct CoefficientLayout {
    std::size_t start = 0;      // of iMCU row 0, in the block
    std::size_t iMCUBytes = 0;  // one iMCU row of every component
    std::size_t iMCURows = 0;
    std::size_t end() const { return start + iMCURows * iMCUBytes; }
};

// None for a single-scan picture (it needs no such arrays), or where the coefficients take
// clearly more than the pixels (full-size chroma: twice): there libjpeg's own arrays serve.
std::optional<CoefficientLayout> layoutOf(jpeg_decompress_struct& info, std::size_t stride) {
    if (!jpeg_has_multiple_scans(&info)) {
        return std::nullopt;
    }
    CoefficientLayout layout{0, 0, info.total_iMCU_rows};
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        layout.iMCUBytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                            sizeof(JBLOCK) * static_cast<std::size_t>(component.v_samp_factor);
    }
    const auto pixels = static_cast<long long>(info.max_v_samp_factor) * DCTSIZE *
                        static_cast<long long>(stride);  // per iMCU row
    const auto coefficients = static_cast<long long>(layout.iMCUBytes);
    if (coefficients > pixels + pixels / 8) {
        return std::nullopt;
    }
    // Smoothing iMCU row m reads from row m - 2 on, while the pixel rows written reach at most
    // to the end of row m + 1, plus one read_scanlines call. The gap is linear in m, so its two
    // ends bound it.
    const auto ahead = static_cast<long long>(kRowsPerCall * stride);
    long long start = 0;
    for (const long long m : {0LL, static_cast<long long>(layout.iMCURows) - 1}) {
        start = std::max(start, (m + 2) * pixels + ahead - (m - 2) * coefficients);
    }
    layout.start = static_cast<std::size_t>(start);
    return layout;
}

// libjpeg's memory manager with the whole-image coefficient arrays placed in the pixel block by
// the layout; every other allocation stays libjpeg's own. Installed for one decode, it lives
// until libjpeg has finished with the arrays.
class BlockArrays {
  public:
    BlockArrays(jpeg_decompress_struct& info, const Block& block, const CoefficientLayout& layout,
                std::size_t stride)
        : block_(block), layout_(layout), stride_(stride), libjpeg_(*info.mem) {
        info.client_data = this;
        info.mem->request_virt_barray = request;
        info.mem->realize_virt_arrays = realize;
        info.mem->access_virt_barray = access;
    }
    BlockArrays(const BlockArrays&) = delete;
    BlockArrays& operator=(const BlockArrays&) = delete;

  private:
    struct Array {
        JDIMENSION blocksPerRow = 0;
        JDIMENSION rows = 0;
        JDIMENSION maxAccess = 0;
        JDIMENSION zeroedRows = 0;  // cleared of the last picture so far
        JBLOCKARRAY table = nullptr;
    };

    static BlockArrays& of(j_common_ptr info) {
        return *static_cast<BlockArrays*>(info->client_data);
    }

    // libjpeg's error exit longjmps out of these: nothing in them holds a destructor.

    static jvirt_barray_ptr request(j_common_ptr info, int pool, boolean, JDIMENSION blocksPerRow,
                                    JDIMENSION rows, JDIMENSION maxAccess) {
        BlockArrays& self = of(info);
        if (pool != JPOOL_IMAGE || self.count_ == MAX_COMPONENTS) {
            ERREXIT(info, JERR_VIRTUAL_BUG);
        }
        // A fresh block is all zero, as a request to pre-zero wants; a recycled one is cleared
        // row by row in access().
        Array& array = self.arrays_[static_cast<std::size_t>(self.count_++)];
        array = {blocksPerRow, rows, maxAccess, self.block_.fresh ? rows : 0, nullptr};
        return reinterpret_cast<jvirt_barray_ptr>(&array);
    }

    // One array per component, in component order: side by side within each iMCU row.
    static void realize(j_common_ptr info) {
        BlockArrays& self = of(info);
        self.libjpeg_.realize_virt_arrays(info);
        const std::size_t iMCURows = self.layout_.iMCURows;
        std::size_t offset = 0;
        for (int i = 0; i < self.count_; ++i) {
            Array& array = self.arrays_[static_cast<std::size_t>(i)];
            const std::size_t rowBytes = std::size_t{array.blocksPerRow} * sizeof(JBLOCK);
            const std::size_t perIMCU = array.rows / iMCURows;
            if (perIMCU == 0 || perIMCU * iMCURows != array.rows) {
                ERREXIT(info, JERR_VIRTUAL_BUG);  // not the layout's array
            }
            array.table = static_cast<JBLOCKARRAY>(self.libjpeg_.alloc_small(
                info, JPOOL_IMAGE, std::size_t{array.rows} * sizeof(JBLOCKROW)));
            for (std::size_t row = 0; row < array.rows; ++row) {
                array.table[row] = reinterpret_cast<JBLOCKROW>(
                    self.block_.data + self.layout_.start + row / perIMCU * self.layout_.iMCUBytes +
                    offset + row % perIMCU * rowBytes);
            }
            offset += perIMCU * rowBytes;
        }
        if (offset != self.layout_.iMCUBytes) {
            ERREXIT(info, JERR_VIRTUAL_BUG);
        }
    }

    static JBLOCKARRAY access(j_common_ptr info, jvirt_barray_ptr handle, JDIMENSION first,
                              JDIMENSION count, boolean) {
        BlockArrays& self = of(info);
        Array& array = *reinterpret_cast<Array*>(handle);
        const JDIMENSION end = first + count;
        if (array.table == nullptr || end > array.rows || count > array.maxAccess) {
            ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        }
        // As libjpeg does with its own arrays: rows are cleared as they are first reached,
        // while they are about to be used anyway.
        for (; array.zeroedRows < end; ++array.zeroedRows) {
            std::memset(array.table[array.zeroedRows], 0, array.blocksPerRow * sizeof(JBLOCK));
        }
        // The pixels written so far, and by the read_scanlines call under way, must not have
        // reached the rows asked for: should libjpeg ever read further back, it is refused
        // rather than served rows that are gone.
        const JDIMENSION scanline = reinterpret_cast<j_decompress_ptr>(info)->output_scanline;
        const std::uint8_t* written = self.block_.data + (scanline + kRowsPerCall) * self.stride_;
        if (reinterpret_cast<const std::uint8_t*>(array.table[first]) < written) {
            ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        }
        return array.table + first;
    }

    Block block_;
    CoefficientLayout layout_;
    std::size_t stride_;
    jpeg_memory_mgr libjpeg_;  // libjpeg's own methods
    std::array<Array, MAX_COMPONENTS> arrays_;
    int count_ = 0;
};

// The decompression object with the header read and the decode set up, destroyed on every way
// out. A fatal error longjmps back into the function that called libjpeg and leaves it as
// JpegError; the frames it skips are libjpeg's and hold nothing with a destructor.
class Decompressor {
  public:
    explicit Decompressor(std::span<const std::uint8_t> file) {
        info_.err = jpeg_std_error(&trap_.manager);
        trap_.manager.error_exit = jumpOut;
        trap_.manager.emit_message = [](j_common_ptr, int) {};
        trap_.manager.output_message = [](j_common_ptr) {};
        if (setjmp(trap_.jump) != 0) {
            jpeg_destroy_decompress(&info_);  // safe on a half-made object
            throw JpegError(trap_.manager.msg_code);
        }
        jpeg_create_decompress(&info_);
        jpeg_mem_src(&info_, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&info_, TRUE);
        info_.scale_num = 1;
        info_.scale_denom = 1;
        info_.out_color_space = JCS_RGB;
        info_.dct_method = JDCT_ISLOW;
        info_.do_block_smoothing = TRUE;
        info_.quantize_colors = FALSE;
        info_.buffered_image = FALSE;
        jpeg_calc_output_dimensions(&info_);
        stride_ = rgbRowStride(static_cast<int>(info_.output_width));
        layout_ = layoutOf(info_, stride_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() { jpeg_destroy_decompress(&info_); }

    int width() const { return static_cast<int>(info_.output_width); }
    int height() const { return static_cast<int>(info_.output_height); }
    // What the decode writes: the pixels, and the coefficient arrays where they go.
    std::size_t decodeBytes() const {
        return std::max(stride_ * info_.output_height, layout_ ? layout_->end() : 0);
    }

    // Decodes into the block (at least decodeBytes() long), rows rgbRowStride(width) apart.
    void decodeInto(const Block& block) {
        std::optional<BlockArrays> arrays;
        if (layout_) {
            arrays.emplace(info_, block, *layout_, stride_);
        }
        JSAMPROW rows[kRowsPerCall];
        if (setjmp(trap_.jump) != 0) {
            throw JpegError(trap_.manager.msg_code);
        }
        jpeg_start_decompress(&info_);
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION first = info_.output_scanline;
            const JDIMENSION count = std::min(kRowsPerCall, info_.output_height - first);
            for (JDIMENSION i = 0; i < count; ++i) {
                rows[i] = block.data + (first + i) * stride_;
            }
            if (jpeg_read_scanlines(&info_, rows, count) == 0) {
                break;  // cannot happen with a memory source; finish reports the short image
            }
        }
        jpeg_finish_decompress(&info_);
    }

  private:
    ErrorTrap trap_;
    jpeg_decompress_struct info_{};
    std::size_t stride_ = 0;
    std::optional<CoefficientLayout> layout_;
};

// ---- The picture stream ----

// Reads the stream front to back; every read checks the bytes left first.
class StreamReader {
  public:
    explicit StreamReader(std::span<const std::uint8_t> stream) : rest_(stream) {}

    bool atEnd() const { return rest_.empty(); }

    std::string_view text(const std::string& what) {
        if (rest_.empty() || rest_[0] == 0) {
            fail(rest_.empty() ? "truncated before the length of the " + what : "empty " + what);
        }
        const auto chars = bytes(1 + std::size_t{rest_[0]}, what).subspan(1);
        return {reinterpret_cast<const char*>(chars.data()), chars.size()};
    }

    std::span<const std::uint8_t> bytes(std::size_t size, const std::string& what) {
        if (size > rest_.size()) {
            fail("truncated " + what + ": " + std::to_string(size) + " bytes needed, " +
                 std::to_string(rest_.size()) + " left");
        }
        const auto taken = rest_.first(size);
        rest_ = rest_.subspan(size);
        return taken;
    }

  private:
    [[noreturn]] static void fail(const std::string& what) {
        throw PictureStreamError("picture stream: " + what);
    }

    std::span<const std::uint8_t> rest_;
};

}  // namespace

JpegError::JpegError(int code)
    : std::runtime_error("JPEG error #" + std::to_string(code)), code_(code) {}

PictureHolder::PictureHolder(const PictureSet& set, std::string name, PictureKind kind,
                             std::span<const std::uint8_t> bytes)
    : set_(&set), name_(std::move(name)), kind_(kind), bytes_(bytes) {
    try {
        if (kind_ == PictureKind::Bitmap) {
            const BitmapLayout layout = readBitmapLayout(bytes_);
            width_ = layout.width;
            height_ = layout.height;
            blockBytes_ = rgbRowStride(width_) * static_cast<std::size_t>(height_);
        } else {
            const Decompressor header(bytes_);
            width_ = header.width();
            height_ = header.height();
            blockBytes_ = header.decodeBytes();
        }
    } catch (const std::runtime_error& error) {
        throw PictureStreamError("picture \"" + name_ + "\": " + error.what());
    }
}

PictureSet::PictureSet(std::span<const std::uint8_t> stream) {
    if (stream.empty()) {
        throw PictureStreamError("picture stream: empty");
    }
    StreamReader reader(stream);
    while (!reader.atEnd()) {
        std::string name(reader.text("picture name"));
        const std::string_view tag = reader.text("kind tag");
        if (tag != kJpegTag && tag != kBitmapTag) {
            throw PictureStreamError("picture stream: unknown kind tag \"" + std::string(tag) +
                                     "\" for picture \"" + name + "\"");
        }
        const auto count = littleEndian(reader.bytes(4, "byte count of \"" + name + "\""), 0);
        const auto bytes = reader.bytes(count, "bytes of \"" + name + "\"");
        if (std::ranges::any_of(holders_, [&](const auto& h) { return h.name() == name; })) {
            throw PictureStreamError("picture stream: picture \"" + name + "\" appears twice");
        }
        const PictureKind kind = tag == kJpegTag ? PictureKind::Jpeg : PictureKind::Bitmap;
        holders_.push_back(PictureHolder(*this, std::move(name), kind, bytes));
    }
    std::size_t largest = 0;
    for (const PictureHolder& holder : holders_) {
        if (holder.kind() == PictureKind::Jpeg) {
            largest = std::max(largest, holder.blockBytes_);
        }
    }
    for (PictureHolder& holder : holders_) {
        if (holder.kind() == PictureKind::Jpeg) {
            holder.blockBytes_ = largest;
        }
    }
}

const PictureSet& PictureSet::embedded() {
    static const PictureSet set(
        {marventa_picture_stream, static_cast<std::size_t>(marventa_picture_stream_size)});
    return set;
}

const PictureHolder& PictureSet::holder(std::string_view name) const {
    const auto found = std::ranges::find(holders_, name, &PictureHolder::name);
    if (found == holders_.end()) {
        throw PictureStreamError("no picture named \"" + std::string(name) + "\"");
    }
    return *found;
}

// ---- Decoding ----

Picture Picture::decodeHere(const PictureHolder& holder) {
    const Block block = takeBlock(holder.blockBytes_);
    Picture picture;
    picture.pixels_ = {block.data, GiveBack{block.capacity}};
    picture.width_ = holder.width();
    picture.height_ = holder.height();
    const std::size_t stride = rgbRowStride(holder.width());
    picture.stride_ = static_cast<int>(stride);
    if (holder.kind() == PictureKind::Bitmap) {
        decodeBitmap(holder.bytes(), block.data, stride);
    } else {
        Decompressor(holder.bytes()).decodeInto(block);
    }
    return picture;
}

// A decode on a worker thread. The worker is joined by take() or by the destructor: it never
// outlives this object.
struct PictureSet::Prefetch {
    explicit Prefetch(const PictureHolder& holder) : holder(&holder) {}
    ~Prefetch() {
        if (worker.joinable()) {
            worker.join();
        }
    }

    Picture take() {
        worker.join();
        if (error) {
            std::rethrow_exception(error);
        }
        return std::move(picture);
    }

    const PictureHolder* holder;
    Picture picture;
    std::exception_ptr error;
    std::thread worker;
};

PictureSet::~PictureSet() = default;

void PictureSet::prefetch(const PictureHolder& holder) const {
    if (holder.set_ != this) {
        throw std::invalid_argument("prefetch: \"" + holder.name() + "\" is not of this set");
    }
    prefetch_.reset();
    auto ahead = std::make_unique<Prefetch>(holder);
    try {
        ahead->worker = std::thread([&ahead = *ahead] {
            try {
                ahead.picture = Picture::decodeHere(*ahead.holder);
            } catch (...) {
                ahead.error = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return;  // no thread to be had: decode() decodes when the pixels are needed
    }
    prefetch_ = std::move(ahead);
}

Picture decode(const PictureHolder& holder) {
    std::unique_ptr<PictureSet::Prefetch>& ahead = holder.set_->prefetch_;
    if (ahead && ahead->holder == &holder) {
        return std::exchange(ahead, nullptr)->take();
    }
    return Picture::decodeHere(holder);
}

}  // namespace marventa
