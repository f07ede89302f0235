// SPDX-License-Identifier: GPL-3.0-or-later
// The entry of the module qir-stroke-clips.so: the program finds decodeClip through it.
#include "animation/clip.h"

extern "C" __attribute__((visibility("default"))) qir::animation::ClipDecoder qir_clip_decoder() {
    return &qir::animation::decodeClip;
}
