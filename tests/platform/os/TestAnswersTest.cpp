// The test answers of the file dialog and the message box.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/os/FileDialog.h"
#include "platform/os/SystemMessageBox.h"
#include "platform/os/TestAnswers.h"

namespace {

class TestAnswersTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        unsetenv("TOLVENIC_TEST_FILE_ANSWER");
        unsetenv("TOLVENIC_TEST_MESSAGE_ANSWER");
    }
};

TEST_F(TestAnswersTest, FileDialogsReturnTheNamedPath)
{
    EXPECT_FALSE(os::TestFileAnswer().has_value());
    setenv("TOLVENIC_TEST_FILE_ANSWER", "/tmp/macro \xE5\xAE\x8F.xml", 1);
    for (const bool save : {false, true}) {
        os::FileDialogRequest request;
        request.save = save;
        EXPECT_EQ(os::ShowFileDialog(request), std::wstring(L"/tmp/macro 宏.xml"));
    }
}

TEST_F(TestAnswersTest, MessageBoxesReturnTheNamedButtonAndPrintWhatTheySay)
{
    setenv("TOLVENIC_TEST_MESSAGE_ANSWER", "6", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(os::SystemMessageBox(L"Delete it?", L"Macros", os::kMbYesNo), os::kIdYes);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("caption=\"Macros\""), std::string::npos) << printed;
    EXPECT_NE(printed.find("text=\"Delete it?\""), std::string::npos) << printed;

    for (const char* bad : {"", "yes", "1x"}) {
        setenv("TOLVENIC_TEST_MESSAGE_ANSWER", bad, 1);
        EXPECT_FALSE(os::TestMessageAnswer(L"t", L"c").has_value()) << bad;
    }
}

}  // namespace
