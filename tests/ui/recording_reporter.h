#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "ui/error_reporter.h"

namespace marventa {

// Keeps what would have been shown in the error box.
struct RecordingReporter : ErrorReporter {
    std::vector<std::pair<QString, QString>> shown;
    void report(const QString& title, const QString& text) override {
        shown.emplace_back(title, text);
    }
};

}  // namespace marventa
