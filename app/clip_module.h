// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clip decoder, loaded as the module qir-stroke-clips.so on a thread of its own. FFmpeg's
// libraries are most of what the program would otherwise load before its window could show
// (97 of 161 libraries, about 55 ms); loaded this way they cost the start nothing, and a clip
// asked for sooner waits for them.
#ifndef QIR_APP_INTERNALS
#error "app/clip_module.h is private to app/"
#endif

#include <filesystem>

namespace qir::app {

// Makes the module the clips' decoder: it is looked for beside the program `executable` (a
// staged program) and then in its installed place. A module that cannot be loaded leaves every
// clip failing with the device's "decoder cannot be loaded".
void useClipModule(const std::filesystem::path& executable);
// Starts loading it on a thread of its own, once; the program does so when its window has
// painted (loading while the window comes up slowed it), the first clip too, if sooner.
void startLoadingClipModule();

}  // namespace qir::app
