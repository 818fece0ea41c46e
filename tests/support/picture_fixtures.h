#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>  // jpeglib.h uses FILE without including it
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <unistd.h>

#include "pictures/picture.h"

namespace marventa::fixtures {

using Bytes = std::vector<std::uint8_t>;

inline const PictureHolder& embedded(std::string_view name) {
    return PictureSet::embedded().holder(name);
}

// A 24-bit bitmap file whose pixels are given as RGB rows, top row first. A negative
// `storedHeight` writes the rows top-down.
inline Bytes makeBitmap(int width, int storedHeight, const Bytes& rgbTopDown) {
    const int height = std::abs(storedHeight);
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    Bytes file{'B', 'M'};
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const auto imageSize = static_cast<std::uint32_t>(rowBytes * height);
    for (const std::uint32_t value :
         {54 + imageSize, 0u, 54u, 40u, std::uint32_t(width), std::uint32_t(storedHeight)}) {
        put(value, 4);
    }
    put(1, 2);   // planes
    put(24, 2);  // bits per pixel
    for (const std::uint32_t value : {0u, imageSize, 7799u, 7799u, 0u, 0u}) {
        put(value, 4);
    }
    for (int stored = 0; stored < height; ++stored) {
        const int y = storedHeight > 0 ? height - 1 - stored : stored;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            file.insert(file.end(), {rgbTopDown[at + 2], rgbTopDown[at + 1], rgbTopDown[at]});
        }
        file.resize(file.size() + static_cast<std::size_t>(rowBytes - width * 3), 0);
    }
    return file;
}

// A JPEG of colour ramps encoded here: progressive or in one scan, and in colour with the luma
// sampled `lumaSampling` times as finely as the chroma each way (2: 4:2:0), or grey.
inline Bytes encodeJpeg(int width, int height, bool progressive, int lumaSampling, bool grey) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = lumaSampling;
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    Bytes row(static_cast<std::size_t>(width * info.input_components));
    while (info.next_scanline < info.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = static_cast<std::uint8_t>(i * 5 + info.next_scanline * (i % 3 + 1) * 3);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes file(out, out + size);
    std::free(out);
    return file;
}

// The JPEG with its first scan asking for an impossible progression: the header reads, so a
// holder knows the size, but the decode fails.
inline Bytes withBrokenFirstScan(std::span<const std::uint8_t> jpeg) {
    Bytes file(jpeg.begin(), jpeg.end());
    const std::uint8_t sos[] = {0xFF, 0xDA};
    const auto at = static_cast<std::size_t>(std::ranges::search(file, sos).begin() - file.begin());
    file.at(at + 6 + 2 * std::size_t{file.at(at + 4)}) = 63;  // a DC scan ending at coefficient 63
    return file;
}

// A stream of one picture record, and the set parsed from it.
struct OnePicture {
    OnePicture(std::string_view name, std::string_view tag, std::span<const std::uint8_t> bytes)
        : stream(record(name, tag, bytes)), set(stream) {}
    static Bytes record(std::string_view name, std::string_view tag,
                        std::span<const std::uint8_t> bytes) {
        Bytes stream;
        appendPictureRecord(stream, name, tag, bytes);
        return stream;
    }
    const PictureHolder& holder() const { return set.holders().front(); }

    Bytes stream;
    PictureSet set;
};

// A file in the test's temporary folder, removed again at the end of the scope. The process id
// in its name keeps tests that CTest runs in parallel from sharing a file.
class TempFile {
  public:
    explicit TempFile(const std::string& name)
        : path_(std::filesystem::path(::testing::TempDir()) /
                (std::to_string(::getpid()) + "-" + name)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { std::filesystem::remove(path_); }

    const std::filesystem::path& path() const { return path_; }

    void write(std::span<const std::uint8_t> bytes) const {
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    Bytes read() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

}  // namespace marventa::fixtures
