// The numeric edit: keys, paste and focus changes judged by one set of rules.
#include "ui/dialog_fixture.h"
#include "ui/widgets/float_edit.h"
#include "ui/window_switch.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

namespace {

class FloatEditTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        window_ = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window_.get());
        edit_ = new TFloatEdit(window_.get());
        other_ = new TFloatEdit(window_.get());
        layout->addWidget(edit_);
        layout->addWidget(other_);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        edit_->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return edit_->hasFocus(); }));
    }

    void TearDown() override
    {
        window_.reset();
        DialogTest::TearDown();
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

    std::unique_ptr<QWidget> window_;
    TFloatEdit *edit_ = nullptr;
    TFloatEdit *other_ = nullptr;
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

    // Only the key is judged: blanks a program left in the field do not
    // hold up typing.
    edit_->SetMin(-19.9);
    edit_->setText("     ");
    Type("4");
    EXPECT_EQ(edit_->text(), "     4");
    edit_->setText(" -1.0");
    QTest::keyClick(edit_, Qt::Key_Backspace);
    Type("5");
    EXPECT_EQ(edit_->text(), " -1.5");

    // A field left blank keeps no value, not the range's minimum.
    Leave();
    edit_->setText("     ");
    edit_->setFocus();
    Leave();
    EXPECT_EQ(edit_->text(), "");
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

// Refused only when the field is left for another control of its window:
// not while the user is away in another application, nor as the window closes.
TEST_F(FloatEditTest, AValueOutOfRangeIsRefusedWithABoxWhenLeftInItsWindow)
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

    // Away and back the text is as typed; left in the window it goes back to
    // the value of the first focus gain.
    Clear();
    Type("25");
    ASSERT_TRUE(SwitchToAnotherWindowAndBack(*window_));
    EXPECT_EQ(edit_->text(), "25");
    EXPECT_EQ(messages_.size(), 1u);
    Leave();
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(edit_->text(), "4.5");

    // A window closing mid-edit gets no box and no focus grab.
    Clear();
    Type("25");
    window_->close();
    QTest::qWait(20);
    EXPECT_EQ(edit_->Value(), 4.5);
    window_.reset();
    QTest::qWait(20);
    EXPECT_EQ(messages_.size(), 2u);

    TFloatEdit lone;
    lone.SetMin(1e9);
    EXPECT_EQ(messages_.back(), "Min-Value has to be less than or equal to Max-Value !");
    EXPECT_EQ(lone.Min(), lone.Max());
    EXPECT_EQ(lone.text(), "99999999.9");
}

} // namespace
