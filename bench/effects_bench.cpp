// The image blur of the detail headers on a phone screen's worth of pixels:
// a 750 × 1334 image at scale 2, blurred at radius 1, 10 and 30 points with
// saturation 1.8 and no tint. The box passes cost the same at any radius, so
// the three times should stay close; `ratio_to_r1` is each time over the
// radius-1 time of the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <map>
#include <memory>

#include "Utils/UIImageImageEffects.h"
#include "graphics/Bitmap.h"
#include "uikit/DeviceProfile.h"

namespace {

constexpr int kWidth = 750;
constexpr int kHeight = 1334;

// Smooth colour fields with sharp stripes, so the blur has edges to work on.
uikit::UIImagePtr photo() {
    auto bitmap = std::make_shared<graphics::Bitmap>(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            auto wave = [](double v) { return uint8_t(127.5 + 127.5 * std::sin(v)); };
            graphics::Pixel p{wave(x * 0.02), wave(y * 0.013 + 1), wave((x + y) * 0.007 + 2), 255};
            if ((x / 37 + y / 53) % 5 == 0) p = {250, 250, 240, 255};
            bitmap->setPixel(x, y, p);
        }
    }
    return uikit::UIImage::imageWithBitmap(bitmap, 2);
}

std::map<int, double>& secondsByRadius() {
    static std::map<int, double> seconds;
    return seconds;
}

void BM_BlurWithSaturation(benchmark::State& state) {
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    static const uikit::UIImagePtr image = photo();
    const int radius = int(state.range(0));
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto result = UIImageImageEffects::applyBlurWithRadius(*image, radius, std::nullopt, 1.8, nullptr);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(result);
    }
    const double perRun = total / double(state.iterations());
    secondsByRadius()[radius] = perRun;
    state.counters["ms"] = perRun * 1000;
    if (auto r1 = secondsByRadius().find(1); r1 != secondsByRadius().end())
        state.counters["ratio_to_r1"] = perRun / r1->second;
}

}  // namespace

BENCHMARK(BM_BlurWithSaturation)->ArgName("radius")->Arg(1)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->MinTime(2);

BENCHMARK_MAIN();
