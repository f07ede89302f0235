// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/stroke_vectors.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace qir::store {
namespace {

constexpr unsigned char kMagic[] = {'Q', 'S', 'V'};
constexpr double kUnitsPerCoordinate = 8;
constexpr std::int64_t kMaxStored = static_cast<std::int64_t>(kMaxCoordinate * kUnitsPerCoordinate);

[[noreturn]] void refuse(const std::string& why) {
    throw StrokeVectorsError(why);
}

std::string strokeName(std::size_t index) {
    return "stroke " + std::to_string(index + 1);
}

class Writer {
  public:
    void byte(unsigned char value) { bytes_.push_back(value); }
    void unsignedNumber(std::uint64_t value) {
        while (value >= 0x80) {
            bytes_.push_back(static_cast<unsigned char>(value | 0x80));
            value >>= 7;
        }
        bytes_.push_back(static_cast<unsigned char>(value));
    }
    void signedNumber(std::int64_t value) {
        unsignedNumber((static_cast<std::uint64_t>(value) << 1) ^
                       static_cast<std::uint64_t>(value >> 63));
    }
    std::vector<unsigned char> take() { return std::move(bytes_); }

  private:
    std::vector<unsigned char> bytes_;
};

// Points of one stroke, each as the difference from the one before.
class PointWriter {
  public:
    PointWriter(Writer& out, std::size_t stroke) : out_(out), stroke_(stroke) {}
    void point(const VectorPoint& p) {
        const std::int64_t x = stored(p.x);
        const std::int64_t y = stored(p.y);
        out_.signedNumber(x - x_);
        out_.signedNumber(y - y_);
        x_ = x;
        y_ = y;
    }

  private:
    std::int64_t stored(double value) const {
        if (!std::isfinite(value) || std::fabs(value) > kMaxCoordinate) {
            refuse(strokeName(stroke_) + " has a coordinate outside the box");
        }
        return std::llround(value * kUnitsPerCoordinate);
    }
    Writer& out_;
    std::size_t stroke_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

class Reader {
  public:
    explicit Reader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    bool atEnd() const { return offset_ == bytes_.size(); }
    unsigned char byte(const std::string& where) {
        if (atEnd()) {
            refuse("the data ends inside " + where);
        }
        return bytes_[offset_++];
    }
    std::uint64_t unsignedNumber(const std::string& where) {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const unsigned char next = byte(where);
            value |= static_cast<std::uint64_t>(next & 0x7f) << shift;
            if ((next & 0x80) == 0) {
                return value;
            }
        }
        refuse("a number in " + where + " is too long");
    }
    std::int64_t signedNumber(const std::string& where) {
        const std::uint64_t zigzag = unsignedNumber(where);
        return static_cast<std::int64_t>(zigzag >> 1) ^ -static_cast<std::int64_t>(zigzag & 1);
    }
    // A count read in `where`, of `noun` that `owner` has.
    std::size_t count(const std::string& where, const std::string& owner, const char* noun,
                      std::size_t most) {
        const std::uint64_t value = unsignedNumber(where);
        if (value > most) {
            refuse(owner + " has " + std::to_string(value) + " " + noun + ", more than " +
                   std::to_string(most));
        }
        return static_cast<std::size_t>(value);
    }

  private:
    std::span<const unsigned char> bytes_;
    std::size_t offset_ = 0;
};

class PointReader {
  public:
    PointReader(Reader& in, std::string where) : in_(in), where_(std::move(where)) {}
    VectorPoint point() {
        x_ = next(x_);
        y_ = next(y_);
        return {static_cast<double>(x_) / kUnitsPerCoordinate,
                static_cast<double>(y_) / kUnitsPerCoordinate};
    }

  private:
    std::int64_t next(std::int64_t previous) {
        const std::int64_t delta = in_.signedNumber(where_);
        // Checked before adding, so that no sum can overflow.
        if (delta < -2 * kMaxStored || delta > 2 * kMaxStored ||
            std::abs(previous + delta) > kMaxStored) {
            refuse(where_ + " has a coordinate outside the box");
        }
        return previous + delta;
    }

    Reader& in_;
    std::string where_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
};

void checkStroke(const VectorStroke& stroke, std::size_t index) {
    const std::string where = strokeName(index);
    if (stroke.outline.empty() || stroke.outline.front().verb != OutlineVerb::MoveTo) {
        refuse(where + ": the outline does not start with MoveTo");
    }
    if (stroke.median.empty()) {
        refuse(where + ": the median has no points");
    }
    std::size_t points = stroke.median.size();
    for (const OutlineCommand& command : stroke.outline) {
        if (static_cast<int>(command.points.size()) != pointCount(command.verb)) {
            refuse(where + ": a command has the wrong number of points");
        }
        points += command.points.size();
    }
    if (stroke.outline.size() > kMaxPointsPerStroke || points > kMaxPointsPerStroke) {
        refuse(where + " has more than " + std::to_string(kMaxPointsPerStroke) + " points");
    }
}

}  // namespace

std::vector<unsigned char> encodeStrokeVectors(const StrokeVectors& vectors) {
    if (vectors.strokes.empty()) {
        refuse("the character has no strokes");
    }
    if (vectors.strokes.size() > kMaxStrokes) {
        refuse("the character has more than " + std::to_string(kMaxStrokes) + " strokes");
    }
    Writer out;
    for (unsigned char c : kMagic) {
        out.byte(c);
    }
    out.byte(kStrokeVectorsVersion);
    out.unsignedNumber(vectors.strokes.size());
    for (std::size_t i = 0; i < vectors.strokes.size(); ++i) {
        const VectorStroke& stroke = vectors.strokes[i];
        checkStroke(stroke, i);
        PointWriter points(out, i);
        out.unsignedNumber(stroke.outline.size());
        for (const OutlineCommand& command : stroke.outline) {
            out.byte(static_cast<unsigned char>(command.verb));
            for (const VectorPoint& point : command.points) {
                points.point(point);
            }
        }
        out.unsignedNumber(stroke.median.size());
        for (const VectorPoint& point : stroke.median) {
            points.point(point);
        }
    }
    return out.take();
}

StrokeVectors decodeStrokeVectors(std::span<const unsigned char> bytes) {
    Reader in(bytes);
    for (unsigned char c : kMagic) {
        if (in.atEnd() || in.byte("the header") != c) {
            refuse("the data is not in the stroke vector format");
        }
    }
    const unsigned version = in.byte("the header");
    if (version != kStrokeVectorsVersion) {
        refuse("the data is in version " + std::to_string(version) +
               " of the stroke vector format, which this program does not read");
    }
    const std::size_t strokeCount = in.count("the header", "the character", "strokes", kMaxStrokes);
    if (strokeCount == 0) {
        refuse("the character has no strokes");
    }
    StrokeVectors vectors;
    vectors.strokes.reserve(strokeCount);
    for (std::size_t i = 0; i < strokeCount; ++i) {
        const std::string where = strokeName(i);
        PointReader points(in, where);
        VectorStroke stroke;
        const std::size_t commands =
            in.count(where, where, "outline commands", kMaxPointsPerStroke);
        for (std::size_t c = 0; c < commands; ++c) {
            OutlineCommand command;
            const unsigned char verb = in.byte(where);
            if (verb > static_cast<unsigned char>(OutlineVerb::Close)) {
                refuse(where + " has an unknown outline command " + std::to_string(verb));
            }
            command.verb = static_cast<OutlineVerb>(verb);
            for (int p = 0; p < pointCount(command.verb); ++p) {
                command.points.push_back(points.point());
            }
            stroke.outline.push_back(std::move(command));
        }
        const std::size_t medianPoints =
            in.count(where, where, "median points", kMaxPointsPerStroke);
        for (std::size_t p = 0; p < medianPoints; ++p) {
            stroke.median.push_back(points.point());
        }
        checkStroke(stroke, i);
        vectors.strokes.push_back(std::move(stroke));
    }
    if (!in.atEnd()) {
        refuse("unexpected bytes follow the last stroke");
    }
    return vectors;
}

}  // namespace qir::store
