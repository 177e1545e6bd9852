// Velmora Orbits: planets with trails round a golden sun. Its setting is the
// number of planets.
#include "savers/demos/demo_app.h"
#include "savers/demos/orbits_painter.h"

namespace {

std::unique_ptr<CScenePainter> CreateOrbits(uint32_t seed, int planets) {
    return std::make_unique<COrbitsPainter>(seed, planets);
}

const SaverKind kOrbits = {"Orbits",
                           "Planets",
                           OrbitsScene::kMinPlanets,
                           OrbitsScene::kMaxPlanets,
                           OrbitsScene::kDefaultPlanets,
                           "%d planets",
                           CreateOrbits};

CDemoApp theApp(kOrbits);

}  // namespace
