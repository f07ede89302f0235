// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows posted to a table file while a WriteBatch lives reach the file in one transaction:
// one journal and one commit for a whole character's steps, where each row made its own. A
// process killed meanwhile leaves the file as it was before the batch; rows posted before an
// error are still committed, as they would have been one by one.

#include <string>

#include "store/dataset.h"

namespace qir::store {

class WriteBatch {
  public:
    // Starts the batch on the connection `table` writes through; `table` must be open. Throws
    // EngineError.
    explicit WriteBatch(Table& table);
    // Commits what commit() did not (only reached that way while an error is on its way out,
    // so a failure here is dropped in favour of that error).
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Writes the batch's rows to the file. Throws EngineError ("Cannot write table ...").
    void commit();

  private:
    // Whether the engine still holds the batch open: a failed write (a full disk) may have
    // rolled it back already.
    bool open() const;

    Database& database_;
    std::string tableFile_;
    bool done_ = false;
};

}  // namespace qir::store
