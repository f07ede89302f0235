// SPDX-License-Identifier: GPL-3.0-or-later
// Blobs through the stroke display table and arbitrary bytes as a table file: whatever the
// bytes, the store keeps them whole or refuses them with its own error, and never crashes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/engine_error.h"
#include "store/table_file.h"
#include "tests/support/scratch_directory.h"

namespace {

using namespace qir;
using namespace qir::store;

// The store's files resolve against the working directory: a scratch folder, removed again
// when libFuzzer ends the process through exit(); the store is closed before its folder goes.
struct World {
    World() : home(std::filesystem::current_path()) {
        writeTableFile("bishunbmp.db", kStrokeDisplayTable, {});
        writeTableFile("bishun.db", kStrokeTable,
                       {{"\xB0\xA1"
                         "01",
                         Bytes{1, 2, 3}}});
        store.addPassword(kStorePassword);
        std::filesystem::current_path(home);
    }
    std::filesystem::path home;
    qir::testing::ScratchDirectory folder;
    CharacterStore store;
};

World& world() {
    static World shared;
    return shared;
}

// Inside the scratch folder for one input only, so that the corpus and artifact paths given to
// libFuzzer keep meaning what they meant.
class InScratchFolder {
  public:
    explicit InScratchFolder(const World& world) : world_(world) {
        std::filesystem::current_path(world_.folder.path());
    }
    ~InScratchFolder() { std::filesystem::current_path(world_.home); }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

  private:
    const World& world_;
};

void writeFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    World& w = world();
    if (size == 0) {
        return 0;
    }
    const InScratchFolder inside(w);
    const Bytes bytes(data + 1, data + size);
    if (data[0] % 2 == 0) {
        // A blob in, the same blob out, by every path the program reads it.
        Table& table = dataSetsOf(w.store).tablebmp;
        table.close();
        table.emptyTable();
        table.open();
        writeFile("tmp.bmp", data + 1, size - 1);
        table.append();
        table.setFieldAsString("Filename", std::string(reinterpret_cast<const char*>(data + 1),
                                                       std::min<std::size_t>(size - 1, 4)));
        table.loadBlobFromFile("Photo", "tmp.bmp");
        table.post();
        table.close();
        table.open();
        if (table.blobSize("Photo") != bytes.size() || table.blob("Photo") != bytes ||
            table.blobAt(1, "Photo") != bytes) {
            std::abort();
        }
    } else {
        // Arbitrary bytes where the stroke table should be.
        writeFile("bishun.db", data + 1, size - 1);
        Query& query = dataSetsOf(w.store).querybs;
        query.close();
        query.setParamAsString("%\xB0\xA1%");
        try {
            query.open();
            for (query.first(); !query.eof(); query.next()) {
                (void)query.blob("Photo");
            }
        } catch (const EngineError&) {
        }
    }
    return 0;
}
