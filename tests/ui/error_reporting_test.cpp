#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <stdexcept>
#include <utility>
#include <vector>

#include "recording_reporter.h"
#include "ui/application.h"
#include "ui/error_reporter.h"

namespace marventa {
namespace {

TEST(ApplicationTitle, IsTheFileNameUpToTheFirstFullStopLoweredAfterItsFirstCharacter) {
    const std::pair<const char*, const char*> rows[] = {
        {"marventa", "marventa"},
        {"MARVENTA.EXE", "Marventa"},
        {"map.of.marventa", "map"},
        {"mapOfMarventa", "mapofmarventa"},
        {".hidden", ""},
        {"", ""},
    };
    for (const auto& [file, title] : rows) {
        EXPECT_EQ(applicationTitle(QString::fromLatin1(file)), QString::fromLatin1(title)) << file;
    }
}

TEST(ErrorBoxText, GetsAFullStopOnlyWhenTheLastCharacterSortsAfterIt) {
    const std::pair<const char*, const char*> rows[] = {
        {"JPEG error #42", "JPEG error #42."},
        {"'12a' is not a valid integer value", "'12a' is not a valid integer value."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"trailing space ", "trailing space "},
        {"ends in a dash -", "ends in a dash -"},  // '-' sorts before '.'
        {"a path/", "a path/."},                   // '/' sorts after it
        {"", ""},
    };
    for (const auto& [message, text] : rows) {
        EXPECT_EQ(errorBoxText(QString::fromLatin1(message)), QString::fromLatin1(text)) << message;
    }
}

TEST(ApplicationErrors, AnErrorEscapingAnEventIsShownAndTheLoopGoesOn) {
    auto& app = static_cast<Application&>(*QCoreApplication::instance());
    RecordingReporter reporter;
    app.setErrorReporter(&reporter);

    bool laterEventRan = false;
    QTimer::singleShot(0, &app,
                       [] { throw std::runtime_error("'x1' is not a valid integer value"); });
    QTimer::singleShot(0, &app, [&laterEventRan] { laterEventRan = true; });
    for (int i = 0; i < 10 && !laterEventRan; ++i) {
        QCoreApplication::processEvents();
    }
    app.setErrorReporter(nullptr);

    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].first, app.title());
    EXPECT_FALSE(app.title().isEmpty());
    EXPECT_EQ(reporter.shown[0].second, QStringLiteral("'x1' is not a valid integer value."));
    EXPECT_TRUE(laterEventRan);
}

}  // namespace
}  // namespace marventa
