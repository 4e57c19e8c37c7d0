// Floor plans of 1,000, 5,000 and 20,000 rooms, generated as a large venue
// draws them: each room a path with a label, rooms in wings (groups with
// transforms) styled by class from a style sheet, a beacon and a proximity
// pair per ten rooms, and a route graph of corridors with a door edge per
// room. Measured:
// - parse + layer build: the file parsed as one maps parse run (so the
//   floor-plan extensions fill the maps service) and its layer tree built;
//   time per room (the inverse of rooms/s) and the heap the image, its tree
//   and the maps collections hold afterwards, per room;
// - render to PNG: the layer tree drawn at about 12 pixels a room side (the
//   pixel count grows with the rooms) and encoded.
// The process's peak resident size is reported at the end: it is reached by
// the largest plan. `svg_bench --write-plan ROOMS FILE` writes one plan and
// ends, for `quovana svg FILE --png OUT` under /usr/bin/time -v.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "foundation/Log.h"
#include "graphics/CairoContext.h"
#include "maps/InteractiveMapsServices.h"
#include "svg/image/SVGXImage.h"
#include "svg/sources/SVGXSourceString.h"

namespace {

constexpr int kRoomsPerWing = 50;
constexpr double kRoomPitch = 50;  // drawing units from one room to the next

// Rooms on a square grid, wings of kRoomsPerWing rooms in a row, each wing a
// group moved into place by its transform.
std::string generatePlan(int rooms) {
    int columns = int(std::ceil(std::sqrt(double(rooms))));
    int rows = (rooms + columns - 1) / columns;
    double width = columns * kRoomPitch, height = rows * kRoomPitch;
    std::string text;
    text.reserve(size_t(rooms) * 700);
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %g %g\">\n"
                  "<style>.room{fill:#dde6f0;stroke:#334455;stroke-width:1} .meeting{fill:#f0e0c8} "
                  ".label{fill:#222222;font-size:9px} .wing{opacity:1}</style>\n",
                  columns * 12, rows * 12, width, height);
    text += buffer;
    for (int first = 0; first < rooms; first += kRoomsPerWing) {
        int row = first / columns, column = first % columns;
        std::snprintf(buffer, sizeof buffer, "<g id=\"wing%d\" class=\"wing\" transform=\"translate(%g,%g)\">\n",
                      first / kRoomsPerWing, column * kRoomPitch, row * kRoomPitch);
        text += buffer;
        for (int i = first; i < std::min(rooms, first + kRoomsPerWing); ++i) {
            // Within the wing, rooms run on along the row and wrap.
            int offset = (column + i - first) % columns - column;
            int down = (column + i - first) / columns;
            double x = offset * kRoomPitch, y = down * kRoomPitch;
            std::snprintf(buffer, sizeof buffer,
                          "<path id=\"R%d\" class=\"%s\" d=\"M%g %g h40 v30 h-40 Z\" isSelectable=\"true\" "
                          "type=\"room\" idRoom=\"L%d\" categoryName=\"Meetings &amp; Talks\" "
                          "title=\"Room %d &amp; Annex\" isInDestinationList=\"true\" isNavigatable=\"true\"/>\n"
                          "<text class=\"label\" x=\"%g\" y=\"%g\">Room %d</text>\n",
                          i, i % 3 == 0 ? "meeting" : "room", x, y, i, i, x + 4, y + 18, i);
            text += buffer;
        }
        text += "</g>\n";
    }
    // The route graph, in plan coordinates: a corridor node below each room,
    // joined along the row, and a door edge up into the room.
    for (int i = 0; i < rooms; ++i) {
        double x = (i % columns) * kRoomPitch + 20, y = (i / columns) * kRoomPitch;
        std::snprintf(buffer, sizeof buffer, "<edge x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\" idEnd=\"R%d\"/>\n", x,
                      y + 45, x, y + 15, i);
        text += buffer;
        if (i % columns != 0) {
            std::snprintf(buffer, sizeof buffer, "<edge x1=\"%g\" y1=\"%g\" x2=\"%g\" y2=\"%g\"/>\n", x - kRoomPitch,
                          y + 45, x, y + 45);
            text += buffer;
        }
        if (i % 10 == 0) {
            std::snprintf(buffer, sizeof buffer,
                          "<beacon id=\"B%d\" major=\"1\" minor=\"%d\"/>\n"
                          "<roomBeaconProximity idBeacon=\"B%d\" idRoom=\"R%d\"/>\n",
                          i, i, i, i);
            text += buffer;
        }
    }
    text += "</svg>\n";
    return text;
}

const std::string& planOf(int rooms) {
    static std::map<int, std::string> plans;
    auto& plan = plans[rooms];
    if (plan.empty()) plan = generatePlan(rooms);
    return plan;
}

size_t heapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

// Parses the plan as the maps do (one run, collection on) and builds its
// layer tree; notes the heap the parse alone took.
std::shared_ptr<svg::SVGXImage> parseAndBuild(const std::string& plan, size_t* parsedHeap = nullptr) {
    std::shared_ptr<svg::SVGXImage> image;
    InteractiveMapsServices::instance().parseFloorPlans({{"1", "plan.svg"}}, [&](const auto&) {
        image = svg::SVGXImage::imageWithSource(svg::SVGXSourceString::sourceFromContentsOfString(plan));
    });
    if (parsedHeap) *parsedHeap = heapInUse();
    if (!image || !image->CALayerTree()) std::abort();
    return image;
}

void BM_ParseAndBuildLayers(benchmark::State& state) {
    int rooms = int(state.range(0));
    const std::string& plan = planOf(rooms);
    double heldBytes = 0, parsedBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        InteractiveMapsServices::instance().parseFloorPlans({}, nullptr);  // empties the collections
        malloc_trim(0);
        size_t before = heapInUse();
        state.ResumeTiming();
        size_t parsed = 0;
        auto image = parseAndBuild(plan, &parsed);
        state.PauseTiming();
        heldBytes = double(heapInUse() - before);
        parsedBytes = double(parsed - before);
        image.reset();
        state.ResumeTiming();
    }
    if (InteractiveMapsServices::instance().pointsOfInterestArray().size() != size_t(rooms)) std::abort();
    state.SetItemsProcessed(int64_t(state.iterations()) * rooms);
    state.counters["rooms"] = rooms;
    state.counters["held_KB_per_room"] = heldBytes / 1024.0 / rooms;
    state.counters["parsed_KB_per_room"] = parsedBytes / 1024.0 / rooms;
    state.counters["plan_KB"] = double(plan.size()) / 1024.0;
}
BENCHMARK(BM_ParseAndBuildLayers)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_RenderToPNG(benchmark::State& state) {
    int rooms = int(state.range(0));
    auto image = parseAndBuild(planOf(rooms));
    graphics::Size size = image->size();
    size_t pngBytes = 0;
    const std::string out = std::filesystem::temp_directory_path() / "svg_bench-render.png";
    for (auto _ : state) {
        graphics::CairoContext context(int(size.width), int(size.height));
        image->renderToContext(context, true, 1.0, graphics::InterpolationQuality::Default, false);
        if (context.writePNG(out)) std::abort();
        pngBytes = std::filesystem::file_size(out);
    }
    std::filesystem::remove(out);
    state.SetItemsProcessed(int64_t(state.iterations()) * rooms);
    state.counters["rooms"] = rooms;
    state.counters["pixels"] = size.width * size.height;
    state.counters["png_KB"] = double(pngBytes) / 1024.0;
}
BENCHMARK(BM_RenderToPNG)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The library logs per plan, not per element; quiet all the same, so the
    // figures are the parse's own.
    foundation::setLogSink([](const std::string&) {});
    if (argc == 4 && std::string(argv[1]) == "--write-plan") {
        std::ofstream(argv[3], std::ios::binary) << generatePlan(std::atoi(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size: %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
