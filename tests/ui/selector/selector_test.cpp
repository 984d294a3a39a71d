// The satellite selector: candidate pages, search, taking candidates into
// the working list, favourites and the loading task.
#include "selector_fixture.h"

#include "engine/files/element_files.h"
#include "engine/files/names_file.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cmath>
#include <cstdio>

namespace {

std::string Number(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%05d", n);
    return text;
}

// count sets, named so that the name order is the reverse of the numbers'.
std::string ManySets(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += SetLines(Number(i), "SAT " + Number(count + 1 - i));
    return text;
}

std::string Caption(const TfrSatSelectorWnd &selector) { return selector.windowTitle().toStdString(); }

std::vector<std::string> Rows(const QListWidget *list)
{
    std::vector<std::string> rows;
    for (int i = 0; i < list->count(); ++i)
        rows.push_back(list->item(i)->text().toStdString());
    return rows;
}

TleRecord Chosen(const std::string &number)
{
    TleRecord record = MakeSatellite(WithField(IssLine1, 3, number), WithField(IssLine2, 3, number));
    record.Number.assign(number);
    record.Name.assign("SAT " + number);
    record.Selected = 1;
    return record;
}

} // namespace

TEST_F(SelectorTest, CandidatesArePagedByThousandsAndTheSortKeepsThePage)
{
    WriteFile("tle/many.tle", ManySets(2500));
    TfrSatSelectorWnd &selector = Open();
    EXPECT_EQ(Caption(selector), "Satellite Selector");
    EXPECT_FALSE(selector.ListBoxSatFile->isVisibleTo(&selector));
    ChooseFile(selector, Path("tle/many.tle"));
    EXPECT_TRUE(selector.ListBoxSatFile->isVisibleTo(&selector));
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (1 to 1000) - 2500 Satellites");
    EXPECT_EQ(selector.ListBoxSatFile->count(), 1000);
    EXPECT_EQ(selector.ListBoxSatFile->item(0)->text(), "SAT 00001");
    EXPECT_FALSE(selector.bn_previous->isEnabled());
    EXPECT_TRUE(selector.bn_next->isEnabled());

    selector.bn_nextClick();
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (1001 to 2000) - 2500 Satellites");
    EXPECT_TRUE(selector.bn_previous->isEnabled());
    selector.bn_nextClick();
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (2001 to 2500) - 2500 Satellites");
    EXPECT_EQ(selector.ListBoxSatFile->count(), 500);
    EXPECT_FALSE(selector.bn_next->isEnabled());
    selector.bn_previousClick();
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (1001 to 2000) - 2500 Satellites");
    EXPECT_TRUE(selector.bn_next->isEnabled());

    // Numbers: sorted again on the task, same page start.
    selector.bn_numberClick();
    EXPECT_TRUE(QTest::qWaitFor([&selector] { return !selector.Busy(); }, 30000));
    EXPECT_EQ(selector.bn_number->text(), "Show Name");
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (1001 to 2000) - 2500 Satellites");
    EXPECT_EQ(selector.ListBoxSatFile->item(0)->text(), "01001");
    selector.bn_resetClick();
    EXPECT_EQ(Caption(selector), "KYT - many.tle -  (1 to 1000) - 2500 Satellites");
    EXPECT_FALSE(selector.bn_previous->isEnabled());

    WriteFile("tle/thousand.tle", ManySets(1000));
    ChooseFile(selector, Path("tle/thousand.tle"));
    EXPECT_EQ(Caption(selector), "KYT - thousand.tle -  (1 to 1000) - 1000 Satellites");
    EXPECT_FALSE(selector.bn_next->isEnabled());
    EXPECT_FALSE(selector.bn_previous->isEnabled());
}

TEST_F(SelectorTest, SearchLooksThroughAllCandidatesByWhatIsShown)
{
    WriteFile("tle/many.tle", ManySets(2500) + SetLines("25544", "Iss (Zarya)"));
    TfrSatSelectorWnd &selector = Open();
    ChooseFile(selector, Path("tle/many.tle"));
    selector.txt_search->setText("iSS");
    selector.bn_searchClick();
    EXPECT_EQ(Rows(selector.ListBoxSatFile), std::vector<std::string>{"Iss (Zarya)"});
    EXPECT_EQ(Caption(selector), "KYT - many.tle  - 1 Satellites");
    selector.txt_search->setText("sat 021");
    selector.bn_searchClick();
    EXPECT_EQ(selector.ListBoxSatFile->count(), 100); // all beyond the first page
    EXPECT_FALSE(selector.bn_next->isEnabled());

    selector.bn_numberClick();
    ASSERT_TRUE(QTest::qWaitFor([&selector] { return !selector.Busy(); }, 30000));
    selector.txt_search->setText("554");
    selector.bn_searchClick();
    EXPECT_EQ(Rows(selector.ListBoxSatFile), (std::vector<std::string>{"00554", "01554", "25544"}));

    const std::string caption = Caption(selector);
    selector.txt_search->clear();
    selector.bn_searchClick();
    EXPECT_EQ(selector.ListBoxSatFile->count(), 0);
    EXPECT_EQ(Caption(selector), caption);
}

TEST_F(SelectorTest, ADoubleClickTakesThatRowsSatelliteReadyToPropagate)
{
    WriteFile("data/qvnames.dat", FormatNamesEntry("    5", "TWIN", "", "", "", "4.5", "") + "\n");
    // Two sets named alike, then two of a two-line part (no names), and one
    // whose mean motion gives no orbit.
    WriteFile("tle/set.tle", SetLines("00005", "TWIN") + SetLines("25544", "TWIN") + SetLines("11111", "")
                                 + SetLines("22222", "") + "BROKEN\n" + WithField(IssLine1, 3, "33333") + "\n"
                                 + WithField(WithField(IssLine2, 3, "33333"), 53, " 0.00000000") + "\n");
    TfrSatSelectorWnd &selector = Open();
    ChooseFile(selector, Path("tle/set.tle"));
    // A nameless set is listed by its number.
    EXPECT_EQ(Rows(selector.ListBoxSatFile), (std::vector<std::string>{"11111", "22222", "BROKEN", "TWIN", "TWIN"}));

    selector.ListBoxSatFileDblClick(2);
    EXPECT_EQ(LastMessage(), "Unable to Load Satellite - its element lines do not give an orbit");
    EXPECT_TRUE(selector.SelectorList.empty());
    EXPECT_EQ(selector.ckboxSelSat->count(), 0);

    selector.ListBoxSatFileDblClick(4);
    selector.ListBoxSatFileDblClick(3);
    selector.ListBoxSatFileDblClick(0);
    ASSERT_EQ(selector.SelectorList.size(), 3u);
    EXPECT_EQ(selector.SelectorList[0].Number.str(), "25544");
    EXPECT_EQ(selector.SelectorList[1].Number.str(), "00005");
    EXPECT_EQ(selector.SelectorList[1].StdMagnitude, 4.5); // "00005" is entry "    5"
    EXPECT_EQ(selector.SelectorList[0].StdMagnitude, 8.0);
    EXPECT_EQ(Rows(selector.ckboxSelSat), (std::vector<std::string>{"TWIN", "TWIN", "11111"}));
    EXPECT_EQ(selector.SelectorList[2].Name.str(), "11111"); // the calling window's boxes show it
    // The new item gets the check mark, not the first one shown alike.
    selector.ckboxSelSat->item(0)->setCheckState(Qt::Unchecked);
    selector.ListBoxSatFileDblClick(4);
    EXPECT_EQ(selector.ckboxSelSat->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(selector.ckboxSelSat->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(selector.SelectorList[0].Selected, 0);
    EXPECT_EQ(selector.SelectorList[3].Selected, 1);

    // The ISS as python3-sgp4 2.15 has it 720 min after epoch (km, from
    // tools/sgp4_reference.py).
    TleRecord &iss = selector.SelectorList[0];
    Vec4 position;
    ASSERT_EQ(SGP4(720.0, &iss.Elements, &iss.Params.Sgp4, &position, nullptr), 0);
    EXPECT_LT(1000.0 * std::hypot(position.x - 832.513329, position.y + 5440.636674, position.z - 3865.863539), 1.0);

    while (selector.SelectorList.size() < TfrSatSelectorWnd::MaxSelected)
        selector.ListBoxSatFileDblClick(0);
    selector.ListBoxSatFileDblClick(0);
    EXPECT_EQ(LastMessage(), "Unable to Load Satellite - List is Full");
    EXPECT_EQ(selector.SelectorList.size(), TfrSatSelectorWnd::MaxSelected);
}

// "Update" takes the newer sets of the update folder and, as "Update Main
// List" does, says when even the newest set is old and how to get current
// ones.
TEST_F(SelectorTest, UpdateTellsHowOldTheNewestSetIs)
{
    TfrSatSelectorWnd &selector = Open();
    selector.SelectorList = {Chosen("00001"), Chosen("00002")};
    const double before = selector.SelectorList[1].Elements.epoch;
    WriteFile("tle/new.tle", "SAT 00002\n" + WithField(WithField(IssLine1, 3, "00002"), 19, "18020.50000000") + "\n"
                                 + WithField(IssLine2, 3, "00002") + "\n");
    const std::string advice = " days old: positions and passes from it are far off. Get current sets with "
                               "\"Internet File Download...\" (Tools menu), or copy current \".tle\" files into "
                               "the satellite download folder, then choose \"Update\" again.";
    for (const std::string headline : {"Satellites Updated Successfully", "Satellites are Current"}) {
        selector.bn_updateClick();
        const std::string lead = headline + "\n\nThe newest element set is ";
        ASSERT_EQ(LastMessage().rfind(lead, 0), 0u) << LastMessage();
        EXPECT_EQ(LastMessage().substr(LastMessage().size() - advice.size()), advice);
    }
    EXPECT_GT(selector.SelectorList[1].Elements.epoch, before);
}

TEST_F(SelectorTest, DeletesKeepTheOrderAndAskOnlyAboutAListThatHoldsSome)
{
    TfrSatSelectorWnd &selector = Open();
    selector.SelectorList = {Chosen("00001"), Chosen("00002"), Chosen("00003")};
    selector.FillSelectedList();
    selector.bn_deleteClick(); // nothing highlighted
    selector.ckboxSelSat->setCurrentRow(1);
    selector.bn_deleteClick();
    EXPECT_EQ(Rows(selector.ckboxSelSat), (std::vector<std::string>{"SAT 00001", "SAT 00003"}));
    EXPECT_EQ(selector.SelectorList[1].Number.str(), "00003");

    selector.bn_deleteallClick();
    EXPECT_EQ(LastMessage(), "Delete All Entries?");
    EXPECT_TRUE(selector.SelectorList.empty());
    selector.bn_deleteallClick();
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(SelectorTest, FavouritesAreNamedSafelySavedLoadedAndDeleted)
{
    std::filesystem::create_directory(root_ / "SatFavorites");
    WriteFile("SatFavorites/alpha.BIN", "");
    TfrSatSelectorWnd &selector = Open();
    ASSERT_EQ(selector.cb_favorite->count(), 1);
    EXPECT_EQ(selector.cb_favorite->itemText(0), "alpha");

    selector.bn_favnewClick(); // empty working list: nothing asked
    EXPECT_TRUE(seenInitial_.empty());

    selector.SelectorList = {Chosen("00001")};
    // A cancelled box ends the command; no "None" favourite appears.
    AnswerInputs({std::nullopt});
    selector.bn_favnewClick();
    EXPECT_EQ(seenInitial_, std::vector<QString>{"None"});
    EXPECT_EQ(selector.cb_favorite->count(), 1);

    // A name that would leave the folder is refused; the next one is taken.
    seenInitial_.clear();
    AnswerInputs({QString("../data/MainSat"), QString("Polar")});
    selector.bn_favnewClick();
    EXPECT_EQ(seenInitial_, (std::vector<QString>{"None", "../data/MainSat"}));
    EXPECT_FALSE(std::filesystem::exists(root_ / "data" / "MainSat.bin"));
    EXPECT_EQ(std::filesystem::file_size(root_ / "SatFavorites" / "Polar.bin"), sizeof(TleRecord));
    EXPECT_EQ(LastMessage(), "Favorite \"Polar\" Created");
    EXPECT_EQ(selector.cb_favorite->itemText(1), "Polar");
    EXPECT_EQ(selector.cb_favorite->currentIndex(), -1);

    seenInitial_.clear();
    AnswerInputs({QString("POLAR"), std::nullopt});
    selector.bn_favnewClick();
    EXPECT_EQ(seenInitial_, (std::vector<QString>{"None", "None"}));
    EXPECT_EQ(LastMessage(), "Name Already Exist, Try Again");

    // More than fifteen: the first fifteen, with a message.
    tlearray many;
    for (int i = 1; i <= 20; ++i)
        many.push_back(Chosen(Number(i)));
    ASSERT_TRUE(SaveSatFile(many, Path("SatFavorites/Polar.bin")));
    selector.cb_favorite->setCurrentIndex(1);
    selector.bn_favloadClick();
    EXPECT_EQ(selector.SelectorList.size(), 15u);
    EXPECT_EQ(selector.ckboxSelSat->count(), 15);
    EXPECT_EQ(LastMessage(), "Favorite \"Polar\" holds more than 15 satellites; the first 15 were loaded.");

    // An empty favourite empties the check list too.
    selector.cb_favorite->setCurrentIndex(0);
    selector.bn_favloadClick();
    EXPECT_TRUE(selector.SelectorList.empty());
    EXPECT_EQ(selector.ckboxSelSat->count(), 0);

    // A file that cannot be deleted keeps its name in the box.
    std::filesystem::remove(root_ / "SatFavorites" / "alpha.BIN");
    selector.cb_favorite->setCurrentIndex(0);
    selector.bn_favdeleteClick();
    EXPECT_EQ(selector.cb_favorite->count(), 2);
    EXPECT_NE(LastMessage().find("alpha"), std::string::npos);
    selector.cb_favorite->setCurrentIndex(1);
    selector.bn_favdeleteClick();
    EXPECT_EQ(LastMessage(), "Favorite \"Polar\" Deleted");
    EXPECT_EQ(selector.cb_favorite->count(), 1);
    EXPECT_FALSE(std::filesystem::exists(root_ / "SatFavorites" / "Polar.bin"));
}

TEST_F(SelectorTest, WithoutTheNamesFileTheWindowOpensWithOneMessage)
{
    std::filesystem::remove(root_ / "data" / "qvnames.dat");
    Open();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("qvnames.dat"), std::string::npos);
}

TEST_F(SelectorTest, AWindowClosedWhileALargeFileLoadsDropsTheResult)
{
    WriteFile("tle/large.tle", ManySets(60000));
    TfrSatSelectorWnd &selector = Open();
    AnswerNextFileDialog(Path("tle/large.tle"));
    selector.bn_fileClick();
    ASSERT_TRUE(selector.Busy());
    // Refused while the task runs.
    selector.bn_nextClick();
    selector.ListBoxSatFileDblClick(0);
    EXPECT_TRUE(selector.SelectorList.empty());
    selector.close();
    selector_.reset();
    ASSERT_TRUE(QTest::qWaitFor([this] { return posted_ > 0; }, 60000));
    QCoreApplication::processEvents();
}
