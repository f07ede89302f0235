// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "tools/order_checker/order_check.h"
#include "tools/order_checker/order_comparison.h"
#include "tools/order_checker/order_report.h"
#include "tools/order_checker/reference_order.h"
#include "tools/order_checker/stroke_classes.h"
#include "tools/store_builder/character_reading.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;
using enum StrokeClass;

const fs::path kRealData = QIR_STROKE_DATA_DIR;
const fs::path kReference = QIR_ORDER_REFERENCE;

// Made-up medians in the data's box (y up), as a brush would write them, with an entry dab.
TEST(StrokeClassification, TellsTheBasicStrokesFromTheirMedians) {
    const std::vector<std::pair<std::vector<PathPoint>, StrokeClass>> cases = {
        {{{150, 500}, {180, 490}, {500, 505}, {850, 520}}, Heng},                // 横
        {{{200, 300}, {350, 420}, {480, 540}}, Heng},                            // 提
        {{{500, 800}, {520, 780}, {515, 500}, {512, 100}}, Shu},                 // 竖
        {{{600, 800}, {560, 600}, {450, 400}, {250, 250}}, Pie},                 // 撇
        {{{400, 700}, {470, 630}, {520, 560}}, Dian},                            // 点
        {{{300, 600}, {500, 450}, {750, 300}, {900, 250}}, Dian},                // 捺
        {{{200, 700}, {700, 720}, {730, 690}, {720, 200}}, HengZhe},             // 横折
        {{{500, 800}, {505, 200}, {480, 150}, {380, 190}}, ShuZhe},              // 竖钩
        {{{500, 800}, {480, 450}, {420, 350}, {750, 420}}, PieZhe},              // 撇折
        {{{300, 800}, {500, 500}, {700, 250}, {850, 150}, {870, 320}}, XieGou},  // 斜钩
    };
    for (const auto& [median, expected] : cases) {
        const StrokeClassSet classes = classifyMedian(median);
        EXPECT_TRUE(classes.contains(expected))
            << "got " << classes.name() << " for a " << StrokeClassSet(expected).name();
    }
    EXPECT_TRUE(classifyMedian({{100, 100}}).empty());
}

TEST(OrderComparison, SortsAgreementsFaultsAndDoubts) {
    const std::vector<StrokeClassSet> heng_shu_pie = {Heng, Shu, Pie};
    EXPECT_EQ(compareOrder(heng_shu_pie, "jfs").verdict, OrderVerdict::Agree);

    const OrderComparison swapped = compareOrder(heng_shu_pie, "fjs");
    EXPECT_EQ(swapped.verdict, OrderVerdict::OrderFault);
    EXPECT_EQ(swapped.differing, (std::vector<int>{0, 1}));
    ASSERT_EQ(swapped.cycles.size(), 1u);
    EXPECT_EQ(swapped.cycles[0], (std::vector<int>{0, 1}));
    EXPECT_TRUE(swapped.unexplained.empty());

    // A stroke moved two steps on: a cycle of three.
    const OrderComparison moved = compareOrder({Pie, Heng, Shu}, "jfs");
    EXPECT_EQ(moved.verdict, OrderVerdict::OrderFault);
    ASSERT_EQ(moved.cycles.size(), 1u);
    EXPECT_EQ(moved.cycles[0].size(), 3u);

    const OrderComparison doubt = compareOrder({Heng, Dian, Pie}, "jfs");
    EXPECT_EQ(doubt.verdict, OrderVerdict::Doubt);
    EXPECT_EQ(doubt.unexplained, (std::vector<int>{1}));

    EXPECT_EQ(compareOrder(heng_shu_pie, "jf").verdict, OrderVerdict::CountDiffers);
    EXPECT_EQ(compareOrder(heng_shu_pie, "jfZ").verdict, OrderVerdict::UnknownLetter);
}

TEST(ReferenceFile, ParsesTheExportAndRefusesOtherText) {
    const ReferenceOrders reference =
        parseReference("# cnchar-order 3.2.6\n肠 srjjwss\n一 j\n", "ref.txt");
    EXPECT_EQ(reference.name, "cnchar-order 3.2.6");
    ASSERT_NE(reference.find("肠"), nullptr);
    EXPECT_EQ(*reference.find("肠"), "srjjwss");
    EXPECT_EQ(reference.find("右"), nullptr);
    EXPECT_THROW(parseReference("肠 srjjwss\n", "ref.txt"), ReferenceError);
    EXPECT_THROW(parseReference("# x 1\n肠srjjwss\n", "ref.txt"), ReferenceError);
    EXPECT_THROW(parseReference("# x 1\n肠 SRJ\n", "ref.txt"), ReferenceError);
    EXPECT_EQ(letterName('w'), "横折折折钩/横撇弯钩");
    EXPECT_FALSE(classesOfLetter('Z').has_value());
}

TEST(CatalogueText, GivesTheKeysOfItsCharacters) {
    const std::set<std::string> keys = catalogueKeys("# comment: 永\n1画: 一\n2画: 八 人\n");
    EXPECT_EQ(keys, (std::set<std::string>{"\xD2\xBB", "\xB0\xCB", "\xC8\xCB"}));
}

class RealOrderCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kRealData / "package.json") || !fs::exists(kReference)) {
            GTEST_SKIP() << "the stroke data or the exported reference is not there";
        }
        reference = readReference(kReference);
    }
    ReferenceOrders reference;
};

TEST_F(RealOrderCheck, FindsAPlantedSwapAndLeavesAnUnchangedCharacterAlone) {
    const CharacterEntry yong = charactersFromText("永")[0];
    const CharacterData data = readCharacterFile(kRealData, yong.text);
    const std::string& letters = *reference.find("永");
    EXPECT_EQ(compareOrder(classifyStrokes(data), letters).verdict, OrderVerdict::Agree);

    // 永's 横折钩 (2) and 横撇 (3) are alike; its 点 (1) and 横折钩 (2) are not.
    const CharacterData planted = reorderStrokes(data, {1, 0, 2, 3, 4});
    const OrderComparison comparison = compareOrder(classifyStrokes(planted), letters);
    EXPECT_EQ(comparison.verdict, OrderVerdict::OrderFault);
    ASSERT_EQ(comparison.cycles.size(), 1u);
    EXPECT_EQ(comparison.cycles[0], (std::vector<int>{0, 1}));
}

TEST_F(RealOrderCheck, SortsCharactersByTheirEntriesInTheCorrectionFile) {
    const OrderCorrections corrections = OrderCorrections::parse(
        "肠 1 2 3 4 6 5 7 | 𠃓 before 丿\n盖 keep | for the test\n", "fixes.txt");
    const std::vector<CharacterEntry> characters = charactersFromText("肠盖滚永丨");
    const std::set<std::string> catalogue = {characters[0].key, characters[1].key,
                                             characters[2].key};
    const OrderCheckResult result =
        checkOrder(characters, catalogue, kRealData, reference, corrections);
    std::map<std::string, OrderStatus> statuses;
    for (const CharacterCheck& check : result.characters) {
        statuses[check.character.text.toStdString()] = check.status;
    }
    EXPECT_EQ(statuses["肠"], OrderStatus::Corrected);
    EXPECT_EQ(statuses["盖"], OrderStatus::Reviewed);
    EXPECT_EQ(statuses["滚"], OrderStatus::OrderFault);
    EXPECT_EQ(statuses["永"], OrderStatus::Agree);
    EXPECT_EQ(statuses["丨"], OrderStatus::NoReference);
    EXPECT_EQ(result.unresolvedInCatalogue(), 1);  // 滚
    EXPECT_EQ(result.all[static_cast<std::size_t>(OrderStatus::NoReference)], 1);

    std::ostringstream report;
    writeReport(report, result, {"hanzi-writer-data 2.0.1", "fixes.txt", reference.name});
    const std::string text = report.str();
    EXPECT_NE(text.find("滚  [catalogue]  order fault"), std::string::npos) << text;
    EXPECT_NE(text.find("moved 6→7→6"), std::string::npos) << text;
    EXPECT_NE(text.find("reviewed:  kept (line 2): for the test"), std::string::npos) << text;
}

}  // namespace
}  // namespace qir::tools
