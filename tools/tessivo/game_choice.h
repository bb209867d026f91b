// What the tessivo tool needs to know of each game, gathered from the games' tables, so one
// program serves all three.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>

#include "games/event_call_site.h"
#include "games/station_ring_entry.h"
#include "games/version_signature.h"

// A game's table as the tool walks it.
template <class T>
struct TableView {
    const T* first = nullptr;
    size_t count = 0;
    constexpr TableView(const T* table, size_t n) : first(table), count(n) {}
    template <size_t N>
    constexpr TableView(const T (&table)[N]) : first(table), count(N) {}
    template <class Array>
    constexpr TableView(const Array& table) : first(table.data()), count(table.size()) {}
    const T* begin() const { return first; }
    const T* end() const { return first + count; }
};

// A release in the words players know it by; a release without one is named by its code.
struct KnownRelease {
    int32_t code;
    const char* name;
};

struct GameChoice {
    const char* name;        // as the tools and the stand-in name it: "iii", "vc", "sa"
    const char* build;       // as the DLL file names and version resources name it: "III", ...
    const char* title;       // as a player calls it
    const char* executable;  // the game's program file
    TableView<games::StationRingEntry> stations;  // every station, user tracks included
    TableView<games::StationRingEntry> stationsWithoutUserTracks;
    TableView<const char*> icons;                 // icon base names in slot order
    TableView<games::VersionSignature> signatures;
    TableView<games::EventCallSite> hookedSites;  // a release with one here is hooked
    TableView<KnownRelease> releaseNames;
};

// Null when `name` is none of the three.
const GameChoice* FindGame(const std::string& name);

TableView<GameChoice> AllGames();

// Whether `station` is one of the game's station numbers.
bool HasStation(const GameChoice& game, int32_t station);
