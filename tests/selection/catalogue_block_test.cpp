#include "selection/catalogue_block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/gb2312.h"
#include "selection/catalogue_format.h"
#include "selection/catalogue_listing.h"

namespace qir::selection {
namespace {

std::string utf8(const std::string& gb2312Bytes) {
    return gb2312::toUnicode(gb2312Bytes).toStdString();
}

std::vector<unsigned char> storedBytes() {
    const auto block = storedCatalogueBlock();
    return {block.begin(), block.end()};
}

TEST(CatalogueBlock, HasTheStoredSizeAndLayout) {
    const auto block = storedBytes();
    ASSERT_EQ(block.size(), 49678u);
    // 22 top-level nodes, then "1画": record size 28, values 0 0 -1 -1 0, one child, length 3.
    const std::vector<unsigned char> head = {
        22,   0,    0,    0,    28,   0,    0,    0, 0, 0, 0, 0, 0, 0, 0,    0,    0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0,    3,    '1',
        0xBB, 0xAD, 27,   0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0, 0, 0, 0, 0, 0, 2, 0xD2, 0xBB};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin()));
    // Nothing is lost between the listing and the block.
    EXPECT_EQ(encodeCatalogue(decodeCatalogue(block)), block);
}

TEST(CatalogueBlock, HoldsTheGroupsInOrderWithTheirCharacters) {
    const auto groups = decodeCatalogue(storedCatalogueBlock());
    std::vector<std::string> labels;
    std::vector<std::size_t> sizes;
    std::set<std::string> characters;
    std::size_t total = 0;
    for (const auto& group : groups) {
        labels.push_back(utf8(group.text));
        sizes.push_back(group.children.size());
        for (const auto& child : group.children) {
            EXPECT_TRUE(child.children.empty());
            characters.insert(child.text.substr(0, 2));
            ++total;
        }
    }
    EXPECT_THAT(labels,
                ::testing::ElementsAre("1画", "2画", "3画", "4画", "5画", "6画", "7画", "8画",
                                       "9画", "10画", "11画", "12画", "13画", "14画", "15画",
                                       "16画", "17画", "18画", "19画", "20画", "21画", "23画"));
    EXPECT_THAT(sizes, ::testing::ElementsAre(1, 14, 40, 84, 103, 171, 175, 199, 192, 172, 131, 115,
                                              67, 46, 33, 22, 8, 1, 2, 1, 1, 1));
    EXPECT_EQ(total, 1579u);
    EXPECT_EQ(characters.size(), 1579u);  // no character twice
    EXPECT_EQ(utf8(groups.back().children.front().text), "罐");
    EXPECT_EQ(utf8(groups[1].children.back().text), "又");
}

TEST(CatalogueBlock, EveryNodeCarriesTheStoredValuesAndAFirstLevelCharacter) {
    std::vector<std::string> secondLevel;
    for (const auto& group : decodeCatalogue(storedCatalogueBlock())) {
        EXPECT_EQ(group.imageIndex, 0);
        for (const auto& node : group.children) {
            EXPECT_EQ(node.imageIndex, 0);
            EXPECT_EQ(node.selectedIndex, 0);
            EXPECT_EQ(node.stateIndex, -1);
            EXPECT_EQ(node.overlayIndex, -1);
            EXPECT_EQ(node.data, 0);
            const auto lead = static_cast<unsigned char>(node.text[0]);
            const auto trail = static_cast<unsigned char>(node.text[1]);
            EXPECT_GE(lead, 0xB0);
            EXPECT_LE(lead, 0xE9);
            EXPECT_GE(trail, 0xA1);
            EXPECT_LE(trail, 0xFE);
            if (lead >= 0xD8) {  // past the first level
                secondLevel.push_back(utf8(node.text));
            }
        }
        EXPECT_EQ(group.selectedIndex, 0);
        EXPECT_EQ(group.stateIndex, -1);
        EXPECT_EQ(group.overlayIndex, -1);
        EXPECT_EQ(group.data, 0);
    }
    EXPECT_THAT(secondLevel, ::testing::ElementsAre("橘"));
}

TEST(CatalogueBlock, EightEntriesCarryATrailingBlank) {
    std::vector<std::string> withBlank;
    for (const auto& group : decodeCatalogue(storedCatalogueBlock())) {
        for (const auto& node : group.children) {
            ASSERT_TRUE(node.text.size() == 2 || node.text.size() == 3);
            if (node.text.size() == 3) {
                EXPECT_EQ(node.text[2], ' ');
                withBlank.push_back(utf8(group.text) + ":" + utf8(node.text));
            }
        }
    }
    EXPECT_THAT(withBlank, ::testing::ElementsAre("6画:羽 ", "7画:位 ", "8画:规 ", "8画:居 ",
                                                  "8画:易 ", "10画:害 ", "10画:钻 ", "14画:鲜 "));
}

TEST(CatalogueFormat, RefusesDamagedBlocks) {
    std::vector<CatalogueNodeRecord> nodes(2);
    nodes[0].text = "1\xBB\xAD";
    nodes[0].children.resize(1);
    nodes[0].children[0].text = "\xD2\xBB";
    nodes[1].text = "2\xBB\xAD";
    const auto good = encodeCatalogue(nodes);
    ASSERT_EQ(decodeCatalogue(good).size(), 2u);

    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_THROW(decodeCatalogue(std::span(good.data(), size)), StreamReadError) << size;
    }
    auto longer = good;
    longer.push_back(0);
    EXPECT_THROW(decodeCatalogue(longer), StreamReadError);

    auto wrongRecordSize = good;
    wrongRecordSize[4] = 29;
    EXPECT_THROW(decodeCatalogue(wrongRecordSize), StreamReadError);

    auto hugeCount = good;
    hugeCount[3] = 0x7F;
    EXPECT_THROW(decodeCatalogue(hugeCount), StreamReadError);

    auto negativeChildren = good;
    negativeChildren[4 + 4 + 20 + 3] = 0x80;
    EXPECT_THROW(decodeCatalogue(negativeChildren), StreamReadError);

    std::vector<CatalogueNodeRecord> deep(1);
    deep[0].children.resize(1);
    deep[0].children[0].children.resize(1);
    EXPECT_THROW(decodeCatalogue(encodeCatalogue(deep)), StreamReadError);
}

TEST(CatalogueListing, RefusesWhatWouldSpoilTheBlock) {
    EXPECT_EQ(parseCatalogueListing("# comment\n\n1画: 一\r\n").size(), 1u);
    EXPECT_THROW(parseCatalogueListing("1画 一\n"), std::invalid_argument);
    EXPECT_THROW(parseCatalogueListing("1画:  一\n"), std::invalid_argument);   // blank first
    EXPECT_THROW(parseCatalogueListing("1画: 一  \n"), std::invalid_argument);  // two blanks
    EXPECT_THROW(parseCatalogueListing("1画: 一a\n"), std::invalid_argument);   // one byte
    EXPECT_THROW(parseCatalogueListing("1画: 한\n"), std::invalid_argument);    // not GB2312
    EXPECT_THROW(parseCatalogueListing("1画: \n"), std::invalid_argument);
}

}  // namespace
}  // namespace qir::selection
