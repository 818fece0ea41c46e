#pragma once

#include <QString>
#include <string_view>

namespace marventa {

// The core's texts are UTF-8.
inline QString fromCore(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace marventa
