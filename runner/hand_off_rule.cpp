#include "runner/hand_off_rule.h"

namespace velmora::handoff {

bool CreatedWhileRunning(const ChildLife& child, uint64_t created) {
    return child.created != 0 && created != 0 && created >= child.created &&
           created <= child.ended;
}

bool ChooseHandOff(const ProcessRecord* snapshot, size_t count, const ChildLife& child,
                   uint32_t asker, uint32_t& handOff) {
    bool found = false;
    uint64_t newest = 0;
    for (size_t i = 0; i < count; ++i) {
        const ProcessRecord& p = snapshot[i];
        if (p.parentId != child.id || p.id == child.id || p.id == asker || !p.alive) continue;
        if (!CreatedWhileRunning(child, p.created)) continue;
        if (!found || p.created > newest) {
            found = true;
            newest = p.created;
            handOff = p.id;
        }
    }
    return found;
}

}  // namespace velmora::handoff
