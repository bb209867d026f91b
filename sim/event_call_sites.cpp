#include "event_call_sites.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "../games/iii/event_call_sites.h"
#include "../games/sa/event_call_sites.h"
#include "../games/vc/event_call_sites.h"
#include "../platform/platform.h"
#include "game_code.h"
#include "game_image.h"

namespace sim {
namespace {

struct SiteTable {
    const games::EventCallSite* rows;
    size_t count;
};

template <size_t N>
constexpr SiteTable Table(const games::EventCallSite (&rows)[N]) { return {rows, N}; }

// The three events' tables of a game: start-up, per frame, shut-down.
std::array<SiteTable, 3> TablesOf(Game game) {
    switch (game) {
        case Game::III:
            return {Table(games::iii::kRwStartupSites), Table(games::iii::kFrameProcessSites),
                    Table(games::iii::kRwShutdownSites)};
        case Game::VC:
            return {Table(games::vc::kRwStartupSites), Table(games::vc::kFrameProcessSites),
                    Table(games::vc::kRwShutdownSites)};
        case Game::SA:
            return {Table(games::sa::kRwStartupSites), Table(games::sa::kFrameProcessSites),
                    Table(games::sa::kRwShutdownSites)};
        case Game::None: break;
    }
    return {};
}

struct LaidOutSite {
    uint32_t site;      // game address of the call site, any release
    uint32_t callee;    // its callee, 0 when the site is not of the laid-out release
    uint8_t bytes[5];   // the bytes at the site once laid out
};

// Plain storage: the image is laid out before any dynamic initialiser runs.
LaidOutSite laidOut[16];
size_t laidOutCount = 0;

const LaidOutSite* Find(uint32_t site) {
    for (size_t i = 0; i < laidOutCount; ++i)
        if (laidOut[i].site == site) return &laidOut[i];
    return nullptr;
}

void MakeReadExecute(uint32_t site) {
    DWORD previous = 0;
    VirtualProtect(GameBytes(site), 6, PAGE_EXECUTE_READ, &previous);
}

}  // namespace

void WriteEventCallSites(Game game, int32_t code) {
    laidOutCount = 0;
    uint32_t nextCallee = kEventCalleesStart;
    const std::array<SiteTable, 3> tables = TablesOf(game);
    for (const SiteTable& table : tables)
        for (size_t i = 0; i < table.count; ++i) {
            const games::EventCallSite& row = table.rows[i];
            if (row.version != code || Find(row.address)) continue;
            WriteGameCallee(nextCallee, EventCalleeResult(row.address));
            WriteCallSite(row.address, nextCallee);
            laidOut[laidOutCount++] = {row.address, nextCallee, {}};
            nextCallee += kGameCalleeSize;
        }
    // Every site of every release, so that tests can tell what was written where afterwards.
    for (const SiteTable& table : tables)
        for (size_t i = 0; i < table.count; ++i)
            if (!Find(table.rows[i].address) && laidOutCount < std::size(laidOut))
                laidOut[laidOutCount++] = {table.rows[i].address, 0, {}};
    for (size_t i = 0; i < laidOutCount; ++i)
        std::memcpy(laidOut[i].bytes, GameBytes(laidOut[i].site), 5);
    for (size_t i = 0; i < laidOutCount; ++i)
        if (laidOut[i].callee) MakeReadExecute(laidOut[i].site);
}

uint32_t EventCallee(uint32_t site) {
    const LaidOutSite* found = Find(site);
    return found ? found->callee : 0;
}

std::vector<uint32_t> EventCallSitesOf(Game game, GameEvent event) {
    const SiteTable table = TablesOf(game)[static_cast<size_t>(event)];
    std::vector<uint32_t> sites;
    for (size_t i = 0; i < table.count; ++i)
        if (std::find(sites.begin(), sites.end(), table.rows[i].address) == sites.end())
            sites.push_back(table.rows[i].address);
    return sites;
}

std::array<uint8_t, 5> LaidOutSiteBytes(uint32_t site) {
    std::array<uint8_t, 5> bytes = {};
    if (const LaidOutSite* found = Find(site)) std::memcpy(bytes.data(), found->bytes, 5);
    return bytes;
}

}  // namespace sim
