#include "engine/files/names_edit.h"

#include "engine/files/names_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An entry line of number (as written) and name with magnitude text.
std::string Entry(const std::string &number, const std::string &name, const std::string &magnitude = "")
{
    return FormatNamesEntry(number, name, "1.0", "2.0", "3.0", magnitude, "4.0");
}

using Lines = std::vector<std::string>;

} // namespace

TEST(NamesEditTest, NumbersCompareAsNumbersNeverAsText)
{
    // The shipped file writes "00694", the editor "  694": one satellite.
    EXPECT_EQ(NamesLineNumber(Entry("00694", "A")), 694);
    EXPECT_EQ(NamesLineNumber(Entry("694", "A")), 694);
    EXPECT_EQ(NamesLineNumber("abcde rest"), 0);
    EXPECT_EQ(NamesLineNumber("-1234 rest"), 0);

    Lines lines = {Entry("25544", "ISS"), Entry("694", "b"), Entry("5544", "x"), Entry("00694", "A"), "comment"};
    SortNamesLines(lines);
    EXPECT_EQ(lines, (Lines{"comment", Entry("694", "b"), Entry("00694", "A"), Entry("5544", "x"),
                            Entry("25544", "ISS")}));

    // One line per number, however many repeat it.
    Lines repeated = {Entry("5", "a"), Entry("00005", "b"), Entry("5", "c"), "note", "note", Entry("6", "d")};
    RemoveDuplicateNumbers(repeated);
    EXPECT_EQ(repeated, (Lines{Entry("5", "a"), "note", "note", Entry("6", "d")}));
}

TEST(NamesEditTest, MergeKeepsEveryCurrentLineTheDownloadDoesNotReplace)
{
    const Lines current = {"my note", Entry("5", "Vanguard", "11.0"), Entry("694", "Mine", "6.0"),
                           Entry("25544", "ISS mine"), Entry("40000", "Above"), Entry("99999", "New one")};
    const Lines downloaded = {"http://example.org/names.zip", Entry("00694", "Theirs", "5.5"),
                              Entry("20000", "Inserted"), "a junk line", Entry("25544", "ISS"),
                              Entry("25544", "ISS again"), Entry("90000", "Working"), Entry("30000", "Late")};
    Lines merged;
    ASSERT_TRUE(MergeNamesUpdate(current, downloaded, merged));
    RemoveDuplicateNumbers(merged);
    EXPECT_EQ(merged, (Lines{"my note", Entry("5", "Vanguard", "11.0"), Entry("00694", "Theirs", "5.5"),
                             Entry("20000", "Inserted"), Entry("25544", "ISS"), Entry("40000", "Above"),
                             Entry("99999", "New one")}));
}

TEST(NamesEditTest, DownloadWithoutEntriesChangesNothing)
{
    const Lines current = {Entry("5", "Vanguard")};
    Lines merged = {"untouched"};
    EXPECT_FALSE(MergeNamesUpdate(current, {"<html>Not Found</html>", "", Entry("95000", "Working")}, merged));
    EXPECT_EQ(merged, Lines{"untouched"});
}
