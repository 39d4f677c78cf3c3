#include <gtest/gtest.h>

#include "library/AddSummary.h"

TEST(AddSummary, CountsAndPathsReadAsThePeopleAddingMusicExpect)
{
    EXPECT_EQ(GroupedCount(0), "0");
    EXPECT_EQ(GroupedCount(999), "999");
    EXPECT_EQ(GroupedCount(1000), "1,000");
    EXPECT_EQ(GroupedCount(1234567), "1,234,567");

    const AddProgressText text = MakeAddProgressText(1234, 5000, "/home/u/Music/Jazz/01 So What.mp3");
    EXPECT_EQ(text.counts + text.where, "Adding 1,234 of 5,000 \u2014 Jazz/01 So What.mp3");
    EXPECT_EQ(MakeAddProgressText(0, 0, {}).where, "");
    EXPECT_EQ(MakeAddProgressText(1, 1, "/a.mp3").where, " \u2014 /a.mp3");
}

TEST(AddSummary, OneMessageOnlyWhenSomethingWasLeftOut)
{
    AddOutcome outcome;
    outcome.added = 2000;
    EXPECT_TRUE(MakeAddReport(outcome).text.empty());

    outcome.failures = {{"/m/a.mp3", "damaged"}, {"/m/locked", "cannot read folder: permission denied"}};
    AddReport report = MakeAddReport(outcome);
    EXPECT_EQ(report.text, "Added 2,000 files; 2 could not be added.");
    EXPECT_EQ(report.details, "/m/a.mp3: damaged\n/m/locked: cannot read folder: permission denied\n");
    outcome.cancelled = true;
    EXPECT_EQ(MakeAddReport(outcome).text, "Adding was cancelled. Added 2,000 files; 2 could not be added.");

    // A file chosen alone is named on its own; with others added it goes into the list.
    AddOutcome single;
    single.singleFile = "/m/a.mp3";
    single.failures = {{"/m/a.mp3", "unsupported format"}};
    EXPECT_EQ(MakeAddReport(single).text, "Cannot add \"a.mp3\": unsupported format.");
    EXPECT_TRUE(MakeAddReport(single).details.empty());
}
