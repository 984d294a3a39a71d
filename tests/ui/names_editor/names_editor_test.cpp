#include "names_editor_fixture.h"

#include "ui/window_switch.h"

namespace {

const std::string Link = "http://names.example.org/qvnamesupdate.zip";

bool Has(const std::vector<std::string> &messages, const std::string &text)
{
    return std::find(messages.begin(), messages.end(), "KYT: " + text) != messages.end();
}

} // namespace

TEST_F(NamesEditorTest, NewEntriesAreCheckedAndStoredInTheirColumns)
{
    WriteNames(Link, {NamesEntry("25544", "ISS", "-1.0"), NamesEntry("00694", "ATLAS CENTAUR 2")});
    auto window = Open();
    ASSERT_EQ(window->NamesLines().front(), NamesEntry("00694", "ATLAS CENTAUR 2"));

    window->bn_newClick();
    window->txt_number->setText("694");
    window->txt_name->setText("Probe");
    window->bn_saveClick();
    EXPECT_TRUE(Has(Messages(), "Satellite Number already exists, Cancel or Enter new number."));

    window->txt_number->setText("12345");
    window->txt_name->setText(QString::fromUtf8("Ørsted"));
    window->bn_saveClick();
    EXPECT_TRUE(Has(Messages(), "Enter the Satellite Name, max 15 characters"));
    EXPECT_TRUE(window->bn_save->isEnabled());

    // Seen at 5.0 from 2000 km: 3.5 at the standard 1000 km.
    window->txt_name->setText("Probe");
    window->txt_mag->setText("5.0");
    window->txt_range->setText("2000");
    window->txt_width->setText("1000.0");
    window->bn_saveClick();
    EXPECT_TRUE(Has(Messages(), "Satellite entry saved."));
    EXPECT_FALSE(window->bn_save->isEnabled());
    const std::string probe = FormatNamesEntry("12345", "Probe", "1000", "5.0", "5.0", "3.5", "10.0");
    EXPECT_EQ(window->NamesLines(), (std::vector<std::string>{NamesEntry("00694", "ATLAS CENTAUR 2"), probe,
                                                              NamesEntry("25544", "ISS", "-1.0")}));
    EXPECT_EQ(window->MagListBox->currentRow(), 1);

    // At the standard range the magnitude stays as typed.
    window->bn_newClick();
    window->txt_number->setText("7");
    window->txt_name->setText("Near");
    window->txt_mag->setText("5.0");
    window->bn_saveClick();
    EXPECT_EQ(window->NamesLines().front(), FormatNamesEntry("7", "Near", "5.0", "5.0", "5.0", "5.0", "10.0"));

    window->close();
    window.reset();
    std::vector<std::string> lines;
    ASSERT_TRUE(LoadNamesFile(lines));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], Link);
    EXPECT_TRUE(IsNamesEntry(lines[3])) << lines[3];
    EXPECT_EQ(lines[3], probe);

    // In miles too a blank range is the standard one.
    Options.Metric = false;
    DistanceFactor = 0.621371;
    window = Open();
    window->bn_newClick();
    window->txt_number->setText("8");
    window->txt_name->setText("Far");
    window->txt_mag->setText("5.0");
    window->txt_range->clear();
    window->bn_saveClick();
    EXPECT_EQ(window->NamesLines()[1], FormatNamesEntry("8", "Far", "5.0", "5.0", "5.0", "5.0", "10.0"));
}

TEST_F(NamesEditorTest, ClosingWaitsForAPendingEditThenWritesLinkFirst)
{
    WriteNames("", {NamesEntry("5", "Vanguard 1"), "https://names.example.org/new.zip", "a note"});
    auto window = Open();
    // Nothing is highlighted: Edit and Delete have no line to work on.
    EXPECT_EQ(window->MagListBox->currentRow(), -1);
    window->bn_editClick();
    window->bn_deleteClick();
    EXPECT_FALSE(window->bn_save->isEnabled());

    window->MagListBox->setCurrentRow(1);
    window->bn_editClick();
    EXPECT_TRUE(window->bn_save->isEnabled());
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Has(Messages(), "You must \"Save or Cancel\" prior to Close"));
    window->bn_cancelClick();
    window->bn_editClick();
    window->txt_name->setText("Vanguard");
    window->bn_saveClick();
    window->close();
    EXPECT_FALSE(window->isVisible());
    // The lines were put in number order at opening; a line without one first.
    EXPECT_EQ(ReadFile(NamesPath()),
              "https://names.example.org/new.zip\r\na note\r\n" + NamesEntry("5", "Vanguard") + "\r\n");
}

// The fields hold the entry being edited until the edit ends: a click on
// another entry asks whether to keep the change, and no click puts one
// entry's values over another.
TEST_F(NamesEditorTest, NoClickSequencePutsOneEntryOverAnother)
{
    const std::vector<std::string> lines = {NamesEntry("00005", "Vanguard 1"), NamesEntry("25544", "ISS", "-1.0"),
                                            NamesEntry("43137", "FOX-1D")};
    WriteNames(Link, lines);
    auto window = Open();
    const auto click = [&window](int row) {
        window->MagListBox->setCurrentRow(row);
        window->MagListBoxClick();
    };
    click(1);
    // Columns show without their padding; a blank one as an empty field.
    EXPECT_EQ(window->txt_mag->text(), "-1.0");
    EXPECT_EQ(window->txt_width->text(), "");

    // The change dropped: the clicked entry is shown and there is nothing to save.
    click(0);
    window->bn_edit->click();
    window->txt_name->setText("Changed");
    answers_.push_back(false);
    click(1);
    EXPECT_EQ(window->txt_name->text(), "ISS");
    window->bn_save->click();
    EXPECT_EQ(window->NamesLines(), lines);

    // The change kept: only the edited entry changes, its blank columns stay blank.
    click(0);
    window->bn_edit->click();
    window->txt_name->setText("Changed");
    click(1);
    EXPECT_EQ(window->NamesLines(), (std::vector<std::string>{NamesEntry("00005", "Changed"), lines[1], lines[2]}));
    EXPECT_EQ(window->txt_name->text(), "ISS");

    // After a Delete the edit is of the entry highlighted next, as it is.
    click(0);
    window->bn_delete->click();
    window->bn_edit->click();
    window->bn_save->click();
    EXPECT_EQ(window->NamesLines(), (std::vector<std::string>{lines[1], lines[2]}));
}

TEST_F(NamesEditorTest, ClosingGivesMagnitudesAndWritesOnlyAChangedList)
{
    WriteNames(Link, {NamesEntry("25544", "ISS", "-1.0"), NamesEntry("05544", "Other", "4.0")});
    const std::string stored = ReadFile(NamesPath());
    MainList = {Satellite("5544"), Satellite("25544"), Satellite("77777")};
    SelectedMain = 0;
    auto window = Open();
    EXPECT_EQ(window->MagListBox->currentRow(), 0);
    EXPECT_EQ(window->txt_name->text().trimmed(), "Other");

    // A number a field refuses is named with its range and stops the save,
    // whether the field still holds it or was left for the click on "Save".
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto type = [](TFloatEdit *field, const char *keys) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, keys);
    };
    window->bn_edit->click();
    type(window->txt_mag, "25");
    window->bn_save->click();
    window->bn_cancel->click();
    window->bn_edit->click();
    type(window->txt_mag, "5");
    type(window->txt_range, "10");
    QTest::mouseClick(window->bn_save, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"KYT: Not a valid Magnitude, value must be between -19.9 and 19.9",
                                                    "KYT: Not a valid Range, value must be between 50 and 90000"}));
    EXPECT_EQ(window->txt_mag->text(), "5.0");
    EXPECT_EQ(window->txt_range->text(), "1000.0");
    EXPECT_TRUE(window->bn_save->isEnabled());
    window->bn_cancel->click();

    // A switch to another application neither drops the number nor judges
    // it; "Save" refuses it then, with its range, and stores nothing.
    window->bn_edit->click();
    type(window->txt_mag, "25");
    ASSERT_TRUE(SwitchToAnotherWindowAndBack(*window));
    EXPECT_EQ(window->txt_mag->text(), "25");
    EXPECT_EQ(Messages().size(), 2u);
    QTest::mouseClick(window->bn_save, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages().back(), "KYT: Not a valid Magnitude, value must be between -19.9 and 19.9");
    // Back to the entry's own value, not the nearest one in range.
    EXPECT_EQ(window->txt_mag->text(), "4.0");
    EXPECT_TRUE(window->bn_save->isEnabled());
    window->bn_cancel->click();
    window->close();
    EXPECT_EQ(MainList[0].StdMagnitude, 4.0);
    EXPECT_EQ(MainList[1].StdMagnitude, -1.0);
    EXPECT_EQ(MainList[2].StdMagnitude, 8.0);
    // Nothing was saved, so the file is not written again in number order.
    EXPECT_EQ(ReadFile(NamesPath()), stored);

    std::filesystem::remove(NamesPath());
    Open()->close();
    EXPECT_FALSE(std::filesystem::exists(NamesPath()));

    // A file that could not be read: neither it nor the main list changes.
    std::filesystem::create_directory(NamesPath());
    MainList[1].StdMagnitude = 3.0;
    auto unreadable = Open();
    EXPECT_FALSE(unreadable->bn_new->isEnabled());
    unreadable->close();
    EXPECT_EQ(MainList[1].StdMagnitude, 3.0);
    EXPECT_TRUE(std::filesystem::is_directory(NamesPath()));
}
