// Cost of the flame's simulation: one frame with a full particle pool, and the field's
// relaxation alone.
#include <benchmark/benchmark.h>

#include <memory>

#include "flame.h"

namespace {

constexpr float kFrameDelta = 1.0f / 64.0f;

// A flame run long enough (4 s) that the pool is full and births only replace deaths.
std::unique_ptr<Flame> SteadyFlame() {
    auto flame = std::make_unique<Flame>();
    StartFlame(*flame);
    for (int i = 0; i < 256; ++i) StepFlame(*flame, kFrameDelta);
    flame->scene.running = true;
    return flame;
}

void BM_SimulateSceneFullPool(benchmark::State& state) {
    const auto flame = SteadyFlame();
    double sceneTime = flame->sceneTime;
    for (auto _ : state) {
        sceneTime += kFrameDelta;
        SimulateScene(flame->scene, sceneTime, kFrameDelta);
        benchmark::DoNotOptimize(flame->scene.particleCount);
    }
    state.counters["particles"] = flame->scene.particleCount;
}
BENCHMARK(BM_SimulateSceneFullPool);

void BM_RelaxFlowField(benchmark::State& state) {
    const auto flame = SteadyFlame();
    for (auto _ : state) {
        RelaxFlowField(flame->scene.field, kFrameDelta);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RelaxFlowField);

}  // namespace
