#include "ui/options/options_window.h"

#include "ui/qt_app.h"
#include "engine/program_folder_fixture.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

class OptionsWindowTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        TestApplication();
        std::filesystem::create_directory(root_ / "map");
        savedOptions_ = Options;
        savedFactor_ = DistanceFactor;
        Options = DefaultOptions();
        Hooks().showMessage = [this](const std::string &text, const std::string &, MessageKind) {
            messages_.push_back(text);
            return true;
        };
    }
    void TearDown() override
    {
        Hooks().showMessage = nullptr;
        Options = savedOptions_;
        DistanceFactor = savedFactor_;
        ProgramFolderTest::TearDown();
    }

    std::vector<std::string> messages_;
    OptionsRecord savedOptions_;
    double savedFactor_ = 1.0;
};

TEST_F(OptionsWindowTest, UnchangedSavesKeepTheSettings)
{
    Options.ShadowAlpha = 101;
    Options.SatColor = 0xFFFF0000u;
    Options.CityColor = 0xFF102030u;
    Options.MapFile.assign("away.jpg"); // not in the map folder
    for (int i = 0; i < 10; ++i) {
        TfrOptionWnd window;
        if (i == 0) {
            EXPECT_EQ(window.nm_shadow->value(), 40);
            EXPECT_EQ(window.c_sat->Color(), QColor(Qt::red));
            EXPECT_EQ(window.c_city->Color(), QColor(0x10, 0x20, 0x30));
        }
        window.bn_saveoptionsClick();
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Options.ShadowAlpha, 101);
    EXPECT_EQ(Options.SatColor, 0xFFFF0000u);
    EXPECT_EQ(Options.CityColor, 0xFF102030u);
    EXPECT_EQ(Options.MapFile.str(), "away.jpg");

    // A value the user set is stored on the shown scale and shown again as set.
    TfrOptionWnd window;
    window.nm_shadow->setValue(100);
    window.bn_saveoptionsClick();
    EXPECT_EQ(Options.ShadowAlpha, 254);
    for (const int shown : {5, 40, 42, 49, 99}) {
        TfrOptionWnd setting;
        setting.nm_shadow->setValue(shown);
        setting.bn_saveoptionsClick();
        EXPECT_EQ(TfrOptionWnd().nm_shadow->value(), shown);
    }
}

TEST_F(OptionsWindowTest, MetricOffGivesMiles)
{
    TfrOptionWnd window;
    window.ckb_metric->setChecked(false);
    window.bn_saveoptionsClick();
    EXPECT_EQ(DistanceFactor, 0.621371);
    EXPECT_EQ(Options.Metric, 0);
}

TEST_F(OptionsWindowTest, MapListMatchesJpegInAnyCaseAndRefusesLongNames)
{
    for (const char *name : {"World.JPG", "default.jpg", "notes.txt"})
        WriteFile((root_ / "map" / name).string(), "");
    Options.MapFile.assign("world.jpg");
    {
        TfrOptionWnd window;
        ASSERT_EQ(window.cb_map->count(), 2);
        EXPECT_EQ(window.cb_map->itemText(0), "default.jpg");
        EXPECT_EQ(window.cb_map->currentText(), "World.JPG");
    }
    {
        // A chosen image missing from the folder is still named.
        Options.MapFile.assign("away.jpg");
        TfrOptionWnd window;
        EXPECT_EQ(window.cb_map->currentIndex(), -1);
        EXPECT_EQ(window.cb_map->placeholderText(), "away.jpg (missing)");
        Options.MapFile.assign("world.jpg");
    }
    const std::string longName = std::string(62, 'w') + ".jpg";
    WriteFile((root_ / "map" / longName).string(), "");
    TfrOptionWnd window;
    window.ckb_metric->setChecked(false);
    window.cb_map->setCurrentText(QString::fromStdString(longName));
    window.bn_saveoptionsClick();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(longName), std::string::npos) << messages_[0];
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(Options.MapFile.str(), "world.jpg");
    EXPECT_EQ(Options.Metric, 1);
}

TEST_F(OptionsWindowTest, AChosenFontOutlivesCancel)
{
    TfrOptionWnd window;
    QString chosen;
    QTimer::singleShot(0, [&chosen] {
        auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QFont font = dialog->currentFont();
        font.setPointSize(17);
        dialog->setCurrentFont(font);
        chosen = dialog->currentFont().family();
        dialog->accept();
    });
    window.bn_fontClick();
    window.bn_cancelClick();
    EXPECT_EQ(Options.FontSize, 17);
    EXPECT_EQ(Options.FontName.str(), chosen.toStdString());
}
