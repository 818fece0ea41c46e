// Times the first decode of one picture in a fresh process, as at program start, where no
// memory has been reused yet, and optionally the decodes after it, each with a fresh display
// picture as when the window returns to a map. Prints wall-clock and CPU microseconds, one line
// per decode. Usage: first_decode [holder [decodes]]   (default: the province map, once)

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "pictures/picture.h"

namespace {

long long cpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const marventa::PictureHolder& holder = marventa::PictureSet::embedded().holder(
            argc > 1 ? std::string_view(argv[1]) : marventa::kProvinceHolder);
        const int decodes = argc > 2 ? std::atoi(argv[2]) : 1;
        for (int i = 0; i < decodes; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const long long cpuStart = cpuMicroseconds();
            const marventa::Picture shown = marventa::decode(holder);
            // Reading a pixel keeps the decode observable.
            volatile std::uint8_t firstPixel = shown.rgb()[0];
            static_cast<void>(firstPixel);
            const long long cpu = cpuMicroseconds() - cpuStart;
            const auto wall = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - start);
            std::printf("%lld %lld\n", static_cast<long long>(wall.count()), cpu);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "first_decode: %s\n", error.what());
        return 1;
    }
}
