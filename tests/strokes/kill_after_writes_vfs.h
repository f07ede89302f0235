// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table engine file layer that kills its own process after a given number of writes, as a
// logout or `kill -9` would at that moment. Everything else goes to the system's own layer.

namespace qir::testing {

// Becomes the engine's default file layer; connections opened afterwards use it. The process
// is killed (SIGKILL) right after its `writes`-th write; 0 never kills.
void installKillAfterWrites(long writes);

// Writes done through the layer so far.
long writesSoFar();

}  // namespace qir::testing
