// The sky-point and star pickers as the transit searches use them.
#include "ui/dialog_fixture.h"
#include "ui/dialogs/ra_dec_wnd.h"
#include "ui/dialogs/star_wnd.h"

#include "engine/astronomy/constants.h"
#include "engine/reports/transit_report.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cmath>

namespace {

constexpr double ArcSecond = Pi / (180.0 * 3600.0);

class PickerTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Hooks().pickSkyPoint = PickSkyPoint;
        Hooks().pickStar = PickStar;
    }
};

TEST(SkyPointTest, FieldsReadWithinTheirRanges)
{
    double ra = -1.0, dec = -1.0;
    EXPECT_TRUE(ParseRightAscension("235959", ra));
    EXPECT_NEAR(ra, DegToRad((23 + 59 / 60.0 + 59 / 3600.0) * 15.0), 1e-12);
    EXPECT_TRUE(ParseDeclination("+895959", dec));
    EXPECT_NEAR(dec, DegToRad(89 + 59 / 60.0 + 59 / 3600.0), 1e-12);
    // The sign belongs to the whole value, even with 0 degrees.
    EXPECT_TRUE(ParseDeclination("-003000", dec));
    EXPECT_NEAR(dec, DegToRad(-0.5), 1e-12);

    ra = dec = 7.0;
    for (const char *text : {"240000", "056100", "050760", "05__00", "", "0507"})
        EXPECT_FALSE(ParseRightAscension(text, ra)) << text;
    for (const char *text : {"+900000", "0895959", "_895959", "+89_959", "+006000"})
        EXPECT_FALSE(ParseDeclination(text, dec)) << text;
    EXPECT_EQ(ra, 7.0);
    EXPECT_EQ(dec, 7.0);
}

TEST_F(PickerTest, ASkyPointThatDoesNotReadLeavesTheTarget)
{
    TargetState target;
    target.BodyId = BodySkyPoint;
    std::string name = "Ra/Dec";
    WhenShown<TfrRaDecWnd>([](TfrRaDecWnd &dialog) {
        // The target's direction, in the masks' digits.
        EXPECT_EQ(dialog.RightAscensionDigits(), "000000");
        EXPECT_EQ(dialog.DeclinationDigits(), "+000000");
        dialog.mstxt_ra->setText("123000");
        dialog.mstxt_dec->setText("-453015");
        dialog.bn_set->click();
    });
    ASSERT_TRUE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_NEAR(target.RaDec.first, DegToRad(187.5), 1e-12);
    EXPECT_NEAR(target.RaDec.second, DegToRad(-(45 + 30 / 60.0 + 15 / 3600.0)), 1e-12);
    EXPECT_TRUE(messages_.empty());

    const TargetState before = target;
    WhenShown<TfrRaDecWnd>([](TfrRaDecWnd &dialog) {
        dialog.mstxt_ra->setText("056100");
        dialog.close();
    });
    EXPECT_FALSE(SelectTransitTarget(target, name, 0, 0));
    WhenShown<TfrRaDecWnd>([](TfrRaDecWnd &dialog) {
        dialog.mstxt_dec->clear();
        dialog.bn_set->click();
    });
    EXPECT_FALSE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_EQ(messages_, (std::vector<std::string>{"Not a valid Right Ascension", "Not a valid Declination"}));
    EXPECT_EQ(target.RaDec.first, before.RaDec.first);
    EXPECT_EQ(target.RaDec.second, before.RaDec.second);
}

TEST_F(PickerTest, EachStarKeepsItsOwnLine)
{
    // "Mira" is part of the later "Miram"; the third name fills all 20 columns.
    WriteFile(DataDir + "star.dat",
              " 34.83660   -2.97760  6.47omi Cet    Mira\n"
              " 42.67420   55.89550  3.77eta Per    Miram\n"
              "  1.00000    2.00000  5.00TEST       Abcdefghijklmnopqrst\n");
    TfrStarWnd dialog;
    std::string error;
    ASSERT_TRUE(dialog.FormCreate(error)) << error;
    ASSERT_EQ(dialog.StarListBox->count(), 3);
    EXPECT_EQ(dialog.StarListBox->item(0)->text(), "Abcdefghijklmnopqrst");
    EXPECT_EQ(dialog.stxt_commonname->text(), "Abcdefghijklmnopqrst");
    dialog.StarListBox->setCurrentRow(1);
    EXPECT_EQ(dialog.stxt_commonname->text(), "Mira");
    EXPECT_EQ(dialog.stxt_name->text(), "omi Cet  ");
    EXPECT_EQ(dialog.stxt_mag->text(), " 6.47");
    EXPECT_NEAR(dialog.Declination, DegToRad(-2.9776), 1e-12);
    dialog.StarListBox->setCurrentRow(2);
    EXPECT_EQ(dialog.stxt_commonname->text(), "Miram");
}

TEST_F(PickerTest, WithoutAStarListNoStarIsPicked)
{
    TargetState target;
    target.BodyId = BodyStar;
    target.RaDec.first = 1.0;
    std::string name = "Vega";
    EXPECT_FALSE(SelectTransitTarget(target, name, 0, 0));
    WriteFile(DataDir + "star.dat", "\n");
    EXPECT_FALSE(SelectTransitTarget(target, name, 0, 0));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_NE(messages_[0].find("star.dat"), std::string::npos);
    EXPECT_NE(messages_[1].find("holds no star"), std::string::npos);
    EXPECT_EQ(name, "Vega");
    EXPECT_EQ(target.RaDec.first, 1.0);
}

// Sirius at J2000 as PyEphem's ephem.star('Sirius') gives it.
constexpr double SiriusRaDegrees = 101.287155;
constexpr double SiriusDecDegrees = -16.716116;

TEST_F(PickerTest, SiriusFromTheDefaultStarList)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/star.dat");
    SetProgramFolders(folder);
    TargetState target;
    target.BodyId = BodyStar;
    std::string name;
    WhenShown<TfrStarWnd>([](TfrStarWnd &dialog) {
        const auto found = dialog.StarListBox->findItems("Sirius", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog.StarListBox->setCurrentItem(found.front());
        EXPECT_EQ(dialog.stxt_ra->text(), "06h 45m 09s");
        EXPECT_EQ(dialog.stxt_dec->text(), QString::fromUtf8("-16\u00b0 42' 58\""));
        dialog.bn_set->click();
    });
    ASSERT_TRUE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_EQ(name, "Sirius");
    EXPECT_LT(std::fabs(target.RaDec.first - DegToRad(SiriusRaDegrees)) * std::cos(target.RaDec.second),
              ArcSecond);
    EXPECT_LT(std::fabs(target.RaDec.second - DegToRad(SiriusDecDegrees)), ArcSecond);
}

} // namespace
