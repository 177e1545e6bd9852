#pragma once
// Which process a child screensaver handed its work to, free of Win32: the
// decision over a process snapshot that carries creation times.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::handoff {

// One process of a snapshot. created: its creation time in 100 ns units
// (FILETIME), 0 when it could not be asked.
struct ProcessRecord {
    uint32_t id = 0;
    uint32_t parentId = 0;
    uint64_t created = 0;
    bool alive = false;
};

// The life of the child whose hand-off is looked for: created and ended (or
// now, while it still runs), in the same units.
struct ChildLife {
    uint32_t id = 0;
    uint64_t created = 0;
    uint64_t ended = 0;
};

// A process counts as the child's only if it was created while the child ran.
// Process ids are reused: an older process whose recorded parent id is the
// child's id was started by some earlier owner of that id.
bool CreatedWhileRunning(const ChildLife& child, uint64_t created);

// Of the live processes recorded with the child as parent and created while
// it ran, the most recently created (the first in snapshot order on a tie);
// never the child itself nor the asking process. False when there is none or
// the child's life is unknown (created 0).
bool ChooseHandOff(const ProcessRecord* snapshot, size_t count, const ChildLife& child,
                   uint32_t asker, uint32_t& handOff);
inline bool ChooseHandOff(const std::vector<ProcessRecord>& snapshot, const ChildLife& child,
                          uint32_t asker, uint32_t& handOff) {
    return ChooseHandOff(snapshot.data(), snapshot.size(), child, asker, handOff);
}

}  // namespace velmora::handoff
