// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/riff_compaction.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/store_builder/avi_clip_encoder.h"

namespace qir::tools {
namespace {

std::string chunk(const std::string& id, const std::string& data) {
    std::string out = id;
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(data.size() >> shift));
    }
    out += data;
    if (data.size() % 2 == 1) {
        out.push_back('\0');
    }
    return out;
}

std::vector<unsigned char> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(RiffCompaction, DropsJunkAndCorrectsTheListSizes) {
    const std::string movi = chunk("LIST", "movi" + chunk("00dc", "abc") + chunk("JUNK", "x"));
    const std::string input =
        chunk("RIFF", "AVI " +
                          chunk("LIST", "hdrl" + chunk("avih", "1234") + chunk("JUNK", "......") +
                                            chunk("LIST", "strl" + chunk("JUNK", ".."))) +
                          chunk("JUNK", std::string(1016, '\0')) + movi + chunk("idx1", "ix"));
    const std::string expected = chunk(
        "RIFF", "AVI " + chunk("LIST", "hdrl" + chunk("avih", "1234") + chunk("LIST", "strl")) +
                    movi + chunk("idx1", "ix"));
    EXPECT_EQ(withoutJunkChunks(bytes(input)), bytes(expected));
}

TEST(RiffCompaction, RefusesWhatIsNotWellFormed) {
    EXPECT_THROW(withoutJunkChunks(bytes("RIFX....AVI ")), EncodeError);
    EXPECT_THROW(withoutJunkChunks(bytes("RIFF")), EncodeError);
    std::string tooLong = chunk("RIFF", "AVI " + chunk("avih", "1234"));
    tooLong[16] = 100;  // avih claims more than its list holds
    EXPECT_THROW(withoutJunkChunks(bytes(tooLong)), EncodeError);
    EXPECT_THROW(withoutJunkChunks(bytes(chunk("RIFF", "AVI abc"))), EncodeError);
}

}  // namespace
}  // namespace qir::tools
