#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace {

// Names are measured with the map's fonts, which need the application; it ends with the tests,
// before the program's exit.
class Application : public ::testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QGuiApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "tools_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const application =
    ::testing::AddGlobalTestEnvironment(std::make_unique<Application>().release());

}  // namespace
