#include "versioned_slots.h"

#include <array>
#include <cstddef>

#include "select_by_version.h"

namespace {

constexpr auto& kTable = selected_game::kVersionedAddresses;

std::array<void*, kTable.size()> slots;  // filled once, in table order, at load

// Fills every slot in table order; the first SelectByVersion detects the release. It runs
// ahead of every default-priority initialiser, so the plug-in's entry object, constructed
// after it, finds every slot filled. (Builds without versioned addresses detect later.)
struct SlotFiller {
    SlotFiller() {
        size_t slot = 0;
        for (const games::VersionedAddress& address : kTable) slots[slot++] = SelectByVersion(address);
    }
};
__attribute__((init_priority(200))) const SlotFiller fillSlotsAtLoad;

}  // namespace

void* HostVersionedSlot(selected_game::VersionedSlot slot) {
    return slots[static_cast<size_t>(slot)];
}
