// SPDX-License-Identifier: GPL-3.0-or-later
// An observer that throws: the others still hear of the change, the change completes, and
// the error leaves the call that made it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kC;

class ChangeNoticeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store.addPassword(kStorePassword);
        testing::writeTable(kStrokeDisplayTable, {kC + "01", kC + "02", kC + "03"});
        table.open();
        // Subscribed first, so it is told first.
        table.subscribe([this](DataChange change) {
            if (change == failOn) {
                throw std::runtime_error("observer failed");
            }
        });
        table.subscribe([this](DataChange change) { heard.push_back(change); });
    }

    testing::ScratchDirectory scratch;
    CharacterStore store;
    Table& table = dataSetsOf(store).tablebmp;
    DataChange failOn = DataChange::Closed;
    std::vector<DataChange> heard;
};

TEST_F(ChangeNoticeTest, TheLaterObserversHearOfAMoveAndTheMoveIsMade) {
    failOn = DataChange::CurrentRowMoved;
    EXPECT_THROW(table.next(), std::runtime_error);
    EXPECT_EQ(heard, std::vector{DataChange::CurrentRowMoved});
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(table.fieldAsString("Filename"), kC + "02");
}

TEST_F(ChangeNoticeTest, AFailingNoticeOfThePostWithinAMoveWaitsUntilTheMoveIsWhole) {
    table.append();
    table.setFieldAsString("Filename", kC + "04");
    heard.clear();
    failOn = DataChange::RowPosted;
    EXPECT_THROW(table.first(), std::runtime_error);
    EXPECT_EQ(heard, (std::vector{DataChange::RowPosted, DataChange::CurrentRowMoved}));
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_TRUE(table.bof());
}

TEST_F(ChangeNoticeTest, AnAppendWhoseNoticeFailsStillLeavesItsRowToFillAndPost) {
    failOn = DataChange::RowAppended;
    EXPECT_THROW(table.append(), std::runtime_error);
    EXPECT_EQ(table.state(), DataSetState::Insert);
    table.setFieldAsString("Filename", kC + "05");
    failOn = DataChange::Closed;
    EXPECT_NO_THROW(table.post());
    EXPECT_EQ(table.recordCount(), 4);
}

}  // namespace
}  // namespace qir::store
