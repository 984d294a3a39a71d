// The tools menu's file commands: the Iridium and sky sets chosen from an
// element file, and the two-line to three-line conversion.
#include "main_window_fixture.h"

#include "engine/satellite_test_support.h"
#include "engine/satellites/catalogue_conversion.h"

#include <QAction>
#include <QFileDialog>

namespace {

const std::string IridiumLine1 = WithField(IssLine1, 3, "24793");
const std::string IridiumLine2 = WithField(IssLine2, 3, "24793");

std::string NamesEntry(const std::string &number, const std::string &name)
{
    std::string line = number + " " + name;
    line.resize(48, ' ');
    return line;
}

// Answers the next file dialog with path, or cancels it when path is empty.
void AnswerFileDialog(const std::string &path)
{
    QTimer::singleShot(0, [path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (path.empty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog *>(dialog)->accept();
    });
}

std::size_t SkyCount()
{
    std::lock_guard lock(SkyListMutex);
    return SkyList.size();
}

} // namespace

class ToolCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        std::ofstream(DataFile("qvnames.dat"), std::ios::binary)
            << "http://names.invalid/qvnamesupdate.zip\r\n"
            << NamesEntry("24793", "IRIDIUM 5") << "\r\n"
            << NamesEntry("25544", "ISS (ZARYA)") << "\r\n";
    }

    std::string WriteTle(const std::string &name, const std::string &text)
    {
        const std::string path = (root_ / "tle" / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string Sets() const
    {
        return "IRIDIUM 5\r\n" + IridiumLine1 + "\r\n" + IridiumLine2 + "\r\nISS\r\n" + IssLine1 + "\r\n" +
            IssLine2 + "\r\n";
    }
};

TEST_F(ToolCommandsTest, ACancelledOrTooLongChoiceKeepsTheSetsAndSettings)
{
    TfrMainWnd &w = Start();
    const std::string source = WriteTle("sets.tle", Sets());
    AnswerFileDialog(source);
    w.menu_selectiridiumfile->trigger();
    AnswerFileDialog(source);
    w.menu_selectskyfile->trigger();
    EXPECT_EQ(w.menu_selectiridiumfile->text(), "Iridium File = sets.tle");
    EXPECT_EQ(w.menu_selectskyfile->text(), "Satellite File = sets.tle");
    tlearray iridium;
    ASSERT_TRUE(LoadSatFile(iridium, DataFile("IridSat.bin")));
    EXPECT_EQ(iridium.size(), 1u);
    ASSERT_EQ(SkyCount(), 2u);
    EXPECT_TRUE(w.RedrawEnabled);
    const std::size_t shown = Messages().size();
    const std::string iridiumBytes = ReadFile(DataFile("IridSat.bin"));
    const std::string skyBytes = ReadFile(DataFile("SkySat.bin"));

    // 65 characters relative to the program folder: one more than the
    // setting holds.
    const std::string longName = "tle/" + std::string(65 - 8, 'x') + ".tle";
    const std::string longPath = ProgramFolder() + longName;
    std::filesystem::copy_file(source, longPath);
    for (const std::string &answer : {std::string(), longPath}) {
        SCOPED_TRACE(answer);
        for (QAction *item : {w.menu_selectiridiumfile, w.menu_selectskyfile}) {
            const QString caption = item->text();
            AnswerFileDialog(answer);
            item->trigger();
            EXPECT_EQ(item->text(), caption);
        }
        EXPECT_EQ(Options.IridiumFile.str(), source);
        EXPECT_EQ(Options.SkySatFile.str(), source);
        EXPECT_EQ(ReadFile(DataFile("IridSat.bin")), iridiumBytes);
        EXPECT_EQ(ReadFile(DataFile("SkySat.bin")), skyBytes);
        EXPECT_EQ(SkyCount(), 2u);
        EXPECT_TRUE(w.RedrawEnabled);
    }
    const std::vector<ShownMessage> messages = Messages();
    ASSERT_EQ(messages.size(), shown + 2);
    EXPECT_EQ(messages[shown].text, TooLongForFieldMessage(longName, 64));
}

// A program folder whose own path leaves no room in the settings' field.
class LongProgramFolderTest : public ToolCommandsTest {
protected:
    void SetUp() override
    {
        folderLength_ = 120;
        ToolCommandsTest::SetUp();
    }
};

TEST_F(LongProgramFolderTest, ElementFilesAreStoredAndReadRelativeToTheProgramFolder)
{
    TfrMainWnd &w = Start();
    const std::size_t shown = Messages().size();
    const std::string source = WriteTle("sets.tle", Sets());
    AnswerFileDialog(source);
    w.menu_selectiridiumfile->trigger();
    AnswerFileDialog(source);
    w.menu_selectskyfile->trigger();
    EXPECT_EQ(Options.IridiumFile.str(), "tle/sets.tle");
    EXPECT_EQ(Options.SkySatFile.str(), "tle/sets.tle");
    EXPECT_EQ(w.menu_selectiridiumfile->text().toStdString(), "Iridium File = sets.tle");
    EXPECT_EQ(w.menu_selectskyfile->text().toStdString(), "Satellite File = sets.tle");
    tlearray iridium;
    ASSERT_TRUE(LoadSatFile(iridium, DataFile("IridSat.bin")));
    EXPECT_EQ(iridium.size(), 1u);
    EXPECT_EQ(SkyCount(), 2u);
    EXPECT_EQ(Messages().size(), shown);
}

TEST_F(ToolCommandsTest, ConversionNamesTheSetsOrKeepsTheSource)
{
    TfrMainWnd &w = Start();
    const std::size_t base = Messages().size();
    const std::string twoLines = WriteTle("two.tle", IssLine1 + "\r\n" + IssLine2 + "\r\n");
    AnswerFileDialog(twoLines);
    w.menu_conversion->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Messages().size() == base + 1; }, 10000));
    EXPECT_EQ(Messages()[base].text, "File Converted From 2 Lines to 3 Lines - Common Names Added");
    EXPECT_EQ(Messages()[base].caption, "Conversion");
    EXPECT_FALSE(std::filesystem::exists(twoLines));
    EXPECT_EQ(ReadFile((root_ / "tle" / "3le_two.tle").string()),
              "ISS (ZARYA)\r\n" + IssLine1 + "\r\n" + IssLine2 + "\r\n");

    const std::string noSets = WriteTle("none.tle", "no element sets here\r\n");
    AnswerFileDialog(noSets);
    w.menu_conversion->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Messages().size() == base + 2; }, 10000));
    EXPECT_EQ(Messages()[base + 1].text, "File FAILED to Convert");
    EXPECT_EQ(Messages()[base + 1].caption, "Conversion");
    EXPECT_TRUE(std::filesystem::exists(noSets));

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.OwnTasksEnded(); }, 10000));
    AnswerFileDialog("");
    w.menu_conversion->trigger();
    EXPECT_TRUE(w.ConvertFileName.empty());
    EXPECT_TRUE(w.OwnTasksEnded());
    QTest::qWait(100);
    EXPECT_EQ(Messages().size(), base + 2);
}
