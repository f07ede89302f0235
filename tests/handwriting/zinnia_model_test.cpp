// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/zinnia_model.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/errors.h"
#include "tests/handwriting/made_up_characters.h"
#include "tests/support/scratch_directory.h"

namespace qir::handwriting {
namespace {

using namespace qir::testing;

std::string refusal(const std::filesystem::path& file) {
    try {
        ZinniaModel model(file);
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), "EHandwritingError");
        return error.what();
    }
    return "loaded";
}

TEST(ZinniaModel, AMissingUnreadableShortOrDamagedModelIsRefusedWithItsName) {
    ScratchDirectory folder;
    const std::filesystem::path missing = folder.path() / "missing.model";
    EXPECT_EQ(refusal(missing), "The handwriting model " + missing.string() + " is missing.");

    std::filesystem::create_directory(folder.path() / "a folder.model");
    EXPECT_EQ(refusal(folder.path() / "a folder.model"),
              "The handwriting model " + (folder.path() / "a folder.model").string() +
                  " cannot be read.");

    folder.write("short.model", "abc");
    EXPECT_EQ(refusal(folder.path() / "short.model"), "The handwriting model " +
                                                          (folder.path() / "short.model").string() +
                                                          " is damaged: it is too short.");

    folder.write("noise.model", std::string(4096, '\x5A'));
    EXPECT_TRUE(refusal(folder.path() / "noise.model")
                    .starts_with("The handwriting model " +
                                 (folder.path() / "noise.model").string() + " is damaged: "));
}

class DebianModel : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kDebianModel)) {
            GTEST_SKIP() << "tegaki-zinnia-simplified-chinese is not installed";
        }
    }
};

TEST_F(DebianModel, ATruncatedCopyIsRefusedAsDamaged) {
    ScratchDirectory folder;
    std::ifstream whole(kDebianModel, std::ios::binary);
    std::string start(64 * 1024, '\0');
    whole.read(start.data(), static_cast<std::streamsize>(start.size()));
    folder.write("cut.model", start);
    EXPECT_TRUE(refusal(folder.path() / "cut.model").find("is damaged: ") != std::string::npos);
}

TEST_F(DebianModel, NamesSimpleCharactersAndAnswersBadInkWithoutFault) {
    const ZinniaModel model;
    EXPECT_EQ(model.classes(), 6763u);
    const auto named = [&](const Ink& ink, const std::string& hanzi) {
        const Candidates candidates = model.rank(ink, 10);
        EXPECT_LE(candidates.size(), 10u);
        return std::any_of(candidates.begin(), candidates.end(),
                           [&](const Candidate& c) { return c.hanzi == hanzi; });
    };
    EXPECT_TRUE(named(drawnByHand(mediansOf(kYi)), kYi));
    EXPECT_TRUE(named(drawnByHand(mediansOf(kShi)), kShi));
    EXPECT_TRUE(model.rank({}, 10).empty());
    EXPECT_TRUE(model.rank(Ink(200, Polyline{{0.1, 0.1}, {0.9, 0.9}}), 10).empty());
    EXPECT_NO_THROW(model.rank(Ink{{{0.5, 0.5}}, {}, {{-3, 7}, {1e9, -1e9}}}, 10));
}

}  // namespace
}  // namespace qir::handwriting
