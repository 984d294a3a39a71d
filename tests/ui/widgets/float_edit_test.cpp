// The numeric edit: keys, paste and focus changes judged by one set of rules.
#include "ui/qt_app.h"
#include "ui/widgets/float_edit.h"

#include "engine/runtime/ui_hooks.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class FloatEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind) {
            messages_.push_back(text);
            return true;
        };
        dialog_ = std::make_unique<QDialog>();
        auto *layout = new QVBoxLayout(dialog_.get());
        edit_ = new TFloatEdit(dialog_.get());
        other_ = new TFloatEdit(dialog_.get());
        layout->addWidget(edit_);
        layout->addWidget(other_);
        dialog_->show();
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        edit_->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return edit_->hasFocus(); }));
    }

    void TearDown() override
    {
        dialog_.reset();
        Hooks().showMessage = nullptr;
    }

    void Type(const char *keys)
    {
        for (const char *k = keys; *k; ++k)
            QTest::keyClick(edit_, *k);
    }

    void Clear()
    {
        edit_->selectAll();
        QTest::keyClick(edit_, Qt::Key_Backspace);
    }

    // Moves the focus to the other field and lets queued work run.
    void Leave()
    {
        other_->setFocus();
        QTest::qWait(20);
    }

    std::unique_ptr<QDialog> dialog_;
    TFloatEdit *edit_ = nullptr;
    TFloatEdit *other_ = nullptr;
    std::vector<std::string> messages_;
};

TEST_F(FloatEditTest, KeysBuildOnlyAWellFormedNumber)
{
    EXPECT_EQ(edit_->text(), "0.0");
    Clear();
    Type("12.34");
    EXPECT_EQ(edit_->text(), "12.3");
    Type("-");
    EXPECT_EQ(edit_->text(), "12.3");
    Clear();
    Type("7");
    Leave();
    EXPECT_EQ(edit_->text(), "7.0");

    // The separator alone becomes 0.0 with the last 0 to type over.
    edit_->setFocus();
    Clear();
    Type(".");
    EXPECT_EQ(edit_->text(), "0.0");
    EXPECT_EQ(edit_->selectedText(), "0");
    EXPECT_EQ(edit_->selectionStart(), 2);
    Type("5");
    EXPECT_EQ(edit_->text(), "0.5");

    // With a negative range the sign alone becomes -0, its 0 selected.
    edit_->SetMin(-19.9);
    edit_->SetMax(19.9);
    Clear();
    Type("-");
    EXPECT_EQ(edit_->text(), "-0");
    Type("5");
    EXPECT_EQ(edit_->text(), "-5");
    QTest::keyClick(edit_, Qt::Key_End);
    Type("-");
    EXPECT_EQ(edit_->text(), "-5");
    edit_->setText("-");
    EXPECT_EQ(edit_->Value(), 0.0);
    edit_->SetMin(1.0);
    edit_->setText("-");
    EXPECT_EQ(edit_->Value(), 1.0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(FloatEditTest, PasteFollowsTheKeyRules)
{
    Clear();
    for (const char *refused : {"12a", "3.25", "-1", "1.2.3"}) {
        QApplication::clipboard()->setText(refused);
        QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit_->text(), "") << refused;
    }
    QApplication::clipboard()->setText("3.2");
    QTest::keyClick(edit_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit_->text(), "3.2");
}

TEST_F(FloatEditTest, AValueOutOfRangeIsRefusedOnLeavingAndKeepsTheFocus)
{
    edit_->SetMax(19.9);
    edit_->SetErrorMessage("Value out of range");
    edit_->SetValue(4.5);
    other_->setFocus();
    edit_->setFocus();
    Clear();
    Type("25");
    Leave();
    EXPECT_EQ(messages_, std::vector<std::string>{"Value out of range"});
    EXPECT_EQ(edit_->text(), "4.5");
    EXPECT_TRUE(edit_->hasFocus());
    EXPECT_EQ(edit_->selectedText(), "4.5");

    // Escape puts the value of the focus gain back.
    Type("9");
    QTest::keyClick(edit_, Qt::Key_Escape);
    EXPECT_EQ(edit_->text(), "4.5");

    edit_->SetMin(30.0);
    EXPECT_EQ(messages_.back(), "Min-Value has to be less than or equal to Max-Value !");
    EXPECT_EQ(edit_->Min(), 19.9);
    EXPECT_EQ(edit_->Value(), 19.9);
}

TEST_F(FloatEditTest, ClosingTheWindowMidEditRestoresSilently)
{
    edit_->SetMax(19.9);
    edit_->SetErrorMessage("Value out of range");
    edit_->SetValue(4.5);
    other_->setFocus();
    edit_->setFocus();
    Clear();
    Type("25");
    dialog_->close();
    QTest::qWait(20);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(edit_->Value(), 4.5);
    EXPECT_EQ(edit_->text(), "4.5");
    dialog_.reset();
    QTest::qWait(20);
    EXPECT_TRUE(messages_.empty());
}

} // namespace
