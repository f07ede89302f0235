// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: turns the readable catalogue listing into the stored block, compiled into the
// program as a byte array.
//   qir_catalogue_generator <listing.txt> <output.cpp>

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "selection/catalogue_format.h"
#include "selection/catalogue_listing.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <listing.txt> <output.cpp>\n", argv[0]);
        return 2;
    }
    try {
        std::ifstream listing(argv[1], std::ios::binary);
        if (!listing) {
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        }
        const std::string utf8((std::istreambuf_iterator<char>(listing)),
                               std::istreambuf_iterator<char>());
        const auto block =
            qir::selection::encodeCatalogue(qir::selection::parseCatalogueListing(utf8));

        std::ostringstream source;
        source
            << "// Generated from the catalogue listing by qir_catalogue_generator; do not edit.\n"
               "#include \"selection/catalogue_block.h\"\n\n"
               "namespace qir::selection {\nnamespace {\n\n"
               "const unsigned char kBlock["
            << block.size() << "] = {";
        for (std::size_t i = 0; i < block.size(); ++i) {
            source << (i % 16 == 0 ? "\n    " : " ") << static_cast<unsigned>(block[i]) << ',';
        }
        source << "\n};\n\n}  // namespace\n\n"
                  "std::span<const unsigned char> storedCatalogueBlock() {\n"
                  "    return kBlock;\n}\n\n}  // namespace qir::selection\n";

        std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
        output << source.str();
        if (!output.flush()) {
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qir_catalogue_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
