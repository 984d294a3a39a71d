#include "names_editor_fixture.h"

namespace {

using Lines = std::vector<std::string>;

std::string Text(const Lines &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

class NamesUpdateTest : public NamesEditorTest {
protected:
    void SetUp() override
    {
        NamesEditorTest::SetUp();
        Serve();
        link_ = server_.Url("/qvnamesupdate.zip");
        current_ = {NamesEntry("5", "Vanguard 1", "11.0"), NamesEntry("694", "Mine", "6.0"),
                    NamesEntry("25544", "ISS mine"), NamesEntry("40000", "Above"), NamesEntry("99999", "New one")};
        WriteNames(link_, current_);
        before_ = ReadFile(NamesPath());
    }

    void ServeZip(const std::string &content)
    {
        const std::string zip = (root_ / "update.zip").string();
        WriteZip(zip, {{"qvnames.dat", content}});
        ServeFile("qvnamesupdate.zip", ReadFile(zip));
        std::filesystem::remove(zip);
    }

    void Update(TfrSatDataWnd &window)
    {
        window.bn_updateClick();
        EXPECT_TRUE(window.Updating());
        EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.Updating(); }, 30000));
    }

    std::string link_;
    Lines current_;
    std::string before_;
};

TEST_F(NamesUpdateTest, DownloadedEntriesReplaceAndJoinTheCurrentOnes)
{
    ServeZip(Text({"http://names.example.org/qvnamesupdate.zip", NamesEntry("00694", "Theirs", "5.5"),
                   NamesEntry("20000", "Inserted"), NamesEntry("25544", "ISS", "-1.0"),
                   NamesEntry("25544", "ISS again"), NamesEntry("90000", "Working")}));
    auto window = Open();
    Update(*window);
    EXPECT_EQ(window->NamesLines(),
              (Lines{NamesEntry("5", "Vanguard 1", "11.0"), NamesEntry("00694", "Theirs", "5.5"),
                     NamesEntry("20000", "Inserted"), NamesEntry("25544", "ISS", "-1.0"),
                     NamesEntry("40000", "Above"), NamesEntry("99999", "New one")}));
    EXPECT_EQ(window->MagListBox->count(), 6);
    EXPECT_EQ(Messages().back(), "Satellite data File Update: Update to Satellite data file data completed successfully.");
    // Until the window closes the file keeps its old content.
    EXPECT_EQ(ReadFile(NamesPath()), before_);
    EXPECT_EQ(FolderEntries(DataDir), Lines{"qvnames.dat"});
    window->close();
    EXPECT_NE(ReadFile(NamesPath()).find("Theirs"), std::string::npos);
    EXPECT_EQ(ReadFile(NamesPath()).rfind(link_ + "\r\n", 0), 0u);
}

TEST_F(NamesUpdateTest, AFailedUpdateLeavesListAndFileAsTheyWere)
{
    auto window = Open();
    window->MagListBox->setCurrentRow(0);
    window->bn_deleteClick();
    const Lines edited = window->NamesLines();
    ASSERT_EQ(edited.size(), current_.size() - 1);

    const struct {
        const char *what;
        std::function<void()> serve;
        std::string message;
    } failures[] = {
        {"junk lines", [this] { ServeZip("<html>nothing here</html>\r\n\r\n"); },
         "Satellite data File Update: Failed to update magnitude file data"},
        {"corrupt ZIP", [this] { ServeFile("qvnamesupdate.zip", "PK\x03\x04 not really an archive"); },
         "Unzip: File Downloaded Successfully But Failed to Unzip: qvnamesupdate.zip"},
        {"404", [this] { std::filesystem::remove(serverRoot_ / "qvnamesupdate.zip"); },
         "Satellite data File Update: Failed to download file - " + link_ + "\nthe server answered HTTP 404\n\n"
             "Failed to update magnitude file data: nothing was changed."},
        {"stopped server", [this] { server_.Stop(); },
         "Satellite data File Update: Failed to download file - " + link_ + "\ntransfer failed"},
    };
    for (const auto &failure : failures) {
        SCOPED_TRACE(failure.what);
        failure.serve();
        const std::size_t told = Messages().size();
        Update(*window);
        // The question, then one message, which says what failed and why.
        ASSERT_EQ(Messages().size(), told + 2);
        EXPECT_EQ(Messages().back().rfind(failure.message, 0), 0u) << Messages().back();
        EXPECT_EQ(window->NamesLines(), edited);
        EXPECT_EQ(window->MagListBox->count(), static_cast<int>(edited.size()));
        EXPECT_EQ(ReadFile(NamesPath()), before_);
        EXPECT_EQ(FolderEntries(DataDir), Lines{"qvnames.dat"});
        EXPECT_TRUE(window->bn_update->isEnabled());
    }
}
