// Velmora Aurora: curtains of northern light over a lake. Its setting is
// the speed of the curtains.
#include "savers/demos/aurora_painter.h"
#include "savers/demos/demo_app.h"

namespace {

std::unique_ptr<CScenePainter> CreateAurora(uint32_t seed, int speed) {
    return std::make_unique<CAuroraPainter>(seed, speed);
}

const SaverKind kAurora = {"Aurora",
                           "Speed",
                           AuroraScene::kMinSpeed,
                           AuroraScene::kMaxSpeed,
                           AuroraScene::kDefaultSpeed,
                           "%d",
                           CreateAurora};

CDemoApp theApp(kAurora);

}  // namespace
