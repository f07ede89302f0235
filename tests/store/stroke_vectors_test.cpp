// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/stroke_vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qir::store {
namespace {

using Verb = OutlineVerb;

// Two strokes with every verb, negative and half-unit coordinates, as the data has them.
StrokeVectors sample() {
    VectorStroke first;
    first.outline = {{Verb::MoveTo, {{440, 788}}},
                     {Verb::QuadTo, {{497, 731}, {535, 718.5}}},
                     {Verb::CubicTo, {{553, 717}, {562, 732}, {569, 748}}},
                     {Verb::LineTo, {{421, -34}}},
                     {Verb::Close, {}}};
    first.median = {{428, 824}, {503, 781}, {539, 741}};
    VectorStroke second;
    second.outline = {{Verb::MoveTo, {{-12.5, 1000}}}, {Verb::LineTo, {{0, 0}}}, {Verb::Close, {}}};
    second.median = {{5, 5}};
    return {{first, second}};
}

std::size_t pointsIn(const StrokeVectors& vectors) {
    std::size_t points = 0;
    for (const VectorStroke& stroke : vectors.strokes) {
        points += stroke.median.size();
        for (const OutlineCommand& command : stroke.outline) {
            points += command.points.size();
        }
    }
    return points;
}

std::string refusalOf(const std::vector<unsigned char>& bytes) {
    try {
        decodeStrokeVectors(bytes);
    } catch (const StrokeVectorsError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(StrokeVectors, WholeAndHalfUnitsComeBackExactlyAndCompactly) {
    const StrokeVectors vectors = sample();
    const std::vector<unsigned char> bytes = encodeStrokeVectors(vectors);
    EXPECT_EQ(decodeStrokeVectors(bytes), vectors);
    // Differences between neighbouring points fit in two bytes each way.
    EXPECT_LE(bytes.size(), 4 * pointsIn(vectors) + 16);
}

TEST(StrokeVectors, OtherFractionsComeBackWithinASixteenthOfAUnit) {
    StrokeVectors vectors = sample();
    vectors.strokes[0].median[1] = {100.0 / 3.0, 2000.0 / 3.0};
    const StrokeVectors decoded = decodeStrokeVectors(encodeStrokeVectors(vectors));
    EXPECT_NEAR(decoded.strokes[0].median[1].x, 100.0 / 3.0, 1.0 / 16);
    EXPECT_NEAR(decoded.strokes[0].median[1].y, 2000.0 / 3.0, 1.0 / 16);
}

// The bytes of a store built today must stay readable: the documented layout, by hand.
TEST(StrokeVectors, ReadsTheDocumentedVersionOneLayout) {
    const std::vector<unsigned char> bytes = {
        'Q', 'S',  'V',  1,   // magic, version
        1,                    // one stroke
        3,                    // three commands
        0,   16,   32,        // MoveTo (1, 2): eighths 8, 16, zigzag 16, 32
        1,   0x80, 0x01, 1,   // LineTo (9, 1.875): differences 64 -> 128 (two bytes), -1 -> 1
        4,                    // Close
        1,   0x8f, 0x01, 16,  // one median point, (9, 1.875) + (-72/8, 8/8) = (0, 2.875)
    };
    StrokeVectors expected;
    expected.strokes.push_back(
        {{{Verb::MoveTo, {{1, 2}}}, {Verb::LineTo, {{9, 1.875}}}, {Verb::Close, {}}},
         {{0, 2.875}}});
    EXPECT_EQ(decodeStrokeVectors(bytes), expected);
    EXPECT_EQ(encodeStrokeVectors(expected), bytes);
}

TEST(StrokeVectors, EncodingRefusesWhatCouldNotBeReadBack) {
    const auto refusal = [](const StrokeVectors& vectors) {
        try {
            encodeStrokeVectors(vectors);
        } catch (const StrokeVectorsError& e) {
            return std::string(e.what());
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(refusal({}), "the character has no strokes");

    StrokeVectors vectors = sample();
    vectors.strokes[1].outline.erase(vectors.strokes[1].outline.begin());
    EXPECT_EQ(refusal(vectors), "stroke 2: the outline does not start with MoveTo");

    vectors = sample();
    vectors.strokes[0].median.clear();
    EXPECT_EQ(refusal(vectors), "stroke 1: the median has no points");

    vectors = sample();
    vectors.strokes[0].outline[1].points.pop_back();
    EXPECT_EQ(refusal(vectors), "stroke 1: a command has the wrong number of points");

    for (double bad : {std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), kMaxCoordinate + 1}) {
        vectors = sample();
        vectors.strokes[1].median[0].y = bad;
        EXPECT_EQ(refusal(vectors), "stroke 2 has a coordinate outside the box") << bad;
    }

    vectors = sample();
    vectors.strokes.resize(kMaxStrokes + 1, vectors.strokes[0]);
    EXPECT_EQ(refusal(vectors), "the character has more than 99 strokes");
}

TEST(StrokeVectors, EveryCutShortBlobIsRefusedAndTrailingBytesToo) {
    const std::vector<unsigned char> bytes = encodeStrokeVectors(sample());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<unsigned char> cut(bytes.begin(),
                                             bytes.begin() + static_cast<long>(length));
        EXPECT_THROW(decodeStrokeVectors(cut), StrokeVectorsError) << length;
    }
    std::vector<unsigned char> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(refusalOf(longer), "unexpected bytes follow the last stroke");
}

TEST(StrokeVectors, DamagedHeadersCountsAndNumbersAreRefusedWithTheirReason) {
    const std::vector<unsigned char> header = {'Q', 'S', 'V', 1};
    auto with = [&](std::initializer_list<unsigned char> rest) {
        std::vector<unsigned char> bytes = header;
        bytes.insert(bytes.end(), rest);
        return bytes;
    };
    EXPECT_EQ(refusalOf({'J', 'F', 'I', 'F', 1, 1}), "the data is not in the stroke vector format");
    EXPECT_EQ(refusalOf({'Q', 'S', 'V', 2, 1}),
              "the data is in version 2 of the stroke vector format, which this program does not "
              "read");
    EXPECT_EQ(refusalOf(with({0})), "the character has no strokes");
    EXPECT_EQ(refusalOf(with({100})), "the character has 100 strokes, more than 99");
    EXPECT_EQ(refusalOf(with({1, 1, 9, 0, 0})), "stroke 1 has an unknown outline command 9");
    EXPECT_EQ(refusalOf(with({1, 1, 1, 0, 0, 1, 0, 0})),
              "stroke 1: the outline does not start with MoveTo");
    EXPECT_EQ(refusalOf(with({1, 1, 0, 0, 0, 0})), "stroke 1: the median has no points");
    // Ten bytes that all say another follows: longer than any 64-bit number.
    EXPECT_EQ(refusalOf(with({1, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 1})),
              "a number in stroke 1 is too long");
    // The largest difference a number can hold must not wrap around.
    EXPECT_EQ(refusalOf(with({1, 1, 0, 0xfe, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x01,
                              0, 1, 0, 0})),
              "stroke 1 has a coordinate outside the box");
}

}  // namespace
}  // namespace qir::store
