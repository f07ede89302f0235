// SPDX-License-Identifier: GPL-3.0-or-later
#include "workfolder/working_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

#include "tests/support/failing_disk.h"
#include "tests/support/scratch_directory.h"
#include "workfolder/folder_stamp.h"

namespace qir::workfolder {
namespace {
namespace fs = std::filesystem;

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const ProgramFile& fileOf(Placement placement) {
    for (const ProgramFile& file : programFiles()) {
        if (file.placement == placement && !file.optional) {
            return file;
        }
    }
    throw std::logic_error("no such file in the list");
}

// An installation under a prefix of its own, with every installed file read-only, and a home
// folder for the user who starts it.
class Installation : public ::testing::Test {
  protected:
    Installation() {
        fs::create_directories(prefix() / "bin");
        fs::create_directories(data());
        writeText(prefix() / "bin" / "qir-stroke", "program");
        for (const ProgramFile& file : programFiles()) {
            if (!file.optional) {
                install(file.name, file.name + " as installed");
            }
        }
        fs::create_directories(home());
    }

    fs::path prefix() const { return scratch_.path() / "prefix"; }
    fs::path data() const { return prefix() / "share" / "qir-stroke"; }
    fs::path home() const { return scratch_.path() / "home"; }
    fs::path folder() const { return home() / ".local" / "share" / "qir-stroke"; }
    Environment environment() const { return {"", home().string()}; }

    void install(const std::string& name, const std::string& text) const {
        const fs::path file = data() / name;
        std::error_code ignored;
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, ignored);
        writeText(file, text);
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }

    void prepare(std::string_view version = "1") const {
        prepareUserFolder(data(), folder(), version);
    }

    const std::string& linked() const { return fileOf(Placement::Linked).name; }
    const std::string& copied() const { return fileOf(Placement::Copied).name; }
    const std::string& scratchTable() const { return fileOf(Placement::Scratch).name; }

  private:
    qir::testing::ScratchDirectory scratch_;
};

TEST_F(Installation, TheDataFolderIsFoundBesideTheExecutableUnderAnyPrefix) {
    EXPECT_EQ(installedDataFolder(prefix() / "bin" / "qir-stroke"), data());
    // A stage folder has the files beside the executable and no data folder.
    const fs::path stage = home() / "stage";
    fs::create_directories(stage);
    EXPECT_EQ(installedDataFolder(stage / "qir-stroke"), std::nullopt);
}

TEST_F(Installation, TheUserFolderFollowsTheXdgRules) {
    EXPECT_EQ(userFolder({"/data/home", "/home/ann"}), fs::path("/data/home/qir-stroke"));
    EXPECT_EQ(userFolder({"", "/home/ann"}), fs::path("/home/ann/.local/share/qir-stroke"));
    // A relative XDG_DATA_HOME is not to be used.
    EXPECT_EQ(userFolder({"relative/data", "/home/ann"}),
              fs::path("/home/ann/.local/share/qir-stroke"));
    EXPECT_THROW(userFolder({"", ""}), WorkingFolderError);
}

TEST_F(Installation, AFirstStartLinksTheTablesAndCopiesTheRest) {
    prepare();
    for (const ProgramFile& file : programFiles()) {
        const fs::path entry = folder() / file.name;
        if (file.optional) {
            continue;
        }
        if (file.placement == Placement::Linked) {
            ASSERT_TRUE(fs::is_symlink(entry)) << file.name;
            EXPECT_EQ(fs::read_symlink(entry), data() / file.name);
        } else {
            ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(entry))) << file.name;
            EXPECT_EQ(readText(entry), file.name + " as installed");
            // The user's own copy is writable, though the installed file is not.
            EXPECT_EQ(::access(entry.c_str(), W_OK), 0) << file.name;
            EXPECT_TRUE((fs::status(entry).permissions() & fs::perms::owner_write) !=
                        fs::perms::none);
        }
    }
    struct stat info {};
    ASSERT_EQ(::stat(folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_TRUE(readStamp(folder()));
    EXPECT_EQ(readStamp(folder())->version, "1");
}

TEST_F(Installation, ALaterStartOfTheSameVersionWritesNothing) {
    prepare();
    writeText(folder() / scratchTable(), "rows of the last character");
    const auto stampTime = fs::last_write_time(folder() / kStampFile);
    const auto copyTime = fs::last_write_time(folder() / copied());
    prepare();
    EXPECT_EQ(readText(folder() / scratchTable()), "rows of the last character");
    EXPECT_EQ(fs::last_write_time(folder() / kStampFile), stampTime);
    EXPECT_EQ(fs::last_write_time(folder() / copied()), copyTime);
}

TEST_F(Installation, BrokenOrMissingEntriesAreRepaired) {
    prepare();
    // A link that leads nowhere, one that leads elsewhere, and a deleted scratch table.
    fs::remove(folder() / linked());
    fs::create_symlink(home() / "gone.db", folder() / linked());
    const std::string& other = programFiles()[1].name;
    ASSERT_EQ(programFiles()[1].placement, Placement::Linked);
    fs::remove(folder() / other);
    fs::create_symlink(home(), folder() / other);
    fs::remove(folder() / scratchTable());
    fs::remove(folder() / copied());

    prepare();
    EXPECT_EQ(fs::read_symlink(folder() / linked()), data() / linked());
    EXPECT_EQ(fs::read_symlink(folder() / other), data() / other);
    EXPECT_EQ(readText(folder() / scratchTable()), scratchTable() + " as installed");
    EXPECT_EQ(readText(folder() / copied()), copied() + " as installed");
}

TEST_F(Installation, ANewVersionRefreshesWhatItOwnsAndKeepsWhatTheUserChanged) {
    prepare("1");
    std::vector<std::string> copies;
    for (const ProgramFile& file : programFiles()) {
        if (file.placement == Placement::Copied) {
            copies.push_back(file.name);
        }
    }
    ASSERT_GE(copies.size(), 2u);
    const std::string& untouched = copies[0];
    const std::string& changed = copies[1];
    writeText(folder() / changed, "the user's own skin");
    writeText(folder() / scratchTable(), "rows of the last character");
    // A file of the user's where a link belongs.
    fs::remove(folder() / linked());
    writeText(folder() / linked(), "the user's own table");
    install(untouched, "version 2 of " + untouched);
    install(changed, "version 2 of " + changed);

    prepare("2");
    EXPECT_EQ(readText(folder() / untouched), "version 2 of " + untouched);
    EXPECT_EQ(readText(folder() / changed), "the user's own skin");
    EXPECT_EQ(readText(folder() / scratchTable()), scratchTable() + " as installed");
    EXPECT_EQ(fs::read_symlink(folder() / linked()), data() / linked());
    EXPECT_EQ(readText(folder() / (linked() + ".saved")), "the user's own table");
    EXPECT_EQ(readStamp(folder())->version, "2");

    // The user's change stays the user's through every later version.
    install(changed, "version 3 of " + changed);
    prepare("3");
    EXPECT_EQ(readText(folder() / changed), "the user's own skin");
}

TEST_F(Installation, AMissingInstalledFileIsReportedBeforeAnythingChanges) {
    fs::remove(data() / linked());
    try {
        prepare();
        FAIL() << "no error";
    } catch (const WorkingFolderError& error) {
        EXPECT_NE(std::string(error.what()).find((data() / linked()).string()), std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("Reinstall"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(folder()));
}

TEST_F(Installation, AFolderThatCannotBeMadeIsAClearError) {
    // XDG_DATA_HOME naming a file.
    const fs::path file = home() / "not-a-folder";
    writeText(file, "x");
    try {
        prepareUserFolder(data(), userFolder({file.string(), home().string()}), "1");
        FAIL() << "no error";
    } catch (const WorkingFolderError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Cannot prepare the working folder " + file.string(), 0),
                  0u)
            << error.what();
    }
    EXPECT_EQ(readText(file), "x");
}

TEST_F(Installation, AReadOnlyHomeIsAClearError) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    fs::permissions(home(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(prepare(), WorkingFolderError);
    fs::permissions(home(), fs::perms::owner_all);
}

TEST_F(Installation, StartsAtTheSameInstantTakeTurns) {
    std::vector<std::thread> starts;
    std::vector<std::string> failures(8);
    for (std::size_t i = 0; i < failures.size(); ++i) {
        starts.emplace_back([&, i] {
            try {
                prepare();
            } catch (const std::exception& error) {
                failures[i] = error.what();
            }
        });
    }
    for (std::thread& start : starts) {
        start.join();
    }
    for (const std::string& failure : failures) {
        EXPECT_EQ(failure, "");
    }
    EXPECT_EQ(fs::read_symlink(folder() / linked()), data() / linked());
    EXPECT_EQ(readText(folder() / scratchTable()), scratchTable() + " as installed");
    for (const auto& entry : fs::directory_iterator(folder())) {
        EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos)
            << entry.path();
    }
}

TEST_F(Installation, OnlyAnInstalledProgramMovesIntoTheUserFolder) {
    const fs::path before = fs::current_path();
    EXPECT_EQ(enterWorkingFolder(home() / "stage" / "qir-stroke", environment()), std::nullopt);
    EXPECT_EQ(fs::current_path(), before);

    EXPECT_EQ(enterWorkingFolder(prefix() / "bin" / "qir-stroke", environment()), folder());
    EXPECT_EQ(fs::current_path(), folder());
    EXPECT_EQ(readText(scratchTable()), scratchTable() + " as installed");
}

// Every name the folder holds, hidden ones included.
std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_F(Installation, AFullDiskIsReportedAndLeavesTheFolderAsItWas) {
    prepare("1");
    const std::set<std::string> before = namesIn(folder());
    const std::string stamp = readText(folder() / kStampFile);
    install(copied(), "version 2 of " + copied());
    {
        // Full at once, and full after the first file (the scratch table, which a new version
        // starts afresh anyway): the stamp keeps the old version, so the next start goes on.
        for (const std::size_t room : {0u, 30u}) {
            const qir::testing::DiskFullAfter disk(room);
            try {
                prepare("2");
                ADD_FAILURE() << "a full disk passed for success";
            } catch (const WorkingFolderError& error) {
                EXPECT_NE(std::string(error.what()).find("the disk is full"), std::string::npos)
                    << error.what();
            }
            EXPECT_EQ(namesIn(folder()), before) << room;
            EXPECT_EQ(readText(folder() / kStampFile), stamp) << room;
            EXPECT_EQ(readText(folder() / copied()), copied() + " as installed") << room;
        }
    }
    // A disk that takes the data but cannot flush it: the stamp does not claim the new version.
    {
        const qir::testing::FailingSync sync;
        EXPECT_THROW(prepare("2"), WorkingFolderError);
        EXPECT_EQ(readText(folder() / kStampFile), stamp);
        EXPECT_EQ(namesIn(folder()), before);
    }
    prepare("2");
    EXPECT_EQ(readText(folder() / copied()), "version 2 of " + copied());
    EXPECT_EQ(readStamp(folder())->version, "2");
}

// What can stand at a name where a file or a link belongs.
enum class Damage { NamedPipe, Folder, DanglingLink, LinkToFolder };

void damage(const fs::path& entry, Damage kind, const fs::path& elsewhere) {
    std::error_code ignored;
    fs::remove(entry, ignored);
    switch (kind) {
        case Damage::NamedPipe:
            ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0);
            break;
        case Damage::Folder:
            fs::create_directory(entry);
            break;
        case Damage::DanglingLink:
            fs::create_symlink(elsewhere / "gone", entry);
            break;
        case Damage::LinkToFolder:
            fs::create_symlink(elsewhere, entry);
            break;
    }
}

TEST_F(Installation, ANamedPipeFolderOrBadLinkAtAnyEntryIsMovedAsideAndMended) {
    std::vector<std::string> entries = {kStampFile, ".lock"};
    for (const ProgramFile& file : programFiles()) {
        if (!file.optional) {
            entries.push_back(file.name);
        }
    }
    const auto linked = [](const std::string& name) {
        for (const ProgramFile& file : programFiles()) {
            if (file.name == name) {
                return file.placement == Placement::Linked;
            }
        }
        return false;
    };
    for (const Damage kind :
         {Damage::NamedPipe, Damage::Folder, Damage::DanglingLink, Damage::LinkToFolder}) {
        const std::string what = "damage of kind " + std::to_string(static_cast<int>(kind));
        prepare();
        for (const std::string& name : entries) {
            damage(folder() / name, kind, home());
        }
        // A pipe at a name that is opened would stop the start for good; the start runs on a
        // thread of its own so that the test can tell.
        auto start = std::async(std::launch::async, [this] { prepare(); });
        if (start.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << what << ": the start hangs";
            std::quick_exit(1);
        }
        EXPECT_NO_THROW(start.get()) << what;

        for (const std::string& name : entries) {
            const fs::path entry = folder() / name;
            if (linked(name)) {
                ASSERT_TRUE(fs::is_symlink(entry)) << name << ", " << what;
                EXPECT_EQ(fs::read_symlink(entry), data() / name) << name << ", " << what;
            } else {
                ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(entry))) << name << ", " << what;
            }
            // What stood there is kept aside, not deleted, unless it was only a wrong link
            // where a link belongs.
            if (kind == Damage::NamedPipe || kind == Damage::Folder || !linked(name)) {
                EXPECT_TRUE(fs::exists(fs::symlink_status(folder() / (name + ".saved"))))
                    << name << ", " << what;
            }
        }
        EXPECT_EQ(readText(folder() / copied()), copied() + " as installed") << what;
        EXPECT_EQ(readText(folder() / scratchTable()), scratchTable() + " as installed") << what;
        ASSERT_TRUE(readStamp(folder())) << what;
        EXPECT_EQ(readStamp(folder())->version, "1") << what;
        fs::remove_all(folder());
    }
}

}  // namespace
}  // namespace qir::workfolder
