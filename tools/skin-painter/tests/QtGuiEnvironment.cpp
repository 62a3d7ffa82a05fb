// One Qt GUI application for the whole test program: drawing texts needs fonts.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace {

class QtGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "skin_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtGuiEnvironment);

}  // namespace
