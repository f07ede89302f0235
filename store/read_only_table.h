// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only table file keyed by the character ("bishunvec.db", "bishunzi.db"), opened at the
// first look-up so that it costs nothing at start, and tried again after a failed open.

#ifndef QIR_STORE_INTERNALS
#error "store/read_only_table.h is private to its folder"
#endif

#include <cstddef>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "store/table_file.h"

namespace qir::store {

class ReadOnlyTable {
  public:
    ReadOnlyTable(std::filesystem::path folder, const TableLayout& layout, std::string password);
    ~ReadOnlyTable();
    ReadOnlyTable(const ReadOnlyTable&) = delete;
    ReadOnlyTable& operator=(const ReadOnlyTable&) = delete;

    // A row longer than the caller allows.
    struct RowTooLarge {};

    // The Photo of `key` (GB2312 bytes, already trimmed), or nothing without such a row.
    // Throws EngineError "Cannot open table NAME: ..." when the file cannot be opened as the
    // table, "Cannot read table NAME: ..." when the row cannot be read, and RowTooLarge for a
    // Photo longer than `maxBytes`, which is measured before a byte of it is read.
    std::optional<std::string> find(std::string_view key,
                                    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

    bool isOpen() const { return impl_ != nullptr; }
    const std::filesystem::path& file() const { return file_; }
    const char* name() const { return layout_.fileName; }

  private:
    void open();

    struct Impl;
    std::filesystem::path file_;
    const TableLayout& layout_;
    std::string password_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qir::store
