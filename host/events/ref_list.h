// An event's references: the call instructions it redirects, one release each, as a table
// of games::EventCallSite rows that template arguments can be read from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "../../games/event_call_site.h"

namespace plugin {

template <const auto& Sites>
struct RefList {
    static constexpr size_t size = std::size(Sites);

    template <size_t I>
    static constexpr uint32_t address = Sites[I].address;

    static constexpr int32_t Version(size_t i) { return Sites[i].version; }
};

}  // namespace plugin
