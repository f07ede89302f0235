// SPDX-License-Identifier: GPL-3.0-or-later
#include "facts/info_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "store/table_file.h"
#include "tests/support/scratch_directory.h"

namespace qir::facts {
namespace {

// What a run wrote to its two streams.
struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

std::string contentsOf(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, read);
    }
    return text;
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

class InfoCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store::CharacterFacts yong;
        yong.readings = {"yǒng"};
        yong.gloss = "long, perpetual";
        yong.radical = "水";
        yong.radicalVariant = "氵";
        yong.radicalNumber = 85;
        yong.remainingStrokes = 1;
        yong.totalStrokes = 5;
        store::CharacterFacts xing;
        xing.readings = {"xíng", "háng"};
        xing.radical = "行";
        xing.radicalNumber = 144;
        xing.remainingStrokes = 0;
        xing.totalStrokes = 6;  // and no gloss
        std::vector<store::TableRow> rows;
        for (const auto& [key, facts] : {std::pair{"\xD3\xC0", yong}, {"\xD0\xD0", xing}}) {
            const std::string row = store::encodeCharacterFacts(facts);
            rows.push_back({key, Bytes(row.begin(), row.end())});
        }
        store::writeTableFile(scratch.path() / store::kFactsTable.fileName, store::kFactsTable,
                              rows);
    }

    Outcome run(const std::vector<std::string>& arguments) {
        File out(std::tmpfile(), std::fclose);
        File err(std::tmpfile(), std::fclose);
        Outcome result;
        cli::CommandLine line(QStringLiteral("qir-stroke"), QStringLiteral("1.0.0"), {});
        line.add(infoCommand(scratch.path(), out.get(), err.get()));
        result.code = line.run(arguments, out.get(), err.get()).value_or(-1);
        result.out = contentsOf(out.get());
        result.err = contentsOf(err.get());
        return result;
    }

    testing::ScratchDirectory scratch;
};

TEST_F(InfoCommandTest, PrintsOneTabSeparatedLinePerCharacterInOrderWithEmptyFieldsKept) {
    const Outcome result = run({"--info", "行 永行"});
    EXPECT_EQ(result.code, kAllDescribed) << result.err;
    EXPECT_EQ(result.out,
              "行\txíng, háng\t行\t0\t6\t\n"
              "永\tyǒng\t水\t1\t5\tlong, perpetual\n"
              "行\txíng, háng\t行\t0\t6\t\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(run({"--info=永"}).out, "永\tyǒng\t水\t1\t5\tlong, perpetual\n");
}

TEST_F(InfoCommandTest, NamesWhatItCannotDescribeAndSaysSoInTheExitCode) {
    const Outcome some = run({"--info", "永A丢😀"});
    EXPECT_EQ(some.code, kSomeNotDescribed);
    EXPECT_EQ(some.out, "永\tyǒng\t水\t1\t5\tlong, perpetual\n");
    EXPECT_EQ(some.err,
              "qir-stroke: cannot describe character 2, \"A\": not a Chinese character\n"
              "qir-stroke: cannot describe character 3, \"丢\": the character facts do not "
              "describe it\n"
              "qir-stroke: cannot describe character 4, \"😀\": not a Chinese character\n");
    const Outcome none = run({"--info", "丟"});  // traditional, outside GB2312
    EXPECT_EQ(none.code, kNoneDescribed);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("\"丟\": outside GB2312"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("no character could be described"), std::string::npos);
    EXPECT_EQ(run({"--info", "  "}).code, kNoneDescribed);
}

TEST_F(InfoCommandTest, AWrongCommandLineOrAMissingTableIsRefused) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--info"},
                                                      {"--info", "永", "--info", "行"},
                                                      {"--info", "永", "--page", "a4"}}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.code, kUsageError);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("(see 'qir-stroke --help')"), std::string::npos) << result.err;
    }
    std::filesystem::remove(scratch.path() / store::kFactsTable.fileName);
    const Outcome missing = run({"--info", "永"});
    EXPECT_EQ(missing.code, kNoneDescribed);
    EXPECT_NE(missing.err.find("Cannot open table bishunzi.db: the file does not exist."),
              std::string::npos)
        << missing.err;
    EXPECT_NE(missing.err.find("the character store is read from"), std::string::npos);
}

TEST_F(InfoCommandTest, IsChosenByItsOptionOnlyAndTakesNothingElse) {
    EXPECT_EQ(run({"--info=\xE6\xB0\xB8"}).code, kAllDescribed);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--info"},
                                                  {"--information"},
                                                  {"--info", "a", "b"},
                                                  {"--info", "a", "--info", "b"},
                                                  {"--info", "a", "--output", "x.pdf"}}) {
        const Outcome refused = run(wrong);
        EXPECT_EQ(refused.code, kUsageError) << wrong.size();
        EXPECT_TRUE(refused.out.empty());
    }
    EXPECT_EQ(run({}).code, -1);  // no command: the window would open
}

}  // namespace
}  // namespace qir::facts
