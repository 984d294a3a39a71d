#include "ui/about/about_box.h"

#include "ui/qt_app.h"
#include "engine/program_folder_fixture.h"
#include "engine/runtime/ui_hooks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

class AboutBoxTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        TestApplication();
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind) {
            messages_.push_back(text);
            return true;
        };
    }
    void TearDown() override
    {
        Hooks().showMessage = nullptr;
        ProgramFolderTest::TearDown();
    }
    std::vector<std::string> messages_;
};

TEST_F(AboutBoxTest, WithoutLicenceTheBoxOpensEmptyAfterOneMessage)
{
    TfrAboutBox box;
    EXPECT_EQ(messages_, std::vector<std::string>{"License.txt file not found"});
    EXPECT_TRUE(box.memo_about->toPlainText().isEmpty());
}

TEST_F(AboutBoxTest, LicenceThenTheVersionBlockInPlaceOfIt)
{
    WriteFile(ProgramDir + "license.txt", "MIT License\nline two\n");
    TfrAboutBox box;
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(box.memo_about->toPlainText(), "MIT License\nline two\n");

    box.bn_version->click();
    const QStringList lines = box.memo_about->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines[0].startsWith("FileVersionInfoSize = "));
    EXPECT_GT(lines[0].mid(22).toInt(), 0);
    const char *keys[] = {"CompanyName",    "FileDescription", "FileVersion", "InternalName",   "LegalCopyright",
                          "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"};
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(lines[i + 1].startsWith(QString(keys[i]) + " = ")) << lines[i + 1].toStdString();
    EXPECT_EQ(lines[3], "FileVersion = " KYT_TEST_PROJECT_VERSION);
    EXPECT_EQ(lines[9], "ProductVersion = " KYT_TEST_PROJECT_VERSION);
    EXPECT_FALSE(box.memo_about->toPlainText().contains('\r'));
}
