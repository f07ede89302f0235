// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/unihan_excerpt.h"

#include <bzlib.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace qir::testing {
namespace {
namespace fs = std::filesystem;

// Five lines of header, as the real files begin with comments.
constexpr const char* kReadings = R"(# Unihan_Readings.txt
# Date: 2022-08-01 16:36:07 GMT [JHJ]
# Unicode version: 15.0.0
#
# An excerpt for the tests.
U+4E86	kDefinition	to finish; particle of completed action
U+4E86	kMandarin	le
U+4E86	kTGHZ2013	212.080:le 223.010,223.020:liǎo
U+4E86	kXHC1983	0684.060:le 0711.150:liǎo 0712.070:liào
U+6C38	kCantonese	wing5
U+6C38	kDefinition	long, perpetual, eternal, forever
U+6C38	kMandarin	yǒng
U+6C38	kTGHZ2013	441.210:yǒng
U+6C38	kXHC1983	1392.020:yǒng
U+7684	kDefinition	possessive, adjectival suffix
U+7684	kMandarin	de
U+7684	kTGHZ2013	069.080:de 070.170:dī 071.080:dí 072.100:dì
U+7684	kXHC1983	0224.040:de 0231.060:dí 0239.060:dì
U+7F50	kMandarin	guàn
U+7F50	kXHC1983	0411.020*:guàn
U+884C	kDefinition	go; walk; move, travel; circulate; Kangxi radical 144
U+884C	kMandarin	xíng
U+884C	kTGHZ2013	131.140:háng 136.100:héng 408.120:xíng
U+884C	kXHC1983	0442.080:háng 0443.050:hàng 0460.010:xìng 1290.030:xíng
U+8A00	kDefinition	words, speech; speak, say
U+8A00	kMandarin	yán
U+8BDD	kDefinition	speech, talk, language; dialect
U+8BDD	kMandarin	huà huā
U+957F	kDefinition	long; length; excel in; leader (of a group)
U+957F	kMandarin	zhǎng
U+957F	kTGHZ2013	038.110:cháng 466.110:zhǎng
U+957F	kXHC1983	0121.040:cháng 1456.020:zhǎng
)";

constexpr const char* kStrokes = R"(# Unihan_IRGSources.txt
# Date: 2022-08-26 20:52:09 GMT [JHJ]
# Unicode version: 15.0.0
#
# An excerpt for the tests.
U+4E86	kTotalStrokes	2
U+4E86	kRSUnicode	6.1
U+4E86	kIRG_GSource	G0-414B
U+6C34	kRSUnicode	85.0
U+6C34	kTotalStrokes	4
U+6C35	kRSUnicode	85.0
U+6C35	kTotalStrokes	3
U+6C38	kRSUnicode	85.1
U+6C38	kTotalStrokes	5
U+7684	kRSUnicode	106.3
U+7684	kTotalStrokes	8
U+7F50	kRSUnicode	121.18
U+7F50	kTotalStrokes	23
U+884C	kRSUnicode	144.0
U+884C	kTotalStrokes	6
U+8A00	kRSUnicode	149.0
U+8A00	kTotalStrokes	7
U+8BA0	kRSUnicode	149'.0
U+8BA0	kTotalStrokes	2
U+8BDD	kRSUnicode	149'.6 149.6
U+8BDD	kTotalStrokes	8 13
U+9577	kRSUnicode	168.0
U+9577	kTotalStrokes	8
U+957F	kRSUnicode	168'.0
U+957F	kTotalStrokes	4
)";

constexpr const char* kRadicals = R"(# CJKRadicals-15.0.0.txt
# Date: 2022-05-03, 18:49:00 GMT [RC, KW, LI]
#
# Mapping from CJK radical numbers to characters
#
6; 2F05; 4E85
85; 2F54; 6C34
106; 2F69; 767D
121; 2F78; 7F36
144; 2F8F; 884C
149; 2F94; 8A00
149'; 2EC8; 8BA0
168; 2FA7; 9577
168'; 2ED3; 957F
)";

constexpr const char* kEquivalents = R"(# EquivalentUnifiedIdeograph-15.0.0.txt
# Date: 2022-05-13, 20:00:00 GMT [KW, LI]
#
# An excerpt for the tests.
#
2E85       ; 4EBB  #     CJK RADICAL PERSON
2EA1       ; 6C35  #     CJK RADICAL WATER ONE
2EA2       ; 6C3A  #     CJK RADICAL WATER TWO
2EC8       ; 8BA0  #     CJK RADICAL C-SIMPLIFIED SPEECH
2ED2..2ED3 ; 957F  # [2] CJK RADICAL LONG TWO..CJK RADICAL C-SIMPLIFIED LONG
2F54       ; 6C34  #     KANGXI RADICAL WATER
)";

std::string withLine6(const std::string& text, const std::string& line) {
    std::size_t start = 0;
    for (int i = 1; i < 6; ++i) {
        start = text.find('\n', start) + 1;
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(0, start) + line + text.substr(end);
}

}  // namespace

std::string bzip2(const std::string& data) {
    std::vector<char> out(data.size() + data.size() / 100 + 1024);
    auto size = static_cast<unsigned>(out.size());
    std::string in = data;
    if (BZ2_bzBuffToBuffCompress(out.data(), &size, in.data(), static_cast<unsigned>(in.size()), 9,
                                 0, 0) != BZ_OK) {
        throw std::runtime_error("bzip2 compression failed");
    }
    return {out.data(), size};
}

fs::path writeUnihanExcerpt(const fs::path& folder, const std::string& file,
                            const std::string& line6) {
    fs::create_directories(folder);
    const std::pair<const char*, const char*> files[] = {
        {"Unihan_Readings.txt.bz2", kReadings},
        {"Unihan_IRGSources.txt.bz2", kStrokes},
        {"CJKRadicals.txt", kRadicals},
        {"EquivalentUnifiedIdeograph.txt", kEquivalents},
    };
    for (const auto& [name, text] : files) {
        std::string content = text;
        if (file == name) {
            content = withLine6(content, line6);
        }
        if (std::string(name).ends_with(".bz2")) {
            content = bzip2(content);
        }
        std::ofstream(folder / name, std::ios::binary) << content;
    }
    return folder;
}

}  // namespace qir::testing
