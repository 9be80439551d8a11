// The candidate checks that run beside the walk: answers in the order given, the in-use and
// emptiness rules, and a discarded scan's answers dropped.
#include "tools/junk/file_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/handles.h"
#include "platform/strings.h"
#include "support/fixtures.h"

using testsupport::TempDir;
using tools::junk::CandidateChecker;
using tools::junk::Checked;
using tools::junk::CheckSettings;

TEST(CandidateChecks, AnswersComeBackInTheOrderGivenWithEachFilesVerdict) {
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i)
        paths.push_back(dir.write("f" + std::to_string(i) + ".tmp", i % 3 == 0 ? "" : "content"));
    const std::string busy = paths[7];
    platform::UniqueFile holder(CreateFileW(platform::Widen(busy).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    platform::DeleteFileAt(paths[11]); // gone between the walk and the check

    CheckSettings settings;
    settings.inUse = true;
    CandidateChecker checker;
    checker.Start(settings);
    for (size_t i = 0; i < paths.size(); ++i)
        checker.Submit({paths[i], std::nullopt, i % 2 == 1}); // odd ones must be empty
    std::vector<Checked> answers;
    checker.Collect(true, [&](Checked& c) { answers.push_back(c); });
    EXPECT_EQ(checker.Pending(), 0u);
    ASSERT_EQ(answers.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(answers[i].path, paths[i]);
        const bool empty = i % 3 == 0;
        const bool expected = i != 7 && i != 11 && (i % 2 == 0 || empty);
        EXPECT_EQ(answers[i].listed, expected) << paths[i];
        if (expected) {
            EXPECT_EQ(answers[i].data.nFileSizeLow, empty ? 0u : 7u) << paths[i];
        }
    }

    // Without the in-use test the held file is listed.
    settings.inUse = false;
    checker.Start(settings);
    checker.Submit({busy, std::nullopt, false});
    answers.clear();
    checker.Collect(true, [&](Checked& c) { answers.push_back(c); });
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0].listed);
}

TEST(CandidateChecks, ADiscardedScanHandsNothingOver) {
    TempDir dir;
    CandidateChecker checker;
    checker.Start({});
    for (int i = 0; i < 200; ++i)
        checker.Submit({dir.write("g" + std::to_string(i) + ".tmp", "x"), std::nullopt, false});
    checker.Discard();
    int taken = 0;
    checker.Collect(true, [&](Checked&) { ++taken; });
    EXPECT_EQ(taken, 0);
    // The next scan starts clean.
    checker.Start({});
    checker.Submit({dir.path() + "g1.tmp", std::nullopt, false});
    checker.Collect(true, [&](Checked& c) { taken += c.listed; });
    EXPECT_EQ(taken, 1);
}

TEST(CandidateChecks, WalkEndsComeBackInTheirPlaceUnchecked) {
    TempDir dir;
    CandidateChecker checker;
    checker.Start({});
    std::vector<std::string> order;
    auto submitFiles = [&](const std::string& prefix) {
        for (int i = 0; i < 100; ++i) {
            std::string path = dir.write(prefix + std::to_string(i) + ".tmp", "x");
            checker.Submit({path, std::nullopt, false});
            order.push_back(path);
        }
    };
    auto submitEnd = [&](const std::string& folder, bool zero) {
        tools::junk::Candidate end;
        end.path = folder;
        end.walkEnd = true;
        end.zeroWalk = zero;
        checker.Submit(end);
        order.push_back("end " + folder);
    };
    submitFiles("a");
    submitEnd(dir.path(), false);
    submitFiles("b");
    // A walk end is never taken for a file, even when its path names one.
    submitEnd(order.front(), true);

    std::vector<Checked> answers;
    checker.Collect(true, [&](Checked& c) { answers.push_back(c); });
    ASSERT_EQ(answers.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const bool end = order[i].rfind("end ", 0) == 0;
        ASSERT_EQ(answers[i].walkEnd, end) << i;
        if (end) {
            EXPECT_EQ("end " + answers[i].path, order[i]);
            EXPECT_FALSE(answers[i].listed);
        } else {
            EXPECT_EQ(answers[i].path, order[i]);
            EXPECT_TRUE(answers[i].listed) << order[i];
        }
    }
    EXPECT_FALSE(answers[100].zeroWalk);
    EXPECT_TRUE(answers[201].zeroWalk);
}
