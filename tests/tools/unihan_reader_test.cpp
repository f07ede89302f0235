// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/unihan_reader.h"

#include <bzlib.h>
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scratch_directory.h"
#include "tests/tools/unihan_excerpt.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;

std::string failureOf(const fs::path& folder, const std::set<char32_t>& wanted) {
    try {
        readUnihan(folder, wanted);
    } catch (const UnihanError& e) {
        return e.what();
    }
    return "(no error)";
}

class UnihanReaderTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    const fs::path folder = testing::writeUnihanExcerpt(scratch.path() / "unicode");
    const std::set<char32_t> wanted{U'永', U'行', U'长', U'了', U'的', U'话', U'言', U'罐', U'丢'};
};

TEST_F(UnihanReaderTest, ReadingsComeMainFirstThenTheDictionariesOnceEachWithTheirToneMarks) {
    const UnihanFacts facts = readUnihan(folder, wanted);
    EXPECT_EQ(facts.unicodeVersion, "15.0.0");
    using Readings = std::vector<std::string>;
    EXPECT_EQ(facts.facts.at(U'永').readings, Readings{"yǒng"});
    EXPECT_EQ(facts.facts.at(U'行').readings, (Readings{"xíng", "háng", "hàng", "xìng", "héng"}));
    EXPECT_EQ(facts.facts.at(U'长').readings, (Readings{"zhǎng", "cháng"}));
    EXPECT_EQ(facts.facts.at(U'了').readings, (Readings{"le", "liǎo", "liào"}));
    EXPECT_EQ(facts.facts.at(U'的').readings, (Readings{"de", "dí", "dì", "dī"}));
    // kMandarin's second value is Taiwan's reading, not the mainland's.
    EXPECT_EQ(facts.facts.at(U'话').readings, Readings{"huà"});
    // A reading decomposed in the file (o and a combining caron) is kept composed, and so is
    // found to repeat the main one.
    EXPECT_EQ(facts.facts.at(U'罐').readings, Readings{"guàn"});
}

TEST_F(UnihanReaderTest, GlossesAreWholeAndAMissingOneStaysEmpty) {
    const UnihanFacts facts = readUnihan(folder, wanted);
    EXPECT_EQ(facts.facts.at(U'长').gloss, "long; length; excel in; leader (of a group)");
    EXPECT_EQ(facts.facts.at(U'永').gloss, "long, perpetual, eternal, forever");
    EXPECT_EQ(facts.facts.at(U'罐').gloss, "");
    // A character Unihan says nothing of has no facts at all.
    EXPECT_FALSE(facts.facts.contains(U'丢'));
}

TEST_F(UnihanReaderTest, RadicalsAreKangxisOrTheSimplifiedFormWithTheCommonVariant) {
    const UnihanFacts facts = readUnihan(folder, wanted);
    const store::CharacterFacts& yong = facts.facts.at(U'永');
    EXPECT_EQ(yong.radical, "水");
    EXPECT_EQ(yong.radicalVariant, "氵");
    EXPECT_EQ(yong.radicalNumber, 85);
    EXPECT_FALSE(yong.simplifiedRadical);
    EXPECT_EQ(yong.remainingStrokes, 1);
    EXPECT_EQ(yong.totalStrokes, 5);

    const store::CharacterFacts& chang = facts.facts.at(U'长');
    EXPECT_EQ(chang.radical, "长");  // 168', not 長
    EXPECT_EQ(chang.radicalVariant, "");
    EXPECT_EQ(chang.radicalNumber, 168);
    EXPECT_TRUE(chang.simplifiedRadical);
    EXPECT_EQ(chang.remainingStrokes, 0);

    // 讠 is the simplified form of 言, not a variant of the traditional radical.
    EXPECT_EQ(facts.facts.at(U'话').radical, "讠");
    EXPECT_EQ(facts.facts.at(U'话').radicalNumber, 149);
    EXPECT_EQ(facts.facts.at(U'言').radical, "言");
    EXPECT_EQ(facts.facts.at(U'言').radicalVariant, "");
    // kTotalStrokes' first value is the one for simplified Chinese.
    EXPECT_EQ(facts.facts.at(U'话').totalStrokes, 8);
}

TEST_F(UnihanReaderTest, AMissingOrDamagedFileIsNamedAndNothingIsRead) {
    for (const char* name :
         {kUnihanReadingsFile, kUnihanStrokesFile, kRadicalsFile, kEquivalentIdeographsFile}) {
        testing::ScratchDirectory other;
        const fs::path copy = testing::writeUnihanExcerpt(other.path() / "unicode");
        fs::remove(copy / name);
        const std::string failure = failureOf(copy, wanted);
        EXPECT_NE(failure.find((copy / name).string() + " is missing"), std::string::npos)
            << failure;
    }
    std::ofstream(folder / kUnihanReadingsFile, std::ios::binary | std::ios::trunc)
        << "BZh91AY&SY not really";
    const std::string failure = failureOf(folder, wanted);
    EXPECT_NE(failure.find("Unihan_Readings.txt.bz2: it "), std::string::npos) << failure;
    EXPECT_NE(failure.find("bzip2"), std::string::npos) << failure;
}

// Each damaged line is refused with its file and line number, whether or not its character
// is wanted.
TEST_F(UnihanReaderTest, MalformedLinesAreRefusedWithTheirLineNumber) {
    struct Case {
        const char* file;
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {kUnihanReadingsFile, "U+6C38\tkMandarin\tyong3",
         "Unihan_Readings.txt.bz2 line 6: \"yong3\" is not pinyin"},
        {kUnihanReadingsFile, "U+6C38 kDefinition long",
         "Unihan_Readings.txt.bz2 line 6: not three fields separated by tabs"},
        {kUnihanReadingsFile, "U+4E00\tkXHC1983\t1290.030 xíng",
         "Unihan_Readings.txt.bz2 line 6: \"1290.030\" is not a kXHC1983 entry"},
        {kUnihanReadingsFile, "U+4E00\tkTGHZ2013\t1290.030:xíng",
         "Unihan_Readings.txt.bz2 line 6: \"1290.030:xíng\" is not a kTGHZ2013 entry"},
        {kUnihanReadingsFile, "6C38\tkDefinition\tlong",
         "Unihan_Readings.txt.bz2 line 6: \"6C38\" is not a code point"},
        {kUnihanReadingsFile, "U+6C38\tkDefinition\t",
         "Unihan_Readings.txt.bz2 line 6: the field kDefinition has no value"},
        {kUnihanStrokesFile, "U+4E00\tkRSUnicode\t85",
         "Unihan_IRGSources.txt.bz2 line 6: \"85\" is not a radical and stroke count"},
        {kUnihanStrokesFile, "U+4E00\tkRSUnicode\t215.1",
         "Unihan_IRGSources.txt.bz2 line 6: \"215.1\" is not a radical and stroke count"},
        {kUnihanStrokesFile, "U+4E00\tkTotalStrokes\tfive",
         "Unihan_IRGSources.txt.bz2 line 6: \"five\" is not a stroke count"},
        {kRadicalsFile, "85; 2F54", "CJKRadicals.txt line 6: not three fields"},
        {kEquivalentIdeographsFile, "2EA1 6C35", "EquivalentUnifiedIdeograph.txt line 6: not two"},
    };
    for (const Case& test : cases) {
        testing::ScratchDirectory other;
        const fs::path copy =
            testing::writeUnihanExcerpt(other.path() / "unicode", test.file, test.line);
        const std::string failure = failureOf(copy, wanted);
        EXPECT_NE(failure.find(test.expected), std::string::npos) << failure;
        EXPECT_NE(failure.find("the line is refused and nothing was built"), std::string::npos)
            << failure;
    }
}

TEST_F(UnihanReaderTest, AFileOfSeveralBzip2StreamsIsReadWhole) {
    const std::string first = "first half\n";
    const std::string second = "second half\n";
    std::string joined;
    for (const std::string& part : {first, second}) {
        joined += testing::bzip2(part);
    }
    std::ofstream(scratch.path() / "two.txt.bz2", std::ios::binary) << joined;
    EXPECT_EQ(readUnicodeDataFile(scratch.path() / "two.txt.bz2"), first + second);
    std::ofstream(scratch.path() / "plain.txt", std::ios::binary) << first;
    EXPECT_EQ(readUnicodeDataFile(scratch.path() / "plain.txt"), first);
}

}  // namespace
}  // namespace qir::tools
