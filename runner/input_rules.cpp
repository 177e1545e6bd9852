#include "runner/input_rules.h"

#include <cstdlib>

namespace velmora::runner {

bool MoveCounts(PointerOrigin& origin, int x, int y) {
    if (!origin.known) {
        origin = PointerOrigin{true, x, y};
        return false;
    }
    return std::abs(x - origin.x) > kMoveTolerance || std::abs(y - origin.y) > kMoveTolerance;
}

PointerOrigin OriginFromCursor(int x, int y, bool physicalKnown, int physicalX, int physicalY) {
    if (physicalKnown && (physicalX != x || physicalY != y)) return PointerOrigin{};
    return PointerOrigin{true, x, y};
}

bool InputMissedByHooks(uint32_t lastInput, uint32_t lastSeen, uint32_t now) {
    // Differences of wrapping ticks, read as signed.
    const int32_t afterSeen = static_cast<int32_t>(lastInput - lastSeen);
    const int32_t age = static_cast<int32_t>(now - lastInput);
    return afterSeen > static_cast<int32_t>(kInputClockSlackMs) &&
           age >= static_cast<int32_t>(kHookAnswerMs);
}

bool InputNewerThanHooks(uint32_t lastInput, uint32_t lastSeen) {
    return static_cast<int32_t>(lastInput - lastSeen) > static_cast<int32_t>(kInputClockSlackMs);
}

}  // namespace velmora::runner
