// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/navigation.h"

#include <gtest/gtest.h>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;
using testing::kD;

const std::string kMissing = "\xB0\xA9";  // sorts after every row below

class NavigationTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    CharacterStore store;
    Table& cursor = dataSetsOf(store).tablenextprev;

    void SetUp() override {
        store.addPassword(kStorePassword);
        testing::writeTable(kAnimationTable, {kD, kB, kA, kC});  // stored out of order
    }
    std::string prior(const std::string& hanzi) { return priorCharacter(cursor, hanzi); }
    std::string next(const std::string& hanzi) { return nextCharacter(cursor, hanzi); }
};

TEST_F(NavigationTest, InnerRowStepsToItsNeighbours) {
    EXPECT_EQ(prior(kB), kA);
    EXPECT_EQ(next(kB), kC);
    EXPECT_EQ(next(kC), kD);
}

TEST_F(NavigationTest, FirstRow) {
    EXPECT_EQ(prior(kA), kA) << "the first row's character again";
    EXPECT_TRUE(cursor.bof());
    EXPECT_EQ(next(kA), kB);
}

TEST_F(NavigationTest, LastRow) {
    EXPECT_EQ(prior(kD), kC);
    EXPECT_EQ(next(kD), kD) << "the last row's character again";
    EXPECT_TRUE(cursor.eof());
}

TEST_F(NavigationTest, MissingCharacterRightAfterOpeningStartsFromTheFirstRow) {
    EXPECT_EQ(prior(kMissing), kMissing) << "start flag set: unchanged";
    EXPECT_EQ(next(kMissing), kB) << "the second row's character";
}

TEST_F(NavigationTest, MissingCharacterStepsFromWhereTheLastStepLeftTheCursor) {
    EXPECT_EQ(next(kB), kC);  // cursor on C, flags clear
    EXPECT_EQ(prior(kMissing), kB);
    EXPECT_EQ(next(kMissing), kC);
    EXPECT_EQ(next(kMissing), kD);
    EXPECT_EQ(next(kMissing), kD);  // the move past the last row sets the end flag
    EXPECT_TRUE(cursor.eof());
    EXPECT_EQ(next(kMissing), kMissing) << "end flag set: unchanged";
    EXPECT_EQ(prior(kMissing), kC);

    EXPECT_EQ(prior(kA), kA);  // start flag set on the first row
    EXPECT_EQ(prior(kMissing), kMissing) << "start flag set: unchanged";
    EXPECT_EQ(next(kMissing), kB);
}

TEST_F(NavigationTest, CatalogueEntryWithATrailingBlankStepsLikeItsCharacter) {
    EXPECT_EQ(next(kB + " "), kC);
    EXPECT_EQ(prior(kC + " "), kB);
}

TEST_F(NavigationTest, RepeatedNextWalksTheWholeTableInFilenameOrder) {
    std::vector<std::string> walked{kC};
    for (int i = 0; i < 4; ++i) {
        walked.push_back(next(walked.back()));
    }
    EXPECT_EQ(walked, (std::vector<std::string>{kC, kD, kD, kD, kD}));
    walked = {kMissing};
    dataSetsOf(store).tablenextprev.close();
    for (int i = 0; i < 4; ++i) {
        walked.push_back(next(walked.back()));
    }
    EXPECT_EQ(walked, (std::vector<std::string>{kMissing, kB, kC, kD, kD}));
}

TEST_F(NavigationTest, MissingTableLeavesTheCharacterAndRaisesTheEngineError) {
    std::filesystem::remove("donghua.db");
    std::string currentHanzi = kB;
    try {
        currentHanzi = next(currentHanzi);
        FAIL() << "stepped without an animation table";
    } catch (const EngineError& error) {
        EXPECT_NE(std::string(error.what()).find("donghua"), std::string::npos);
    }
    EXPECT_EQ(currentHanzi, kB);
    EXPECT_FALSE(cursor.active());
}

}  // namespace
}  // namespace qir::store
