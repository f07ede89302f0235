// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The vector table "bishunvec.db": every character's strokes in vector form (stroke_vectors.h),
// for what needs print quality. The program only reads it, and opens it at the first look-up,
// so that it costs nothing at start.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/stroke_vectors.h"
#include "store/table_file.h"

namespace qir::store {

// A row's Photo: the encoding of stroke_vectors.h, deflated as a zlib stream (outlines repeat
// enough that this takes off nearly a third). Throws StrokeVectorsError as encoding does.
std::vector<unsigned char> vectorRowBytes(const StrokeVectors& vectors);

// The strokes of a row. Throws StrokeVectorsError for a row that does not inflate, inflates
// beyond any real character's size, or does not decode.
StrokeVectors strokeVectorsOfRow(std::span<const unsigned char> row);

class ReadOnlyTable;

class VectorTable {
  public:
    // `folder` holds the table file; nothing is opened yet.
    explicit VectorTable(std::filesystem::path folder, std::string password = kStorePassword);
    ~VectorTable();
    VectorTable(const VectorTable&) = delete;
    VectorTable& operator=(const VectorTable&) = delete;

    // The strokes of `hanzi` (GB2312 bytes; surrounding blanks are ignored), or nothing when
    // the table holds no row for it. Opens the file first if it is not open; a failed open is
    // tried again at the next call. Throws EngineError: "Cannot open table bishunvec.db: ..."
    // when the file is missing, is not a table file, was made with another password or lacks
    // the table's columns; "Cannot read table bishunvec.db: ..." when the row is damaged.
    std::optional<StrokeVectors> find(std::string_view hanzi);

    bool isOpen() const;
    const std::filesystem::path& file() const;

  private:
    std::unique_ptr<ReadOnlyTable> table_;
};

}  // namespace qir::store
