// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clip_module.h"

#include <dlfcn.h>

#include <future>
#include <mutex>

#include "animation/clip.h"
#include "animation/media_error.h"

namespace qir::app {
namespace {

constexpr const char* kModuleName = "qir-stroke-clips.so";

// Where the program lies, and the module's decoder once loaded (nullptr when it could not
// be). The module stays loaded for the rest of the process, as its decoder is called until the
// end.
std::filesystem::path program;
std::once_flag loadingStarted;
std::shared_future<animation::ClipDecoder> loaded;

animation::ClipDecoder loadModule(const std::filesystem::path& executable) {
    const std::filesystem::path folder = executable.parent_path();
    for (const std::filesystem::path& candidate :
         {folder / kModuleName, folder / QIR_MODULE_FROM_BINARY / kModuleName}) {
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            continue;
        }
        using Entry = animation::ClipDecoder (*)();
        if (const auto entry = reinterpret_cast<Entry>(dlsym(module, "qir_clip_decoder"))) {
            return entry();
        }
        dlclose(module);
    }
    return nullptr;
}

animation::ClipLoad decodeThroughModule(std::span<const unsigned char> bytes) {
    startLoadingClipModule();
    const animation::ClipDecoder decoder = loaded.get();
    if (decoder == nullptr) {
        return {animation::kMediaNoDecoder, {}};
    }
    return decoder(bytes);
}

}  // namespace

void useClipModule(const std::filesystem::path& executable) {
    program = executable;
    animation::setClipDecoder(&decodeThroughModule);
}

void startLoadingClipModule() {
    std::call_once(loadingStarted,
                   [] { loaded = std::async(std::launch::async, loadModule, program).share(); });
}

}  // namespace qir::app
