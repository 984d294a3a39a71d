// Dialog tests on a program folder of their own: the user's messages are
// recorded instead of shown, confirmations answered from a queue (Yes once it
// is empty), and the shared state the windows change is put back afterwards.
#pragma once

#include "ui/qt_app.h"

#include "engine/files/settings.h"
#include "engine/program_folder_fixture.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"

#include <QApplication>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class DialogTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        TestApplication();
        savedHooks_ = Hooks();
        savedObserver_ = Observer;
        savedOptions_ = Options;
        savedTime_ = CurrentTime;
        Hooks() = UiHooks{};
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind kind) {
            messages_.push_back(text);
            if (kind != MessageKind::Confirmation || answers_.empty())
                return true;
            const bool answer = answers_.front();
            answers_.pop_front();
            return answer;
        };
    }

    void TearDown() override
    {
        Hooks() = savedHooks_;
        Observer = savedObserver_;
        Options = savedOptions_;
        CurrentTime = savedTime_;
        ProgramFolderTest::TearDown();
    }

    // Acts on the modal dialog once it is shown.
    template <class Dialog>
    static void WhenShown(std::function<void(Dialog &)> act)
    {
        QTimer::singleShot(0, [act] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }

    std::vector<std::string> messages_;
    std::deque<bool> answers_;

private:
    UiHooks savedHooks_;
    ObserverRecord savedObserver_;
    OptionsRecord savedOptions_;
    double savedTime_ = 0.0;
};
