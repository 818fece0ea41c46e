#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <map>
#include <span>
#include <sstream>
#include <string>

namespace marventa::fixtures {

// What a JPEG file's markers say about its frame and scans.
struct JpegLayout {
    int frameMarker = 0;  // 0xC2 for a progressive file
    int components = 0;
    std::string scans;  // the scan script in jpegtran's -scans notation, component indexes from 0
};

// Walks the markers, stepping over each scan's entropy-coded data. An unreadable file gives
// what was read up to the fault.
inline JpegLayout jpegLayout(std::span<const std::uint8_t> jpeg) {
    JpegLayout layout;
    std::map<int, int> componentIndex;  // component id -> position in the frame header
    std::size_t at = 2;                 // after SOI
    const auto u16 = [&jpeg](std::size_t i) { return jpeg[i] << 8 | jpeg[i + 1]; };
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const int marker = jpeg[at + 1];
        if (marker == 0xD9) {
            break;
        }
        const std::size_t length = static_cast<std::size_t>(u16(at + 2));
        const std::size_t body = at + 4;
        if (body + length - 2 > jpeg.size()) {
            break;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            layout.frameMarker = marker;
            layout.components = jpeg[body + 5];
            for (int c = 0; c < layout.components; ++c) {
                componentIndex[jpeg[body + 6 + 3 * static_cast<std::size_t>(c)]] = c;
            }
        }
        at = body + length - 2;
        if (marker != 0xDA) {
            continue;
        }
        // Start of scan: its components, spectral band and successive approximation.
        const int count = jpeg[body];
        std::ostringstream scan;
        for (int c = 0; c < count; ++c) {
            scan << (c > 0 ? "," : "") << componentIndex[jpeg[body + 1 + 2 * std::size_t(c)]];
        }
        const std::size_t band = body + 1 + 2 * static_cast<std::size_t>(count);
        scan << ": " << int(jpeg[band]) << "-" << int(jpeg[band + 1]) << ", "
             << (jpeg[band + 2] >> 4) << ", " << (jpeg[band + 2] & 15) << ";";
        layout.scans += (layout.scans.empty() ? "" : " ") + scan.str();
        // The entropy-coded data ends at the first marker other than a stuffed zero or a restart.
        while (at + 1 < jpeg.size() && !(jpeg[at] == 0xFF && jpeg[at + 1] != 0 &&
                                         (jpeg[at + 1] < 0xD0 || jpeg[at + 1] > 0xD7))) {
            ++at;
        }
    }
    return layout;
}

// The project's README, where the scan script the maps are written in is named.
inline std::string readmeText() {
    std::ifstream in(MARVENTA_README);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace marventa::fixtures
