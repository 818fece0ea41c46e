#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace marventa::testing {

// A 24-bit bitmap file whose pixels are given as RGB rows, top row first. A negative
// `storedHeight` writes the rows top-down.
inline std::vector<std::uint8_t> makeBitmap(int width, int storedHeight,
                                            const std::vector<std::uint8_t>& rgbTopDown) {
    const int height = storedHeight < 0 ? -storedHeight : storedHeight;
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const auto imageSize = static_cast<std::uint32_t>(rowBytes * height);
    std::vector<std::uint8_t> file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    file = {'B', 'M'};
    put(54 + imageSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(storedHeight), 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(imageSize, 4);
    put(7799, 4);
    put(7799, 4);
    put(0, 4);  // palette size
    put(0, 4);  // important colours
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

// The markers of a JPEG file up to its progressive frame header and an end marker: enough for
// the stream parser, which reads sizes but never decodes.
inline std::vector<std::uint8_t> makeFrameOnlyJpeg(int width, int height) {
    const auto hi = [](int v) { return static_cast<std::uint8_t>(v >> 8); };
    const auto lo = [](int v) { return static_cast<std::uint8_t>(v); };
    return {0xFF, 0xD8,                         // SOI
            0xFF, 0xE0, 0x00, 0x04, 'x',  'y',  // an application segment first
            0xFF, 0xC2, 0x00, 0x11, 8,    hi(height), lo(height), hi(width), lo(width), 3,
            1,    0x22, 0,    2,    0x11, 1,          3,          0x11,      1,  // three components
            0xFF, 0xD9};                                                         // EOI
}

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
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<std::uint8_t> read() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

}  // namespace marventa::testing
