#include "fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "games/selected_game.h"
#include "load/rw_types.h"
#include "platform/posix/d2d1_draw_log.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"

namespace fuzz {

const std::string& ScratchFolder() {
    // Never destroyed: the removal at exit still needs the name.
    static const std::string& folder = *new std::string([] {
        // In memory where the system has such a folder: every input is written and read back.
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        pattern += "/ombrix-fuzz-XXXXXX";
        Require(mkdtemp(pattern.data()) != nullptr);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return pattern;
    }());
    return folder;
}

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = std::fopen(substitute::PosixPath(path.c_str()).c_str(), "wb");
    Require(file != nullptr);
    Require(size == 0 || std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);
}

void WriteUncachedSource(const std::string& path, const uint8_t* data, size_t size) {
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder() + "/.mipcache", ignored);
    WriteInput(path, data, size);
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
    sim::ClearRwCallLog();
    substitute::ClearDrawLog();
}

}  // namespace fuzz
