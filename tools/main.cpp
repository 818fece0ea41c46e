// marventa-generate [repository root]: paints every picture of the world and writes them into
// pictures/assets/ and ui/icons/. The same inputs always give the same bytes.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "byte_writer.h"
#include "icon.h"

namespace fs = std::filesystem;
using namespace marventa;

namespace {

void report(const fs::path& file, std::size_t bytes) {
    std::printf("%-28s %9zu bytes\n", file.filename().string().c_str(), bytes);
}

void writeIcons(const fs::path& dir) {
    fs::create_directories(dir);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const fs::path file = dir / ("marventa-" + std::to_string(size) + ".png");
        if (!paintIcon(size).save(QString::fromStdString(file.string()), "PNG")) {
            throw std::runtime_error("cannot write " + file.string());
        }
        report(file, fs::file_size(file));
    }
    const std::vector<IconImage> images{quantiseIcon(paintIcon(32, false), 4),
                                        quantiseIcon(paintIcon(16, false), 4),
                                        quantiseIcon(paintIcon(32), 8)};
    const std::vector<std::uint8_t> ico = encodeIco(images);
    writeFileBytes(dir / "marventa.ico", ico);
    report(dir / "marventa.ico", ico.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(MARVENTA_SOURCE_DIR);
    const auto start = std::chrono::steady_clock::now();
    try {
        writeIcons(root / "ui" / "icons");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "marventa-generate: %s\n", e.what());
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("generated in %.1f s\n", took.count());
    return 0;
}
