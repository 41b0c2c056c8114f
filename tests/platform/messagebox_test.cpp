// Who answers a message box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace {

struct Shown {
    std::string text, caption;
    MessageButtons buttons;
    MessageIcon icon;
};
Shown lastShown;

MessageAnswer answerNo(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon) {
    lastShown = {text, caption, buttons, icon};
    return MessageAnswer::No;
}

class EnvMessageBox : public testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("VORTIQ_MESSAGEBOX");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
    }
    void TearDown() override {
        if (hadOld_)
            setenv("VORTIQ_MESSAGEBOX", old_.c_str(), 1);
        else
            unsetenv("VORTIQ_MESSAGEBOX");
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace

TEST(MessageBoxHandler, ReceivesTheBoxAndAnswers) {
    setMessageBoxHandler(answerNo);
    EXPECT_EQ(messageBox("Question?", "Tarn GL", MessageButtons::YesNo, MessageIcon::Exclamation), MessageAnswer::No);
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(lastShown.text, "Question?");
    EXPECT_EQ(lastShown.caption, "Tarn GL");
    EXPECT_EQ(lastShown.buttons, MessageButtons::YesNo);
    EXPECT_EQ(lastShown.icon, MessageIcon::Exclamation);
}

TEST_F(EnvMessageBox, PrintGoesToStandardErrorWithTheDefaultAnswer) {
    setenv("VORTIQ_MESSAGEBOX", "print", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox("Window Creation Error.", "ERROR", MessageButtons::Ok, MessageIcon::Exclamation),
              MessageAnswer::Ok);
    EXPECT_EQ(messageBox("Use Windowed Mode Instead?", "Tarn GL", MessageButtons::YesNo, MessageIcon::Exclamation),
              MessageAnswer::Yes);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("ERROR: Window Creation Error."), std::string::npos) << printed;
    EXPECT_NE(printed.find("Tarn GL: Use Windowed Mode Instead?"), std::string::npos) << printed;
}

TEST_F(EnvMessageBox, AnswerNoIsGivenToQuestionsOnly) {
    setenv("VORTIQ_MESSAGEBOX", "no", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox("Q", "C", MessageButtons::YesNo, MessageIcon::Exclamation), MessageAnswer::No);
    EXPECT_EQ(messageBox("T", "C", MessageButtons::Ok, MessageIcon::Stop), MessageAnswer::Ok);
    testing::internal::GetCapturedStderr();
}
