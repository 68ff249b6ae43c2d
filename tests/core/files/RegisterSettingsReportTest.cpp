// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/RegisterSettingsReport.h"

#include <gtest/gtest.h>

namespace qmf {
namespace {

TEST(NumberRuns, GroupsConsecutiveNumbersAndCountsTheRest) {
    EXPECT_EQ(numberRuns({3}, false), QStringLiteral("3"));
    EXPECT_EQ(numberRuns({7, 1, 2, 3, 8, 3}, false), QStringLiteral("1 to 3, 7, 8"));
    EXPECT_EQ(numberRuns({10, 11, 12, 16}, true), QStringLiteral("A to C, 10"));
    EXPECT_EQ(numberRuns({1, 3, 5, 7, 9, 11, 13, 15, 17, 19}, false),
              QStringLiteral("1, 3, 5, 7, 9, 11, 13, 15, and 2 more"));
}

TEST(DescribeSave, ACompleteSaveIsTheSuccessSentenceAlone) {
    SaveRegisterSettingsResult result;
    result.fileWritten = true;
    result.registersSaved = 256;
    EXPECT_EQ(describeSave(result),
              QStringList{QStringLiteral("Register settings were saved to file.")});
}

TEST(DescribeSave, AnythingLessSaysWhatFailedAndHowManyWereSaved) {
    SaveRegisterSettingsResult partial;
    partial.fileWritten = true;
    partial.registersSaved = 254;
    partial.unreadable = {{0x10, QStringLiteral("bus busy")}, {0x11, QStringLiteral("bus busy")}};
    EXPECT_EQ(describeSave(partial),
              (QStringList{QStringLiteral("Register settings were saved to file, but only 254 of "
                                          "256 registers could be read."),
                           QStringLiteral("Registers 10, 11 could not be read and are missing "
                                          "from the file: bus busy.")}));

    SaveRegisterSettingsResult unopened;
    unopened.path = QStringLiteral("/x/y.dat");
    unopened.fileError = QStringLiteral("Permission denied");
    const QStringList lines = describeSave(unopened);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("/x/y.dat")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("Permission denied")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("0 of 256 registers were saved")));

    SaveRegisterSettingsResult nothingRead;
    nothingRead.unreadable = {{0, QStringLiteral("no answer")}, {1, QStringLiteral("timeout")}};
    EXPECT_EQ(describeSave(nothingRead).first(),
              QStringLiteral("Register settings were not saved: no register could be read (no "
                             "answer (and other errors))."));
}

TEST(DescribeLoad, ListsBadLinesFailedWritesAndMissingRegisters) {
    LoadRegisterSettingsResult result;
    result.registersWritten = 250;
    result.badLines = {3, 4, 9};
    result.failedWrites = {{0x0B, QStringLiteral("nak")}};
    result.missing = {0xFD, 0xFE, 0xFF};
    result.firstIgnoredLine = 260;
    EXPECT_EQ(describeLoad(result),
              (QStringList{
                  QStringLiteral("Register settings were only partly loaded from file: 250 of 256 "
                                 "registers were written."),
                  QStringLiteral("Lines 3, 4, 9 are not of the form register,value in "
                                 "hexadecimal (register 0 to FF) and were skipped."),
                  QStringLiteral("The file holds more than 256 lines; line 260 and the lines "
                                 "after it were ignored."),
                  QStringLiteral("Writing register B failed: nak."),
                  QStringLiteral("The file holds no setting for registers FD to FF.")}));
}

TEST(DescribeLoad, CompleteUnopenedAndEmptyLoads) {
    LoadRegisterSettingsResult complete;
    complete.registersWritten = 256;
    EXPECT_EQ(describeLoad(complete),
              QStringList{QStringLiteral("Register settings were loaded from file.")});

    LoadRegisterSettingsResult unopened;
    unopened.fileError = QStringLiteral("No such file or directory");
    EXPECT_EQ(describeLoad(unopened).last(), QStringLiteral("No register was written."));

    LoadRegisterSettingsResult empty;
    empty.badLines = {1};
    for (int r = 0; r < 256; ++r) {
        empty.missing.append(quint8(r));
    }
    EXPECT_EQ(describeLoad(empty).first(),
              QStringLiteral("No register settings were loaded from file: 0 of 256 registers were "
                             "written."));
    EXPECT_TRUE(describeLoad(empty).contains(
        QStringLiteral("Line 1 is not of the form register,value in hexadecimal (register 0 to "
                       "FF) and was skipped.")));
}

} // namespace
} // namespace qmf
