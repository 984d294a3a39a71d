// A satellite selector on a program folder of its own in the temporary
// folder, with the user's messages recorded, queued calls delivered by the
// test's event loop and the file and input dialogs answered by the test.
#pragma once

#include "ui/file_dialog_answer.h"
#include "ui/qt_app.h"

#include "engine/files/data_files.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellite_test_support.h"
#include "ui/selector/sat_selector.h"

#include <QInputDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// An element set with another catalogue number, checksums made good.
inline std::string SetLines(const std::string &number, const std::string &name)
{
    std::string text = name.empty() ? "" : name + "\n";
    return text + WithField(IssLine1, 3, number) + "\n" + WithField(IssLine2, 3, number) + "\n";
}

class SelectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        std::string pattern = (std::filesystem::temp_directory_path() / "kyt-sel-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(root_ / "data");
        std::filesystem::create_directory(root_ / "tle");
        SetProgramFolders(root_.string() + "/");
        Options.UpdateFolder.assign((root_ / "tle").string() + "/");
        WriteFile("data/qvnames.dat", "");
        // Messages are shown on this thread only.
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind) {
            messages_.push_back(text);
            return true;
        };
        Hooks().uiThread = std::this_thread::get_id();
        Hooks().runOnUiThread = [this](std::function<void()> call) {
            ++posted_;
            QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
        };
    }

    void TearDown() override
    {
        selector_.reset();
        QCoreApplication::processEvents();
        Hooks().showMessage = nullptr;
        Hooks().runOnUiThread = nullptr;
        std::filesystem::remove_all(root_);
    }

    void WriteFile(const std::string &relative, const std::string &bytes)
    {
        std::ofstream(root_ / relative, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::string Path(const std::string &relative) const { return (root_ / relative).string(); }

    TfrSatSelectorWnd &Open()
    {
        selector_ = std::make_unique<TfrSatSelectorWnd>();
        return *selector_;
    }

    // Presses "File", picks the element file in the dialog and waits for the
    // first page.
    static void ChooseFile(TfrSatSelectorWnd &selector, const std::string &path)
    {
        AnswerNextFileDialog(path);
        selector.bn_fileClick();
        EXPECT_TRUE(QTest::qWaitFor([&selector] { return !selector.Busy(); }, 30000));
    }

    // Answers the next input boxes in turn: a text, or nullopt for Cancel;
    // a box beyond them is cancelled.
    void AnswerInputs(std::vector<std::optional<QString>> answers)
    {
        answers_ = std::move(answers);
        if (inputTimer_)
            return;
        inputTimer_ = new QTimer(selector_.get());
        QObject::connect(inputTimer_, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seenInitial_.push_back(box->textValue());
            const std::optional<QString> answer = answers_.empty() ? std::nullopt : answers_.front();
            if (!answers_.empty())
                answers_.erase(answers_.begin());
            if (answer) {
                box->setTextValue(*answer);
                box->accept();
            } else {
                box->reject();
            }
        });
        inputTimer_->start(5);
    }

    const std::vector<std::string> &Messages() const { return messages_; }
    std::string LastMessage() const { return messages_.empty() ? std::string() : messages_.back(); }

    std::filesystem::path root_;
    std::unique_ptr<TfrSatSelectorWnd> selector_;
    std::atomic<int> posted_{0};
    std::vector<std::optional<QString>> answers_;
    std::vector<QString> seenInitial_;
    QTimer *inputTimer_ = nullptr;
    std::vector<std::string> messages_;
};
