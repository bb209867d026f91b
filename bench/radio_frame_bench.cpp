// The strip's frame against the sprite draws it makes: RadioStripFrame drawing six icons into
// a sprite routine that does nothing, and the same six calls of that routine made directly.
// Also counts the heap allocations of a frame, which must be none. Needs the Vice City 1.1
// image laid out (SIM_GAME=vc SIM_RELEASE=110, as bench/run sets them).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "games/selected_game.h"
#include "platform/platform.h"
#include "radio/radio_strip_frame.h"
#include "radio/radio_strip_settings.h"
#include "radio/radio_strip_state.h"
#include "ratio_reporter.h"
#include "sim/game_code.h"
#include "sim/game_image.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"

namespace {

size_t allocations = 0;

constexpr const games::HostCells& kCells = selected_game::kHostCells;

void __thiscall NoDraw(HostSprite* sprite, const HostRect* rect, const HostColour* colour) {
    benchmark::DoNotOptimize(sprite);
    benchmark::DoNotOptimize(rect);
    benchmark::DoNotOptimize(colour);
}

RwBool __cdecl NoRenderState(RwInt32 state, void* value) {
    benchmark::DoNotOptimize(state);
    benchmark::DoNotOptimize(value);
    return 1;
}

// A player driving, the strip settled on a station: six sprite draws a frame.
bool SetUpDrivingFrame() {
    if (sim::HostRoutinesRelease() == 0) return false;
    sim::WriteJumpToRoutine(sim::HostCellAddress(kCells.spriteDraw), reinterpret_cast<const void*>(&NoDraw));
    sim::WriteJumpToRoutine(sim::HostCellAddress(kCells.rwRenderStateSet),
                            reinterpret_cast<const void*>(&NoRenderState));
    sim::HostWorld& world = sim::World();
    world.character = world.characterObject;
    world.vehicle = world.vehicleObject;
    sim::ObjectField<int32_t>(world.characterObject, selected_game::kHostFields.characterState) =
        selected_game::kHostFields.drivingState;
    *sim::HostCellPointer<int32_t>(kCells.screenWidth) = 1920;
    *sim::HostCellPointer<int32_t>(kCells.screenHeight) = 1080;
    *sim::HostCellPointer<float>(kCells.timeStep) = 1.0f;
    *sim::HostCellPointer<uint32_t>(kCells.clock) = 10000;
    radioStripSettings.RadioSliderTimeout = 1 << 30;  // never fades out while measured
    for (int frame = 0; frame < 50; ++frame) {
        sim::ClearHostCallLog();
        RadioStripFrame();
    }
    return radioStripState.fade == 1.0f;
}

void RadioFrame(benchmark::State& state) {
    if (!SetUpDrivingFrame()) return state.SkipWithError("the Vice City 1.1 image is not laid out");
    for (auto _ : state) {
        sim::ClearHostCallLog();  // keeps its capacity: the stand-in's recorder allocates nothing
        RadioStripFrame();
    }
}
BENCHMARK(RadioFrame);

void SixDrawCalls(benchmark::State& state) {
    HostSprite sprite{nullptr};
    const HostRect rect{1, 2, 3, 4};
    const HostColour colour{255, 255, 255, 192};
    auto* draw = reinterpret_cast<void(__thiscall*)(HostSprite*, const HostRect*, const HostColour*)>(
        sim::GameBytes(sim::HostCellAddress(kCells.spriteDraw)));
    for (auto _ : state)
        for (int i = 0; i < 6; ++i) draw(&sprite, &rect, &colour);
}
BENCHMARK(SixDrawCalls);

}  // namespace

// Counts every allocation; freeing what malloc gave is right, whatever GCC infers from the
// replaced operator's name.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

int main(int argc, char** argv) {
    const int status = RunBenchmarksWithRatios(
        argc, argv, {{"radio_frame_vs_draw_calls", {"RadioFrame", "SixDrawCalls"}}});
    if (!SetUpDrivingFrame()) return 1;
    constexpr int kFrames = 1000;
    const size_t before = allocations;
    for (int frame = 0; frame < kFrames; ++frame) {
        sim::ClearHostCallLog();
        RadioStripFrame();
    }
    std::printf("allocs radio_frame %zu\n", (allocations - before) / kFrames);
    return status != 0 || allocations != before ? 1 : 0;
}
