#include "fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "games/selected_game.h"
#include "image/rw_types.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"

namespace fuzz {

const std::string& ScratchFolder() {
    // Never destroyed: the removal at exit still needs the name.
    static const std::string& folder = *new std::string([] {
        char pattern[] = "/tmp/ombrix-fuzz-XXXXXX";
        Require(mkdtemp(pattern) != nullptr);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return std::string(pattern);
    }());
    return folder;
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr);
    Require(size == 0 || std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);
}

void InstallEngine() {
    Require(sim::MapGameImage());
    sim::InstallRwEngine(selected_game::kRwFunctions);
    sim::ResetRwEngine();
}

void DestroyTexture(void* texture) {
    if (texture) sim::DestroyTexture(static_cast<RwTexture*>(texture));
}

void RequireNothingLive(long comBaseline) {
    Require(sim::LiveTextures() == 0 && sim::LiveRasters() == 0);
    Require(substitute::LiveComObjects() == comBaseline);
    Require(substitute::OpenFileHandles() == 0);
}

}  // namespace fuzz
