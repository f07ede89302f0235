// SPDX-License-Identifier: GPL-3.0-or-later
// The program's stroke rebuild in a process of its own, killed after a given number of writes
// to the stroke display table: stroke_rebuild_child FOLDER WRITES CHARACTER-HEX.
// The folder holds the store. The character is rebuilt twice, so that the kill may fall into
// the emptying of a full table as well as into the appending. Prints the writes done.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "strokes/stroke_order.h"
#include "tests/strokes/kill_after_writes_vfs.h"
#include "tests/strokes/stroke_tables.h"

namespace {

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER WRITES CHARACTER-HEX\n", argv[0]);
        return 2;
    }
    if (::chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 2;
    }
    try {
        qir::testing::installKillAfterWrites(std::atol(argv[2]));
        const std::string hanzi = fromHex(argv[3]);
        qir::testing::OpenedStore opened;
        for (int round = 0; round < 2; ++round) {
            qir::strokes::ShowStrokeOrder(hanzi, opened.store, 24);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("%ld\n", qir::testing::writesSoFar());
    return 0;
}
