// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/store_build.h"

#define SQLITE_HAS_CODEC 1
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "store/character_facts.h"
#include "store/character_store.h"
#include "store/dataset.h"
#include "store/table_file.h"
#include "store/vector_table.h"
#include "tests/support/scratch_directory.h"
#include "tests/tools/clip_reader.h"
#include "tests/tools/unihan_excerpt.h"
#include "tools/store_builder/vector_record.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;

const fs::path kRealData = QIR_STROKE_DATA_DIR;

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A data folder with the package's manifest and licence and the given characters' files
// copied from the installed package.
fs::path makeDataFolder(const fs::path& where, const std::vector<std::string>& characters) {
    fs::create_directories(where);
    for (const char* file : {"package.json", "ARPHICPL.TXT"}) {
        fs::copy_file(kRealData / file, where / file);
    }
    for (const std::string& character : characters) {
        fs::copy_file(kRealData / fs::u8path(character + ".json"),
                      where / fs::u8path(character + ".json"));
    }
    return where;
}

StoreBuildOptions optionsFor(const fs::path& data, const fs::path& out, const char* characters) {
    StoreBuildOptions options;
    options.dataFolder = data;
    options.outputFolder = out;
    options.characters = charactersFromText(QString::fromUtf8(characters));
    options.log = nullptr;
    return options;
}

// The table file's pages as they are before encryption, which carry no random salt or IVs.
std::string decryptedBytes(const fs::path& file) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    sqlite3_key(db.get(), store::kStorePassword,
                static_cast<int>(std::strlen(store::kStorePassword)));
    int pageSize = store::kTablePageSizes[0];
    for (const store::TableLayout& layout :
         {store::kAnimationTable, store::kStrokeTable, store::kStrokeDisplayTable,
          store::kVectorTable, store::kFactsTable}) {
        if (file.filename() == layout.fileName) {
            pageSize = layout.pageSize;
        }
    }
    sqlite3_exec(db.get(), ("PRAGMA cipher_page_size = " + std::to_string(pageSize)).c_str(),
                 nullptr, nullptr, nullptr);
    const fs::path plain = file.string() + ".plain";
    fs::remove(plain);
    const std::string sql = "ATTACH '" + plain.string() +
                            "' AS plain KEY ''; SELECT sqlcipher_export('plain'); DETACH plain;";
    char* error = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error("cannot decrypt " + file.string() + ": " + message);
    }
    const std::string bytes = readAll(plain);
    fs::remove(plain);
    return bytes;
}

class StoreBuild : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(kRealData / "package.json")) {
            GTEST_SKIP() << "the stroke data is not installed (scripts/stroke-data.sh)";
        }
    }
    qir::testing::ScratchDirectory scratch;
};

TEST_F(StoreBuild, WritesTheFourTablesAndTheLicenceUnderTheirNamesOnly) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永", "一", "我"});
    const StoreBuildSummary summary = buildStore(optionsFor(data, scratch.path(), "永一我"));
    EXPECT_EQ(summary.built, 3);
    EXPECT_TRUE(summary.skipped.empty());
    EXPECT_EQ(summary.pictureCount, 5u + 1u + 7u);
    EXPECT_EQ(summary.dataVersion, "2.0.1");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch.path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"data", "donghua.db", "bishun.db", "bishunbmp.db",
                                            "bishunvec.db", "ARPHICPL.TXT"}));
    EXPECT_EQ(readAll(scratch.path() / "ARPHICPL.TXT"), readAll(data / "ARPHICPL.TXT"));
    for (const char* table : {"donghua.db", "bishun.db", "bishunbmp.db", "bishunvec.db"}) {
        const std::string notice = store::readTableNotice(scratch.path() / table);
        EXPECT_NE(notice.find("hanzi-writer-data 2.0.1"), std::string::npos) << table;
        EXPECT_NE(notice.find("Arphic Public License"), std::string::npos) << table;
        EXPECT_NE(notice.find("Make Me a Hanzi"), std::string::npos) << table;
    }
}

TEST_F(StoreBuild, RoundTripsThroughTheStoresQueriesInStepOrder) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永", "我"});
    buildStore(optionsFor(data, scratch.path(), "永我"));
    const BuiltCharacter expected = buildCharacter(charactersFromText("永")[0], data);

    store::CharacterStore characterStore;
    characterStore.addPassword(store::kStorePassword);
    const std::string yong = "\xD3\xC0";
    ASSERT_TRUE(characterStore.holds(yong));
    const Bytes clip = characterStore.clipOf(yong).bytes;
    EXPECT_EQ(clip, expected.clip);
    const qir::testing::DecodedClip decoded = qir::testing::decodeClip(clip);
    EXPECT_EQ(decoded.codecName, "zmbv");
    EXPECT_EQ(decoded.width, 152);
    EXPECT_EQ(decoded.height, 124);
    EXPECT_EQ(decoded.frames.size(),
              planWriting(makeGlyph(parseCharacterJson(readAll(data / "永.json")))).size());

    std::vector<std::string> keys;
    EXPECT_TRUE(characterStore.forEachStep(yong, [&](const std::string& name, const Bytes& jpeg) {
        keys.push_back(name);
        EXPECT_EQ(jpeg, expected.steps[keys.size() - 1].jpeg);
    }));
    EXPECT_EQ(keys, (std::vector<std::string>{yong + "01", yong + "02", yong + "03", yong + "04",
                                              yong + "05"}));

    store::Table& display = characterStore.strokeDisplayTable();
    display.open();
    EXPECT_EQ(display.recordCount(), 0);
    // The animation table holds the two characters, one after the other.
    const std::string wo = "\xCE\xD2";
    const std::string after = characterStore.nextCharacter(yong);
    EXPECT_EQ(after == yong ? characterStore.priorCharacter(yong) : after, wo);
}

TEST_F(StoreBuild, TheVectorTableHoldsEachBuiltCharactersDataInStrokeOrder) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永", "我"});
    writeText(data / fs::u8path("一.json"), "not json");
    buildStore(optionsFor(data, scratch.path(), "永我一"));
    EXPECT_NE(store::readTableNotice(scratch.path() / "bishunvec.db")
                  .find("version 1 of the program's stroke vector encoding"),
              std::string::npos);

    store::VectorTable table(scratch.path());
    for (const char* character : {"永", "我"}) {
        const CharacterEntry entry = charactersFromText(QString::fromUtf8(character))[0];
        const CharacterData parsed =
            parseCharacterJson(readAll(data / fs::u8path(entry.text.toStdString() + ".json")));
        // The data's coordinates are whole units here, so they come back exactly.
        EXPECT_EQ(table.find(entry.key), parsed) << character;
    }
    EXPECT_EQ(table.find("\xD2\xBB"), std::nullopt);  // 一 was skipped
}

TEST_F(StoreBuild, SameInputGivesTheSameTables) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永", "一", "鹰"});
    buildStore(optionsFor(data, scratch.path() / "first", "永一鹰"));
    StoreBuildOptions second = optionsFor(data, scratch.path() / "second", "永一鹰");
    second.workers = 1;  // a different schedule must not change the order or the bytes
    buildStore(second);
    for (const char* table : {"donghua.db", "bishun.db", "bishunbmp.db", "bishunvec.db"}) {
        const std::string first = decryptedBytes(scratch.path() / "first" / table);
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(first, decryptedBytes(scratch.path() / "second" / table)) << table;
    }
}

TEST_F(StoreBuild, SkipsUnusableCharactersNamingThem) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永"});
    writeText(data / fs::u8path("一.json"), "");
    writeText(data / fs::u8path("我.json"), "{\"strokes\": [");
    writeText(data / fs::u8path("人.json"),
              R"({"strokes": ["M 0 0 h 5 Z"], "medians": [[[0, 0]]]})");
    writeText(data / fs::u8path("大.json"), R"({"strokes": [], "medians": []})");
    // 天 has no file at all.
    const StoreBuildSummary summary =
        buildStore(optionsFor(data, scratch.path() / "out", "永一我人大天"));
    EXPECT_EQ(summary.built, 1);
    ASSERT_EQ(summary.skipped.size(), 5u);
    std::map<QString, std::string> reasons;
    for (const SkippedCharacter& skipped : summary.skipped) {
        reasons[skipped.text] = skipped.reason;
    }
    const auto hasFileAnd = [&](const char* character, const char* text) {
        const std::string& reason = reasons[QString::fromUtf8(character)];
        return reason.find(std::string(character) + ".json") != std::string::npos &&
               reason.find(text) != std::string::npos;
    };
    EXPECT_TRUE(hasFileAnd("一", "the file is empty")) << reasons[QString::fromUtf8("一")];
    EXPECT_TRUE(hasFileAnd("我", "malformed JSON")) << reasons[QString::fromUtf8("我")];
    EXPECT_TRUE(hasFileAnd("人", "unknown path command 'h'")) << reasons[QString::fromUtf8("人")];
    EXPECT_TRUE(hasFileAnd("大", "no strokes")) << reasons[QString::fromUtf8("大")];
    EXPECT_TRUE(hasFileAnd("天", "cannot read")) << reasons[QString::fromUtf8("天")];
    EXPECT_TRUE(fs::exists(scratch.path() / "out" / "donghua.db"));
}

TEST_F(StoreBuild, LeavesTheStoreAsItWasWhenNothingCanBeBuilt) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {});
    writeText(data / fs::u8path("一.json"), "not json");
    writeText(scratch.path() / "donghua.db", "the previous store");
    EXPECT_THROW(buildStore(optionsFor(data, scratch.path(), "一")), BuildFailure);
    EXPECT_EQ(readAll(scratch.path() / "donghua.db"), "the previous store");
    EXPECT_FALSE(fs::exists(scratch.path() / "bishun.db"));
    EXPECT_FALSE(fs::exists(scratch.path() / ".store-build"));
}

TEST_F(StoreBuild, StopsOnAMissingOrForeignDataFolder) {
    EXPECT_THROW(buildStore(optionsFor(scratch.path() / "nowhere", scratch.path(), "一")),
                 BuildFailure);
    fs::create_directories(scratch.path() / "other");
    writeText(scratch.path() / "other" / "package.json", R"({"name": "left-pad"})");
    EXPECT_THROW(buildStore(optionsFor(scratch.path() / "other", scratch.path(), "一")),
                 BuildFailure);
    const fs::path data = makeDataFolder(scratch.path() / "data", {"一"});
    fs::remove(data / "ARPHICPL.TXT");
    EXPECT_THROW(buildStore(optionsFor(data, scratch.path(), "一")), BuildFailure);
    EXPECT_FALSE(fs::exists(scratch.path() / "donghua.db"));
}

TEST_F(StoreBuild, TheFactsTableHoldsUnihansFactsAndEveryStrokeCountDisagreementIsReported) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永", "了", "长", "一"});
    // The excerpt gives 了 three strokes where the data has two; it says nothing of 一.
    StoreBuildOptions options = optionsFor(data, scratch.path() / "out", "永了长一");
    options.unicodeFolder = qir::testing::writeUnihanExcerpt(
        scratch.path() / "unicode", "Unihan_IRGSources.txt.bz2", "U+4E86\tkTotalStrokes\t3");
    const StoreBuildSummary summary = buildStore(options);
    ASSERT_TRUE(summary.facts.has_value());
    EXPECT_EQ(summary.facts->unicodeVersion, "15.0.0");
    EXPECT_EQ(summary.facts->withReading, 3);
    EXPECT_EQ(summary.facts->withGloss, 3);
    EXPECT_EQ(summary.facts->withRadical, 3);
    ASSERT_EQ(summary.facts->disagreements.size(), 1u);
    EXPECT_EQ(summary.facts->disagreements[0].text, QStringLiteral("了"));
    EXPECT_EQ(summary.facts->disagreements[0].unihan, 3);
    EXPECT_EQ(summary.facts->disagreements[0].data, 2);

    store::FactsTable table(scratch.path() / "out");
    const std::optional<store::CharacterFacts> yong = table.find("\xD3\xC0");
    ASSERT_TRUE(yong.has_value());
    EXPECT_EQ(store::factsLine(QStringLiteral("永"), *yong),
              QStringLiteral("永 yǒng — long, perpetual, eternal, forever · 部首 水 (氵) · 5画"));
    // Unihan's count is kept as it is; a character it lacks has no row.
    EXPECT_EQ(table.find("\xC1\xCB")->totalStrokes, 3);  // 了
    EXPECT_EQ(table.find("\xD2\xBB"), std::nullopt);     // 一
    const std::string notice = store::readTableNotice(scratch.path() / "out" / "bishunzi.db");
    EXPECT_NE(notice.find("Unicode Standard, version 15.0.0"), std::string::npos) << notice;
    EXPECT_NE(notice.find("Unicode License"), std::string::npos) << notice;
}

TEST_F(StoreBuild, AMissingOrMalformedUnicodeFileStopsTheBuildBeforeAnythingIsWritten) {
    const fs::path data = makeDataFolder(scratch.path() / "data", {"永"});
    StoreBuildOptions options = optionsFor(data, scratch.path() / "out", "永");
    options.unicodeFolder = qir::testing::writeUnihanExcerpt(scratch.path() / "unicode");
    fs::remove(options.unicodeFolder / "Unihan_IRGSources.txt.bz2");
    try {
        buildStore(options);
        ADD_FAILURE() << "built without Unihan_IRGSources.txt.bz2";
    } catch (const BuildFailure& e) {
        EXPECT_NE(std::string(e.what()).find("Unihan_IRGSources.txt.bz2 is missing"),
                  std::string::npos)
            << e.what();
    }
    options.unicodeFolder = qir::testing::writeUnihanExcerpt(
        scratch.path() / "damaged", "Unihan_Readings.txt.bz2", "U+6C38\tkMandarin\tyong3");
    try {
        buildStore(options);
        ADD_FAILURE() << "built with a malformed line";
    } catch (const BuildFailure& e) {
        EXPECT_NE(std::string(e.what()).find("Unihan_Readings.txt.bz2 line 6"), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(fs::exists(scratch.path() / "out" / "donghua.db"));
    EXPECT_FALSE(fs::exists(scratch.path() / "out" / "bishunzi.db"));
}

}  // namespace
}  // namespace qir::tools
