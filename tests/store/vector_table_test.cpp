// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/vector_table.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <set>

#include "store/engine_error.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/scratch_directory.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;
using testing::kC;

// A one-stroke character whose median starts at `start`, so that rows tell apart.
StrokeVectors bar(double start) {
    VectorStroke stroke;
    stroke.outline = {{OutlineVerb::MoveTo, {{start, 0}}},
                      {OutlineVerb::LineTo, {{start + 10, 500}}},
                      {OutlineVerb::Close, {}}};
    stroke.median = {{start, 0}, {start, 500}};
    return {{stroke}};
}

TableRow rowOf(const std::string& hanzi, const StrokeVectors& vectors) {
    return {hanzi, vectorRowBytes(vectors)};
}

std::string failureOf(VectorTable& table, const std::string& hanzi) {
    try {
        table.find(hanzi);
    } catch (const EngineError& e) {
        return e.what();
    }
    return "(no error)";
}

class VectorTableTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    const std::filesystem::path file = scratch.path() / kVectorTable.fileName;
};

TEST_F(VectorTableTest, FindsEachCharactersStrokesAndNothingForOthers) {
    writeTableFile(file, kVectorTable, {rowOf(kA, bar(1)), rowOf(kB, bar(2))});
    VectorTable table(scratch.path());
    EXPECT_EQ(table.find(kB), bar(2));
    EXPECT_EQ(table.find(kA), bar(1));
    // A catalogue entry may carry a trailing blank.
    EXPECT_EQ(table.find(kA + " "), bar(1));
    EXPECT_EQ(table.find(kC), std::nullopt);
    EXPECT_EQ(table.find(""), std::nullopt);
}

TEST_F(VectorTableTest, OpensOnlyAtTheFirstLookUpAndTriesAgainAfterAFailure) {
    VectorTable table(scratch.path());
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(failureOf(table, kA), "Cannot open table bishunvec.db: the file does not exist");
    EXPECT_FALSE(table.isOpen());
    writeTableFile(file, kVectorTable, {rowOf(kA, bar(1))});
    EXPECT_EQ(table.find(kA), bar(1));
    EXPECT_TRUE(table.isOpen());
}

TEST_F(VectorTableTest, AWrongKeyAForeignFileAndAFolderAreNamedInTheEnginesWords) {
    writeTableFile(file, kVectorTable, {rowOf(kA, bar(1))}, "other1");
    VectorTable wrongKey(scratch.path());
    EXPECT_EQ(failureOf(wrongKey, kA),
              "Cannot open table bishunvec.db: the file is not a table file, or the password is "
              "wrong");

    scratch.write(kVectorTable.fileName, std::string(4096, 'x'));
    VectorTable foreign(scratch.path());
    EXPECT_EQ(failureOf(foreign, kA),
              "Cannot open table bishunvec.db: the file is not a table file, or the password is "
              "wrong");

    // An empty table is no error: it just holds no character.
    std::filesystem::remove(file);
    TableFileWriter other(file, kVectorTable);
    other.commit();
    {
        VectorTable empty(scratch.path());
        EXPECT_EQ(empty.find(kA), std::nullopt);
    }

    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    VectorTable folder(scratch.path());
    EXPECT_EQ(failureOf(folder, kA), "Cannot open table bishunvec.db: it is a folder, not a file");
}

// A row whose deflated content is `plain`.
std::vector<unsigned char> deflated(std::vector<unsigned char> plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<unsigned char> packed(size);
    compress2(packed.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9);
    packed.resize(size);
    return packed;
}

TEST_F(VectorTableTest, ADamagedRowNamesItsCharacterAndTheOthersStillRead) {
    std::vector<unsigned char> encoding = encodeStrokeVectors(bar(1));
    encoding.resize(encoding.size() - 2);
    const TableRow damaged{"\xD3\xC0", deflated(encoding)};  // 永
    writeTableFile(file, kVectorTable, {rowOf(kA, bar(1)), damaged});
    VectorTable table(scratch.path());
    EXPECT_EQ(failureOf(table, "\xD3\xC0"),
              "Cannot read table bishunvec.db: the strokes of \xE6\xB0\xB8 are damaged (the data "
              "ends inside stroke 1)");
    EXPECT_EQ(table.find(kA), bar(1));
}

TEST_F(VectorTableTest, ARowThatIsNoDeflatedEncodingIsDamaged) {
    std::vector<unsigned char> cut = vectorRowBytes(bar(1));
    cut.resize(cut.size() - 2);
    std::vector<unsigned char> trailing = vectorRowBytes(bar(1));
    trailing.push_back(0);
    // Claims far more than any character: refused before it takes the memory.
    const std::vector<unsigned char> bomb = deflated(std::vector<unsigned char>(64 << 20, 0));
    writeTableFile(file, kVectorTable,
                   {{"\xB0\xA1", cut},
                    {"\xB0\xA2", trailing},
                    {"\xB0\xA3", bomb},
                    {"\xB0\xA4", encodeStrokeVectors(bar(1))}});
    VectorTable table(scratch.path());
    const std::string damaged = "Cannot read table bishunvec.db: the strokes of ";
    EXPECT_EQ(failureOf(table, "\xB0\xA1"),
              damaged + "\xE5\x95\x8A are damaged (the row ends inside its deflated encoding)");
    EXPECT_EQ(failureOf(table, "\xB0\xA2"),
              damaged + "\xE9\x98\xBF are damaged (bytes follow the row's deflated encoding)");
    EXPECT_EQ(failureOf(table, "\xB0\xA3"),
              damaged + "\xE5\x9F\x83 are damaged (the row inflates beyond any character's size)");
    EXPECT_EQ(failureOf(table, "\xB0\xA4"),
              damaged + "\xE6\x8C\xA8 are damaged (the row is not a deflated encoding)");
}

// The resident size, and its peak since the last resetPeakResidentSize(), in bytes.
std::size_t statusField(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::stoul(line.substr(field.size() + 1)) * 1024;
        }
    }
    return 0;
}

bool resetPeakResidentSize() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

TEST_F(VectorTableTest, AHugeRowIsRefusedWithoutTakingItsSizeInMemory) {
    {
        // 50 MB that no deflate would make of a character; filled so that it does not compress.
        std::vector<unsigned char> huge(50 << 20);
        std::uint32_t state = 12345;
        for (unsigned char& byte : huge) {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<unsigned char>(state >> 24);
        }
        writeTableFile(file, kVectorTable, {rowOf(kA, bar(1)), {kB, huge}});
    }
    VectorTable table(scratch.path());
    EXPECT_EQ(table.find(kA), bar(1));
    if (!resetPeakResidentSize()) {
        GTEST_SKIP() << "the peak resident size cannot be reset here";
    }
    const std::size_t before = statusField("VmRSS");
    EXPECT_EQ(failureOf(table, kB),
              "Cannot read table bishunvec.db: the strokes of \xE9\x98\xBF are damaged (the row is "
              "larger than any character's)");
    const std::size_t growth = statusField("VmHWM") - before;
    EXPECT_LT(growth, 64u << 20) << growth / 1024 / 1024 << " MB";
    // The table reads on.
    EXPECT_EQ(table.find(kA), bar(1));
}

TEST_F(VectorTableTest, ReadingLeavesTheFileAsItWas) {
    writeTableFile(file, kVectorTable, {rowOf(kA, bar(1))});
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const std::string before = scratch.read(kVectorTable.fileName);
    const auto modified = std::filesystem::last_write_time(file);
    {
        VectorTable table(scratch.path());
        EXPECT_EQ(table.find(kA), bar(1));
        EXPECT_EQ(table.find(kB), std::nullopt);
    }
    EXPECT_EQ(scratch.read(kVectorTable.fileName), before);
    EXPECT_EQ(std::filesystem::last_write_time(file), modified);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::set<std::string>{"bishunvec.db"});
}

}  // namespace
}  // namespace qir::store
