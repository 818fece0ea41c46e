// Widget tests run inside the program's own application object (its style, fonts and error
// handling), on the offscreen platform unless told otherwise.

#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    marventa::Application app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
