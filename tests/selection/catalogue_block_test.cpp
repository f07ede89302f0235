// SPDX-License-Identifier: GPL-3.0-or-later
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

using ::testing::ElementsAre;

std::string utf8(const std::string& gb2312Bytes) {
    return gb2312::toUnicode(gb2312Bytes).toStdString();
}

TEST(CatalogueBlock, HasTheStoredSizeAndLayout) {
    const auto block = storedCatalogueBlock();
    ASSERT_EQ(block.size(), 49678u);
    // 22 nodes; "1画": record size 28, values 0 0 -1 -1 0, one child, length 3, text.
    const std::vector<unsigned char> head = {
        22,   0,    0,    0,    28,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   0,    0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0, 3, '1', 0xBB, 0xAD, 27};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin()));
    const auto decoded = decodeCatalogue(block);
    const auto again = encodeCatalogue(decoded);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), block.begin(), block.end()));
}

TEST(CatalogueBlock, HoldsTheGroupsTheirCharactersAndTheEightBlanks) {
    std::vector<std::string> labels, withBlank, secondLevel;
    std::vector<std::size_t> sizes;
    std::set<std::string> characters;
    for (const auto& group : decodeCatalogue(storedCatalogueBlock())) {
        labels.push_back(utf8(group.text));
        sizes.push_back(group.children.size());
        for (const auto& node : group.children) {
            characters.insert(node.text.substr(0, 2));
            EXPECT_TRUE(node.imageIndex == 0 && node.selectedIndex == 0 && node.stateIndex == -1 &&
                        node.overlayIndex == -1 && node.data == 0 && node.children.empty());
            const auto lead = static_cast<unsigned char>(node.text[0]);
            EXPECT_TRUE(lead >= 0xB0 && lead <= 0xE9 &&
                        static_cast<unsigned char>(node.text[1]) >= 0xA1);
            if (lead >= 0xD8) {  // past GB2312's first level
                secondLevel.push_back(utf8(node.text));
            }
            if (node.text.size() != 2) {
                withBlank.push_back(utf8(group.text) + ":" + utf8(node.text));
            }
        }
    }
    EXPECT_THAT(labels, ElementsAre("1画", "2画", "3画", "4画", "5画", "6画", "7画", "8画", "9画",
                                    "10画", "11画", "12画", "13画", "14画", "15画", "16画", "17画",
                                    "18画", "19画", "20画", "21画", "23画"));
    EXPECT_THAT(sizes, ElementsAre(1, 14, 40, 84, 103, 171, 175, 199, 192, 172, 131, 115, 67, 46,
                                   33, 22, 8, 1, 2, 1, 1, 1));
    EXPECT_EQ(characters.size(), 1579u);  // and none twice
    EXPECT_THAT(secondLevel, ElementsAre("橘"));
    EXPECT_THAT(withBlank, ElementsAre("6画:羽 ", "7画:位 ", "8画:规 ", "8画:居 ", "8画:易 ",
                                       "10画:害 ", "10画:钻 ", "14画:鲜 "));
}

TEST(CatalogueFormat, RefusesDamagedBlocks) {
    std::vector<CatalogueNodeRecord> nodes(2);
    nodes[0].text = "1\xBB\xAD";
    nodes[0].children.resize(1);
    nodes[0].children[0].text = "\xD2\xBB";
    const auto good = encodeCatalogue(nodes);
    ASSERT_EQ(decodeCatalogue(good).size(), 2u);
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_THROW(decodeCatalogue(std::span(good.data(), size)), StreamReadError) << size;
    }
    const auto damaged = [&](std::size_t at, unsigned char value) {
        auto bytes = good;
        bytes.resize(std::max(bytes.size(), at + 1));
        bytes[at] = value;
        return bytes;
    };
    EXPECT_THROW(decodeCatalogue(damaged(good.size(), 0)), StreamReadError);  // bytes after
    EXPECT_THROW(decodeCatalogue(damaged(4, 29)), StreamReadError);           // record size
    EXPECT_THROW(decodeCatalogue(damaged(3, 0x7F)), StreamReadError);         // node count
    EXPECT_THROW(decodeCatalogue(damaged(31, 0x80)), StreamReadError);        // child count
    nodes[0].children[0].children.resize(1);                                  // a third level
    EXPECT_THROW(decodeCatalogue(encodeCatalogue(nodes)), StreamReadError);
}

TEST(CatalogueListing, RefusesWhatWouldSpoilTheBlock) {
    EXPECT_EQ(parseCatalogueListing("# comment\n\n1画: 一 二\r\n").at(0).children.at(0).text,
              "\xD2\xBB ");
    for (const char* bad :
         {"1画 一\n", "1画:  一\n", "1画: 一  \n", "1画: 一a\n", "1画: 한\n", "1画: \n"}) {
        EXPECT_THROW(parseCatalogueListing(bad), std::invalid_argument) << bad;
    }
}

}  // namespace
}  // namespace qir::selection
