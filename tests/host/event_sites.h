// What the event tests need to know of the build's call sites.
#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "games/selected_game.h"
#include "host/events/game_events.h"
#include "host/host_address.h"
#include "host/host_version.h"
#include "host/injector/hooking.hpp"
#include "sim/event_call_sites.h"
#include "sim/game_code.h"
#include "sim/game_image.h"
#include "sim/release_scenario.h"

namespace event_sites {

struct Site {
    uint32_t address;          // game address of the call
    int32_t version;           // release it sits in
    const void* dispatcher;    // the site's call_hooks
};

template <const auto& Sites, size_t... I>
void Collect(std::vector<Site>& sites, std::index_sequence<I...>) {
    (sites.push_back(Site{Sites[I].address, Sites[I].version,
                          reinterpret_cast<const void*>(&injector::call_hooks<
                              typename injector::function_hooker<injector::scoped_call, Sites[I].address,
                                                                 uint32_t()>::manager_type>)}),
     ...);
}

template <const auto& Sites>
std::vector<Site> SitesOf() {
    std::vector<Site> sites;
    Collect<Sites>(sites, std::make_index_sequence<std::size(Sites)>());
    return sites;
}

inline std::vector<Site> StartupSites() { return SitesOf<selected_game::kRwStartupSites>(); }
inline std::vector<Site> FrameSites() { return SitesOf<selected_game::kFrameProcessSites>(); }
inline std::vector<Site> ShutdownSites() { return SitesOf<selected_game::kRwShutdownSites>(); }

inline std::vector<Site> AllSites() {
    std::vector<Site> all = StartupSites();
    for (const Site& s : FrameSites()) all.push_back(s);
    for (const Site& s : ShutdownSites()) all.push_back(s);
    return all;
}

// True when the laid-out release has a site among `sites`: read from the scenario, not from
// the detection under test, so that it can say which releases a test is registered for.
inline bool ScenarioHasSites(const std::vector<Site>& sites) {
    for (const Site& s : sites)
        if (s.version == sim::LoadedRelease().code) return true;
    return false;
}

// The sites of the running release (San Andreas lists one address for two codes: once).
inline std::vector<Site> RunningSites(const std::vector<Site>& sites) {
    std::vector<Site> running;
    for (const Site& s : sites)
        if (s.version == HostVersion()) running.push_back(s);
    return running;
}

inline const void* DestinationOf(uint32_t site) {
    return injector::BranchDestination(HostAddress(site));
}

inline bool RedirectedTo(const Site& site) {
    const uint8_t* at = static_cast<const uint8_t*>(HostAddress(site.address));
    return at[0] == 0xE8 && DestinationOf(site.address) == site.dispatcher;
}

// True when the five bytes at the site are the ones the stand-in laid out.
inline bool AsLaidOut(uint32_t site) {
    return std::memcmp(HostAddress(site), sim::LaidOutSiteBytes(site).data(), 5) == 0;
}

// True when game address `at` lies inside the instruction of a running-release site.
inline bool InsideRunningCall(uint32_t at) {
    for (const Site& s : RunningSites(AllSites()))
        if (at >= s.address && at < s.address + 5) return true;
    return false;
}

// True when a running-release site starts at `address`.
inline bool IsRunningSite(uint32_t address) {
    for (const Site& s : RunningSites(AllSites()))
        if (s.address == address) return true;
    return false;
}

inline void Nothing() {}

// Installs all three events of the build.
inline void InstallEveryEvent() {
    plugin::AddAfter(plugin::RwStartupEvent(), &Nothing);
    plugin::AddAfter(plugin::FrameProcessEvent(), &Nothing);
    plugin::AddBefore(plugin::RwShutdownEvent(), &Nothing);
}

}  // namespace event_sites
