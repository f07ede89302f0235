// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/store_build.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <span>
#include <thread>
#include <variant>

#include "store/character_facts.h"
#include "store/table_file.h"
#include "tools/store_builder/progress.h"
#include "tools/store_builder/stroke_picture.h"
#include "tools/store_builder/unihan_reader.h"
#include "tools/store_builder/vector_record.h"

namespace qir::tools {
namespace fs = std::filesystem;

namespace {

// The date the conversion below was last changed: the notice's "when" for these files.
constexpr const char* kConversionMethodDate = "2026-12-08";

// The scratch folder the files are made in; removed on every way out.
class ScratchFolder {
  public:
    explicit ScratchFolder(fs::path path) : path_(std::move(path)) {
        std::error_code ignored;
        fs::remove_all(path_, ignored);  // left over from an interrupted build
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

using Outcome = std::variant<BuiltCharacter, std::string>;

// Characters rendered by worker threads, handed out strictly in list order.
class RenderQueue {
  public:
    RenderQueue(const std::vector<CharacterEntry>& characters, const fs::path& dataFolder,
                const RenderSettings& settings, const OrderCorrections& corrections, int workers)
        : characters_(characters),
          dataFolder_(dataFolder),
          settings_(settings),
          corrections_(corrections),
          outcomes_(characters.size()) {
        for (int i = 0; i < workers; ++i) {
            threads_.emplace_back([this](std::stop_token stop) { work(stop); });
        }
    }
    ~RenderQueue() {
        for (std::jthread& thread : threads_) {
            thread.request_stop();
        }
        // Under the lock, so that no worker is between its check and its wait.
        std::lock_guard lock(mutex_);
        spaceFreed_.notify_all();
    }

    Outcome take(std::size_t index) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return outcomes_[index].has_value(); });
        Outcome outcome = std::move(*outcomes_[index]);
        outcomes_[index].reset();
        taken_ = index + 1;
        spaceFreed_.notify_all();
        return outcome;
    }

  private:
    // Workers stay at most this far ahead of the writer, which bounds the memory held.
    static constexpr std::size_t kLookAhead = 256;

    void work(std::stop_token stop) {
        for (;;) {
            const std::size_t index = next_++;
            if (index >= characters_.size()) {
                return;
            }
            {
                std::unique_lock lock(mutex_);
                spaceFreed_.wait(
                    lock, [&] { return stop.stop_requested() || index < taken_ + kLookAhead; });
                if (stop.stop_requested()) {
                    return;
                }
            }
            Outcome outcome = render(characters_[index]);
            std::lock_guard lock(mutex_);
            outcomes_[index] = std::move(outcome);
            ready_.notify_all();
        }
    }

    Outcome render(const CharacterEntry& character) const {
        try {
            return buildCharacter(character, dataFolder_, settings_, corrections_);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
    }

    const std::vector<CharacterEntry>& characters_;
    const fs::path& dataFolder_;
    const RenderSettings& settings_;
    const OrderCorrections& corrections_;
    std::vector<std::optional<Outcome>> outcomes_;
    std::atomic<std::size_t> next_{0};
    std::size_t taken_ = 0;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable spaceFreed_;
    std::vector<std::jthread> threads_;  // last: joined before the rest goes
};

// Reads the Unicode data on a thread of its own while the characters render. A file that
// cannot be used stops the build as soon as that is known (readyFacts() or facts() throw
// BuildFailure), long before any table takes its real name.
class FactsReading {
  public:
    FactsReading(fs::path folder, std::set<char32_t> wanted)
        : reading_(std::async(std::launch::async, [folder = std::move(folder),
                                                   wanted = std::move(wanted)] {
              const auto started = std::chrono::steady_clock::now();
              Read read{readUnihan(folder, wanted), 0};
              read.seconds =
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
              return read;
          })) {}

    // The facts, or nullptr while they are still being read.
    const UnihanFacts* readyFacts() {
        if (!read_ && reading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            take();
        }
        return read_ ? &read_->facts : nullptr;
    }
    const UnihanFacts& facts() {
        if (!read_) {
            take();
        }
        return read_->facts;
    }
    double seconds() const { return read_ ? read_->seconds : 0; }

  private:
    struct Read {
        UnihanFacts facts;
        double seconds;  // reading them
    };

    void take() {
        try {
            read_ = reading_.get();
        } catch (const UnihanError& e) {
            throw BuildFailure(e.what());
        }
    }

    std::future<Read> reading_;
    std::optional<Read> read_;
};

void say(std::FILE* log, const std::string& text) {
    if (log != nullptr) {
        std::fprintf(log, "%s\n", text.c_str());
        std::fflush(log);
    }
}

void moveInto(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error) {
        throw BuildFailure("cannot move " + from.string() + " to " + to.string() + ": " +
                           error.message());
    }
}

// Writes the facts row of a built character, counts what it holds, and checks its stroke count
// against the data's.
void addFacts(store::TableFileWriter& table, const UnihanFacts& facts,
              const CharacterEntry& character, int dataStrokes, FactsSummary& summary) {
    const auto found = facts.facts.find(character.text.toUcs4().front());
    if (found == facts.facts.end()) {
        return;
    }
    const store::CharacterFacts& entry = found->second;
    const std::string row = store::encodeCharacterFacts(entry);
    table.addRow(character.key,
                 std::span(reinterpret_cast<const unsigned char*>(row.data()), row.size()));
    summary.withReading += entry.readings.empty() ? 0 : 1;
    summary.withGloss += entry.gloss.empty() ? 0 : 1;
    summary.withRadical += entry.radical.empty() ? 0 : 1;
    summary.withStrokeCount += entry.totalStrokes ? 1 : 0;
    if (entry.totalStrokes && *entry.totalStrokes != dataStrokes) {
        summary.disagreements.push_back({character.text, *entry.totalStrokes, dataStrokes});
    }
}

}  // namespace

std::string dataPackageVersion(const fs::path& dataFolder) {
    if (!fs::is_directory(dataFolder)) {
        throw BuildFailure("the stroke data folder " + dataFolder.string() +
                           " does not exist (scripts/stroke-data.sh installs it)");
    }
    const fs::path manifest = dataFolder / "package.json";
    QFile file(QString::fromStdString(manifest.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        throw BuildFailure("cannot read " + manifest.string() + ": not a stroke data package");
    }
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QString version = object.value("version").toString();
    if (object.value("name").toString() != "hanzi-writer-data" || version.isEmpty()) {
        throw BuildFailure(manifest.string() + " does not describe the hanzi-writer-data package");
    }
    return version.toStdString();
}

std::string conversionNotice(const std::string& dataVersion,
                             const std::vector<std::string>& reordered) {
    std::string changes = "The outlines and medians themselves were not changed.";
    if (!reordered.empty()) {
        std::string list;
        for (const std::string& character : reordered) {
            list += (list.empty() ? "" : " ") + character;
        }
        changes = "The stroke order of " + std::to_string(reordered.size()) +
                  (reordered.size() == 1 ? " character was" : " characters was") +
                  " corrected after a review against the stroke-order reference cnchar-order "
                  "(their strokes, outlines and medians together, were put in the standard "
                  "writing order; no outline or median was altered): " +
                  list + ".";
    }
    return "Stroke data: hanzi-writer-data " + dataVersion +
           ", derived from Make Me a Hanzi, whose outlines come from fonts by Arphic "
           "Technology Co., Ltd.; distributed under the Arphic Public License (ARPHICPL.TXT, "
           "beside this file). Converted by qir-store-builder (conversion method of " +
           kConversionMethodDate +
           "): each character's stroke outlines and medians were rendered into an AVI clip "
           "(ZMBV, 152 x 124 pixels, 15 frames a second) of the strokes being written and "
           "one JPEG picture (62 x 62 pixels) per stroke step. " +
           changes;
}

std::string factsTableNotice(const std::string& unicodeVersion) {
    return "Character facts: from the Unicode Han Database (Unihan) of the Unicode Standard, "
           "version " +
           unicodeVersion +
           ", as Debian's unicode-data package ships it: the readings (kMandarin first, then "
           "the other readings of kXHC1983 and kTGHZ2013), the gloss (kDefinition), the radical "
           "with its remaining strokes (kRSUnicode, the radical's character from CJKRadicals.txt "
           "and its variant form from EquivalentUnifiedIdeograph.txt) and the stroke count "
           "(kTotalStrokes). Copyright Unicode, Inc.; distributed under the Unicode License "
           "(https://www.unicode.org/license.txt). Selected by qir-store-builder, which keeps "
           "each value as Unihan gives it and the first value where a field gives one for "
           "simplified and one for traditional Chinese.";
}

OrderCorrections loadCorrections(const fs::path& file, const fs::path& dataFolder) {
    try {
        OrderCorrections corrections = OrderCorrections::read(file);
        corrections.checkAgainst(dataFolder);
        return corrections;
    } catch (const CorrectionError& e) {
        throw BuildFailure(std::string(e.what()) + "; nothing was built");
    }
}

StoreBuildSummary buildStore(const StoreBuildOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    StoreBuildSummary summary;
    summary.dataVersion = dataPackageVersion(options.dataFolder);
    const fs::path licence = options.dataFolder / kLicenceFile;
    if (!fs::is_regular_file(licence)) {
        throw BuildFailure(licence.string() +
                           " is missing: the data may not be shipped without it");
    }
    const std::vector<CharacterEntry> characters =
        options.characters ? *options.characters : allGb2312Hanzi();
    summary.requested = static_cast<int>(characters.size());
    if (characters.empty()) {
        throw BuildFailure("no characters to build");
    }
    const OrderCorrections corrections =
        options.corrections.empty() ? OrderCorrections()
                                    : loadCorrections(options.corrections, options.dataFolder);
    std::vector<std::string> reordered;
    for (const CharacterEntry& character : characters) {
        if (const OrderCorrection* entry = corrections.find(character.key);
            entry != nullptr && entry->reorders()) {
            reordered.push_back(entry->text);
        }
    }

    // The characters render while this thread reads the Unicode data and sets up the files.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int workers = options.workers > 0 ? options.workers : static_cast<int>(cores);
    RenderQueue queue(characters, options.dataFolder, options.render, corrections,
                      std::min<int>(workers, static_cast<int>(characters.size())));

    std::optional<FactsReading> factsReading;
    if (!options.unicodeFolder.empty()) {
        std::set<char32_t> wanted;
        for (const CharacterEntry& character : characters) {
            wanted.insert(character.text.toUcs4().front());
        }
        factsReading.emplace(options.unicodeFolder, std::move(wanted));
        summary.facts.emplace();
    }

    std::error_code error;
    fs::create_directories(options.outputFolder, error);
    if (error) {
        throw BuildFailure("cannot create " + options.outputFolder.string() + ": " +
                           error.message());
    }
    ScratchFolder scratch(options.outputFolder / ".store-build");
    const std::string notice = conversionNotice(summary.dataVersion, reordered);
    store::TableFileWriter animations(scratch.path() / store::kAnimationTable.fileName,
                                      store::kAnimationTable);
    store::TableFileWriter strokes(scratch.path() / store::kStrokeTable.fileName,
                                   store::kStrokeTable);
    store::TableFileWriter display(scratch.path() / store::kStrokeDisplayTable.fileName,
                                   store::kStrokeDisplayTable);
    store::TableFileWriter vectors(scratch.path() / store::kVectorTable.fileName,
                                   store::kVectorTable);
    std::optional<store::TableFileWriter> factsTable;
    if (factsReading) {
        factsTable.emplace(scratch.path() / store::kFactsTable.fileName, store::kFactsTable);
    }
    // The built characters whose facts rows wait for the facts, with their stroke counts.
    std::vector<std::pair<std::size_t, int>> factsToWrite;
    const auto writeFacts = [&](const UnihanFacts& facts) {
        for (const auto& [index, strokes] : factsToWrite) {
            addFacts(*factsTable, facts, characters[index], strokes, *summary.facts);
        }
        factsToWrite.clear();
    };

    Progress progress(options.log != nullptr ? options.log : stderr,
                      static_cast<int>(characters.size()),
                      options.log != nullptr && Progress::isTerminal(options.log));
    for (std::size_t i = 0; i < characters.size(); ++i) {
        Outcome outcome = queue.take(i);
        if (auto* reason = std::get_if<std::string>(&outcome)) {
            summary.skipped.push_back({characters[i].text, *reason});
            if (options.log != nullptr && Progress::isTerminal(options.log)) {
                std::fputc('\n', options.log);
            }
            say(options.log, "skipped " + characters[i].text.toStdString() + ": " + *reason);
        } else {
            const BuiltCharacter& built = std::get<BuiltCharacter>(outcome);
            animations.addRow(built.key, built.clip);
            vectors.addRow(built.key, built.strokeVectors);
            for (const StepPicture& step : built.steps) {
                strokes.addRow(step.key, step.jpeg);
                summary.pictureBytes += step.jpeg.size();
            }
            ++summary.built;
            ++summary.clipCount;
            summary.clipBytes += built.clip.size();
            summary.pictureCount += built.steps.size();
            summary.strokeCounts.emplace_back(built.key, built.strokeCount);
            if (factsReading) {
                factsToWrite.emplace_back(i, built.strokeCount);
            }
        }
        if (factsReading) {
            if (const UnihanFacts* facts = factsReading->readyFacts()) {
                writeFacts(*facts);
            }
        }
        if (options.log != nullptr) {
            progress.update(static_cast<int>(i + 1));
        }
    }
    if (options.log != nullptr) {
        progress.finish(static_cast<int>(characters.size()));
    }
    if (summary.built == 0) {
        throw BuildFailure("none of the " + std::to_string(characters.size()) +
                           " characters could be built; the store was left as it was");
    }

    for (store::TableFileWriter* writer : {&animations, &strokes, &display}) {
        writer->setNotice(notice);
        writer->commit();
    }
    vectors.setNotice(vectorTableNotice(notice));
    vectors.commit();
    if (factsReading) {
        const UnihanFacts& facts = factsReading->facts();
        writeFacts(facts);
        summary.facts->unicodeVersion = facts.unicodeVersion;
        summary.facts->seconds = factsReading->seconds();
        factsTable->setNotice(factsTableNotice(facts.unicodeVersion));
        factsTable->commit();
    }
    fs::copy_file(licence, scratch.path() / kLicenceFile, fs::copy_options::overwrite_existing,
                  error);
    if (error) {
        throw BuildFailure("cannot copy " + licence.string() + ": " + error.message());
    }
    // Every file is complete; only now do they take the real names.
    std::vector<const char*> names{kLicenceFile, store::kVectorTable.fileName,
                                   store::kStrokeDisplayTable.fileName,
                                   store::kStrokeTable.fileName, store::kAnimationTable.fileName};
    if (factsTable) {
        names.insert(names.begin() + 1, store::kFactsTable.fileName);
    }
    for (const char* name : names) {
        moveInto(scratch.path() / name, options.outputFolder / name);
        summary.files.emplace_back(name, fs::file_size(options.outputFolder / name));
    }
    summary.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return summary;
}

}  // namespace qir::tools
