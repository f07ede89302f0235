// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/unihan_reader.h"

#include <bzlib.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <charconv>
#include <future>
#include <optional>
#include <vector>

#include "platform/file_io.h"
#include "platform/gb2312.h"

namespace qir::tools {
namespace fs = std::filesystem;

namespace {

// The supplement's radical forms (U+2E80 to U+2EFF), among which the common variants lie.
constexpr char32_t kRadicalsSupplementFirst = 0x2E80;
constexpr char32_t kRadicalsSupplementLast = 0x2EFF;

class LineReader {
  public:
    LineReader(const fs::path& file, std::string text)
        : name_(file.filename().string()), text_(std::move(text)) {}

    // The next line that is neither empty nor a comment; false at the end.
    bool next(std::string_view& line) {
        while (position_ < text_.size()) {
            std::size_t end = text_.find('\n', position_);
            if (end == std::string::npos) {
                end = text_.size();
            }
            line = std::string_view(text_).substr(position_, end - position_);
            position_ = end + 1;
            ++number_;
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (!line.empty() && !line.starts_with('#')) {
                return true;
            }
        }
        return false;
    }

    [[noreturn]] void refuse(const std::string& why) const {
        throw UnihanError(name_ + " line " + std::to_string(number_) + ": " + why +
                          "; the line is refused and nothing was built");
    }

    const std::string& text() const { return text_; }

  private:
    std::string name_;
    std::string text_;
    std::size_t position_ = 0;
    int number_ = 0;
};

// `text` in double quotes, for messages.
std::string quoted(std::string_view text) {
    std::string result = "\"";
    result.append(text);
    result += '"';
    return result;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(separator);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(end + 1);
    }
}

std::optional<char32_t> codePointOf(std::string_view hex) {
    if (hex.size() < 4 || hex.size() > 6) {
        return std::nullopt;
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (error != std::errc() || end != hex.data() + hex.size() || value > 0x10FFFF) {
        return std::nullopt;
    }
    for (char c : hex) {
        if (c >= 'a' && c <= 'f') {
            return std::nullopt;  // the files write hex digits in capitals
        }
    }
    return value;
}

std::optional<int> smallNumberOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string utf8Of(char32_t codePoint) {
    const char32_t units[] = {codePoint};
    return QString::fromUcs4(units, 1).toStdString();
}

// A pinyin syllable with tone marks: letters and combining marks only (m̄ and ê̄ carry one).
bool isPinyin(const QString& reading) {
    if (reading.isEmpty()) {
        return false;
    }
    for (const QChar c : reading) {
        if (!c.isLower() && c.category() != QChar::Mark_NonSpacing) {
            return false;
        }
    }
    return true;
}

QString pinyinOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .normalized(QString::NormalizationForm_C);
}

// One Unihan line: "U+6C38<tab>kMandarin<tab>yǒng".
struct UnihanLine {
    char32_t codePoint;
    std::string_view field;
    std::string_view value;
};

UnihanLine parseUnihanLine(const LineReader& reader, std::string_view line) {
    const std::vector<std::string_view> parts = split(line, '\t');
    if (parts.size() != 3) {
        reader.refuse("not three fields separated by tabs");
    }
    const std::optional<char32_t> codePoint =
        parts[0].starts_with("U+") ? codePointOf(parts[0].substr(2)) : std::nullopt;
    if (!codePoint) {
        reader.refuse(quoted(parts[0]) + " is not a code point (U+XXXX)");
    }
    if (parts[1].size() < 2 || parts[1][0] != 'k') {
        reader.refuse(quoted(parts[1]) + " is not a Unihan field name");
    }
    if (gb2312::trimmed(parts[2]).empty()) {
        reader.refuse(std::string("the field ").append(parts[1]).append(" has no value"));
    }
    return {*codePoint, parts[1], parts[2]};
}

// What the readings file gives one character, before the readings are put in order.
struct RawReadings {
    std::string mandarin;
    std::vector<QString> dictionaryReadings[2];  // kXHC1983, kTGHZ2013
    std::string gloss;
};

// "0442.080:háng" (kXHC1983) or "131.140:háng" (kTGHZ2013), several apart by blanks; the
// locations may be several, apart by commas, and kXHC1983's may carry a star.
std::vector<QString> dictionaryReadingsOf(const LineReader& reader, std::string_view field,
                                          std::string_view value) {
    static const QRegularExpression xhc(
        QStringLiteral("^[0-9]{4}\\.[0-9]{3}\\*?(,[0-9]{4}\\.[0-9]{3}\\*?)*:(.+)$"));
    static const QRegularExpression tghz(
        QStringLiteral("^[0-9]{3}\\.[0-9]{3}(,[0-9]{3}\\.[0-9]{3})*:(.+)$"));
    const QRegularExpression& pattern = field == "kXHC1983" ? xhc : tghz;
    std::vector<QString> readings;
    for (std::string_view entry : split(value, ' ')) {
        const QRegularExpressionMatch match =
            pattern.match(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
        const QString reading = match.hasMatch()
                                    ? match.captured(2).normalized(QString::NormalizationForm_C)
                                    : QString();
        if (!isPinyin(reading)) {
            reader.refuse(quoted(entry) + " is not a " + std::string(field) +
                          " entry (location:pinyin)");
        }
        readings.push_back(reading);
    }
    return readings;
}

std::map<char32_t, RawReadings> readReadings(const fs::path& file, std::string text,
                                             std::string& unicodeVersion,
                                             const std::set<char32_t>& wanted) {
    LineReader reader(file, std::move(text));
    static const std::string_view kVersionLabel = "# Unicode version: ";
    if (const std::size_t at = reader.text().find(kVersionLabel); at != std::string::npos) {
        const std::size_t end = reader.text().find('\n', at);
        unicodeVersion = std::string(gb2312::trimmed(
            std::string_view(reader.text())
                .substr(at + kVersionLabel.size(), end - at - kVersionLabel.size())));
    }
    if (unicodeVersion.empty()) {
        throw UnihanError(file.filename().string() +
                          " names no Unicode version (\"# Unicode version: ...\"); nothing was "
                          "built");
    }
    std::map<char32_t, RawReadings> readings;
    std::string_view line;
    while (reader.next(line)) {
        const UnihanLine entry = parseUnihanLine(reader, line);
        const bool want = wanted.contains(entry.codePoint);
        if (entry.field == "kMandarin") {
            const std::vector<std::string_view> values = split(entry.value, ' ');
            for (std::string_view value : values) {
                if (!isPinyin(pinyinOf(value))) {
                    reader.refuse(quoted(value) + " is not pinyin with tone marks");
                }
            }
            if (want) {
                // The first is the reading of the mainland's standard; a second, Taiwan's.
                readings[entry.codePoint].mandarin = pinyinOf(values.front()).toStdString();
            }
        } else if (entry.field == "kXHC1983" || entry.field == "kTGHZ2013") {
            std::vector<QString> found = dictionaryReadingsOf(reader, entry.field, entry.value);
            if (want) {
                readings[entry.codePoint].dictionaryReadings[entry.field == "kXHC1983" ? 0 : 1] =
                    std::move(found);
            }
        } else if (entry.field == "kDefinition" && want) {
            readings[entry.codePoint].gloss = std::string(gb2312::trimmed(entry.value));
        }
    }
    return readings;
}

// The radical and stroke fields of the wanted characters: kRSUnicode's first value
// ("85.1", "168'.0") and kTotalStrokes' first (the count for simplified Chinese).
struct StrokeFields {
    std::string radical;  // "85", "168'"
    int remainingStrokes = 0;
    std::optional<int> totalStrokes;
};

std::map<char32_t, StrokeFields> readStrokeFields(const fs::path& file, std::string text,
                                                  const std::set<char32_t>& wanted) {
    LineReader reader(file, std::move(text));
    std::map<char32_t, StrokeFields> fields;
    std::string_view line;
    while (reader.next(line)) {
        const UnihanLine entry = parseUnihanLine(reader, line);
        if (entry.field == "kRSUnicode") {
            const std::string_view first = split(entry.value, ' ').front();
            const std::size_t dot = first.find('.');
            std::string_view radical = first.substr(0, dot);
            while (radical.ends_with('\'')) {
                radical.remove_suffix(1);
            }
            const std::optional<int> number = smallNumberOf(radical);
            const std::optional<int> remaining =
                dot == std::string_view::npos ? std::nullopt : smallNumberOf(first.substr(dot + 1));
            if (!number || *number < 1 || *number > 214 || !remaining || dot - radical.size() > 2) {
                reader.refuse(quoted(first) +
                              " is not a radical and stroke count (radical.strokes)");
            }
            if (wanted.contains(entry.codePoint)) {
                fields[entry.codePoint].radical = std::string(first.substr(0, dot));
                fields[entry.codePoint].remainingStrokes = *remaining;
            }
        } else if (entry.field == "kTotalStrokes") {
            const std::optional<int> total = smallNumberOf(split(entry.value, ' ').front());
            if (!total || *total < 1) {
                reader.refuse(quoted(entry.value) + " is not a stroke count");
            }
            if (wanted.contains(entry.codePoint)) {
                fields[entry.codePoint].totalStrokes = *total;
            }
        }
    }
    return fields;
}

struct RadicalForms {
    char32_t ideograph = 0;   // the unified ideograph of the radical: 水, or 长 for "168'"
    char32_t variant = 0;     // its common variant (氵), or 0
    char32_t supplement = 0;  // the radical's own form in the supplement, for simplified ones
};

// CJKRadicals.txt: "85; 2F54; 6C34", "168'; 2ED3; 957F".
std::map<std::string, RadicalForms> readRadicals(const fs::path& file) {
    LineReader reader(file, readUnicodeDataFile(file));
    std::map<std::string, RadicalForms> radicals;
    std::string_view line;
    while (reader.next(line)) {
        const std::vector<std::string_view> parts = split(line, ';');
        if (parts.size() != 3) {
            reader.refuse("not three fields separated by semicolons");
        }
        const std::string number(gb2312::trimmed(parts[0]));
        const std::optional<char32_t> form = codePointOf(gb2312::trimmed(parts[1]));
        const std::optional<char32_t> ideograph = codePointOf(gb2312::trimmed(parts[2]));
        if (number.empty() || !form || !ideograph) {
            reader.refuse("not a radical number with two code points");
        }
        radicals[number] = {*ideograph, 0, *form};
    }
    return radicals;
}

// EquivalentUnifiedIdeograph.txt: "2EA1 ; 6C35 # CJK RADICAL WATER ONE", or a range
// "2E8C..2E8D ; 5C0F". Only the supplement's forms are kept, in code order.
std::vector<std::pair<char32_t, char32_t>> readSupplementEquivalents(const fs::path& file) {
    LineReader reader(file, readUnicodeDataFile(file));
    std::vector<std::pair<char32_t, char32_t>> equivalents;
    std::string_view line;
    while (reader.next(line)) {
        const std::vector<std::string_view> parts = split(line.substr(0, line.find('#')), ';');
        if (parts.size() != 2) {
            reader.refuse("not two fields separated by a semicolon");
        }
        const std::string_view range = gb2312::trimmed(parts[0]);
        const std::size_t dots = range.find("..");
        const std::optional<char32_t> first = codePointOf(range.substr(0, dots));
        const std::optional<char32_t> last =
            dots == std::string_view::npos ? first : codePointOf(range.substr(dots + 2));
        const std::optional<char32_t> ideograph = codePointOf(gb2312::trimmed(parts[1]));
        if (!first || !last || !ideograph || *last < *first) {
            reader.refuse("not a code point or range with its unified ideograph");
        }
        for (char32_t form = *first; form <= *last; ++form) {
            if (form >= kRadicalsSupplementFirst && form <= kRadicalsSupplementLast) {
                equivalents.emplace_back(form, *ideograph);
            }
        }
    }
    return equivalents;
}

// Each radical's common variant: the first form of the supplement whose unified ideograph is
// not the radical's own, lies in the basic plane (what fonts and learners know) and has that
// very radical with no further stroke (氵 is "85.0"). Simplified forms carry their apostrophe,
// so 讠 ("149'.0") is no variant of 言.
void findVariants(std::map<std::string, RadicalForms>& radicals,
                  const std::vector<std::pair<char32_t, char32_t>>& equivalents,
                  const std::map<char32_t, StrokeFields>& strokes) {
    for (auto& [number, forms] : radicals) {
        for (const auto& [form, ideograph] : equivalents) {
            if (ideograph == forms.ideograph || ideograph > 0xFFFF || form == forms.supplement) {
                continue;
            }
            const auto found = strokes.find(ideograph);
            if (found != strokes.end() && found->second.radical == number &&
                found->second.remainingStrokes == 0) {
                forms.variant = ideograph;
                break;
            }
        }
    }
}

void requireFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        throw UnihanError("the Unicode data file " + file.string() +
                          " is missing (Debian's unicode-data package installs it); nothing "
                          "was built");
    }
}

}  // namespace

std::string readUnicodeDataFile(const fs::path& file) {
    requireFile(file);
    std::optional<std::string> content = readWholeFile(file);
    if (!content) {
        throw UnihanError("cannot read the Unicode data file " + file.string() +
                          "; nothing was built");
    }
    std::string& raw = *content;
    if (file.extension() != ".bz2") {
        return std::move(raw);
    }
    std::string text;
    std::size_t used = 0;
    // A file may hold several bzip2 streams one after another.
    while (used < raw.size()) {
        bz_stream stream{};
        if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
            throw UnihanError("cannot decompress " + file.string() + ": out of memory");
        }
        struct End {
            bz_stream& stream;
            ~End() { BZ2_bzDecompressEnd(&stream); }
        } end{stream};
        stream.next_in = raw.data() + used;
        stream.avail_in = static_cast<unsigned>(raw.size() - used);
        int code = BZ_OK;
        while (code != BZ_STREAM_END) {
            const std::size_t before = text.size();
            text.resize(before + (1 << 20));
            stream.next_out = text.data() + before;
            stream.avail_out = 1 << 20;
            code = BZ2_bzDecompress(&stream);
            text.resize(before + (1 << 20) - stream.avail_out);
            if (code != BZ_OK && code != BZ_STREAM_END) {
                throw UnihanError("cannot read the Unicode data file " + file.string() +
                                  ": it is not a complete bzip2 file; nothing was built");
            }
            if (code == BZ_OK && stream.avail_in == 0 && stream.avail_out != 0) {
                throw UnihanError("cannot read the Unicode data file " + file.string() +
                                  ": it ends inside its bzip2 stream; nothing was built");
            }
        }
        used = raw.size() - stream.avail_in;
    }
    return text;
}

UnihanFacts readUnihan(const fs::path& folder, const std::set<char32_t>& wanted) {
    // Every file is looked for before any is read, so that a missing one stops the build at once.
    for (const char* name :
         {kUnihanReadingsFile, kUnihanStrokesFile, kRadicalsFile, kEquivalentIdeographsFile}) {
        requireFile(folder / name);
    }
    // The two large files are decompressed side by side, which takes most of the time.
    const fs::path readingsFile = folder / kUnihanReadingsFile;
    std::future<std::string> readingsText = std::async(
        std::launch::async, [&readingsFile] { return readUnicodeDataFile(readingsFile); });
    const fs::path strokesFile = folder / kUnihanStrokesFile;
    std::string strokesText = readUnicodeDataFile(strokesFile);
    std::map<std::string, RadicalForms> radicals = readRadicals(folder / kRadicalsFile);
    const std::vector<std::pair<char32_t, char32_t>> equivalents =
        readSupplementEquivalents(folder / kEquivalentIdeographsFile);
    std::set<char32_t> strokesWanted = wanted;
    for (const auto& [form, ideograph] : equivalents) {
        strokesWanted.insert(ideograph);
    }
    const std::map<char32_t, StrokeFields> strokes =
        readStrokeFields(strokesFile, std::move(strokesText), strokesWanted);
    findVariants(radicals, equivalents, strokes);

    UnihanFacts result;
    const std::map<char32_t, RawReadings> readings =
        readReadings(readingsFile, readingsText.get(), result.unicodeVersion, wanted);

    for (const char32_t codePoint : wanted) {
        store::CharacterFacts facts;
        if (const auto found = readings.find(codePoint); found != readings.end()) {
            const RawReadings& raw = found->second;
            QStringList ordered;
            if (!raw.mandarin.empty()) {
                ordered << QString::fromStdString(raw.mandarin);
            }
            for (const std::vector<QString>& list : raw.dictionaryReadings) {
                for (const QString& reading : list) {
                    if (!ordered.contains(reading)) {
                        ordered << reading;
                    }
                }
            }
            for (const QString& reading : ordered) {
                facts.readings.push_back(reading.toStdString());
            }
            facts.gloss = raw.gloss;
        }
        if (const auto found = strokes.find(codePoint); found != strokes.end()) {
            const StrokeFields& fields = found->second;
            facts.totalStrokes = fields.totalStrokes;
            if (!fields.radical.empty()) {
                const auto radical = radicals.find(fields.radical);
                if (radical == radicals.end()) {
                    throw UnihanError(std::string(kRadicalsFile) + " has no radical " +
                                      fields.radical + ", which " + kUnihanStrokesFile +
                                      " gives U+" +
                                      QString::number(codePoint, 16).toUpper().toStdString() +
                                      "; nothing was built");
                }
                facts.radical = utf8Of(radical->second.ideograph);
                if (radical->second.variant != 0) {
                    facts.radicalVariant = utf8Of(radical->second.variant);
                }
                facts.simplifiedRadical = fields.radical.ends_with('\'');
                facts.radicalNumber = smallNumberOf(
                    std::string_view(fields.radical).substr(0, fields.radical.find('\'')));
                facts.remainingStrokes = fields.remainingStrokes;
            }
        }
        if (!facts.empty()) {
            result.facts.emplace(codePoint, std::move(facts));
        }
    }
    return result;
}

}  // namespace qir::tools
