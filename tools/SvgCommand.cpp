// The "svg" sub-command: parses the given floor plans as one maps parse run
// and prints the collections, the layer trees, hit tests and the exporter's
// statements, and renders a plan to PNG for a person to look at.
#include "SvgCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "graphics/CairoContext.h"
#include "graphics/MutablePath.h"
#include "graphics/ShapeLayer.h"
#include "maps/InteractiveMapsServices.h"
#include "quovana/AppOptions.h"
#include "quovana/OptionsGivenOnce.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/image/SVGXImage.h"
#include "svg/layers/CALayerExporter.h"
#include "svg/layers/CALayer_Clone.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/views/SVGXFastImageView.h"
#include "uikit/UIView.h"

namespace tools {

namespace {

namespace fs = std::filesystem;

// Images named in a plan resolve next to the plan that names them; the
// plans themselves by the file name given on the command line.
class CommandLineMapFolder : public svg::SVGMapFolder {
public:
    std::map<std::string, std::string> paths;
    std::string firstDirectory;

    std::optional<std::string> pathOfMapFolderFile(const std::string& fileName) const override {
        auto it = paths.find(fileName);
        if (it != paths.end()) return it->second;
        return (fs::path(firstDirectory) / fileName).string();
    }
};

// The largest picture side the command writes.
constexpr int kMaximumPNGSide = 16384;

struct Options {
    std::vector<std::string> files;
    std::vector<std::string> floors;
    std::optional<graphics::Point> hit;
    bool exportStatements = false;
    std::optional<std::string> png;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

// The problem, then the usage; an empty problem prints the usage alone.
void usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "quovana svg: %s\n", problem.c_str());
    std::fprintf(stderr,
                 "usage: quovana svg FILE... [--floor NAME]... [--floors NAME,NAME,...] [--hit X,Y] [--export] "
                 "[--png OUT]\n");
}

// The options, or why they are wrong.
std::optional<Options> parseArguments(const std::vector<std::string>& arguments, std::string& problem) {
    Options options;
    quovana::OptionsGivenOnce once;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        // Floors add up; every other option takes one value.
        if (argument.starts_with("--") && argument != "--floor" && argument != "--floors")
            if (problem = once.repeated(argument); !problem.empty()) return std::nullopt;
        // "--floor NAME" names the next file's floor; "--floors" names
        // several at once. Either way names go to the files in order.
        if (argument == "--floors" && hasValue) {
            for (auto& name : split(arguments[++i], ',')) options.floors.push_back(std::move(name));
        } else if (argument == "--floor" && hasValue) {
            options.floors.push_back(arguments[++i]);
        } else if (argument == "--hit" && hasValue) {
            auto point = quovana::parsePair(arguments[++i]);
            if (!point) {
                problem = "--hit takes X,Y, two finite numbers; not " + arguments[i];
                return std::nullopt;
            }
            options.hit = graphics::Point{point->first, point->second};
        } else if (argument == "--export") {
            options.exportStatements = true;
        } else if (argument == "--png" && hasValue) {
            options.png = arguments[++i];
        } else if (argument.starts_with("--")) {
            problem = argument == "--floors" || argument == "--floor" || argument == "--hit" || argument == "--png"
                          ? argument + " needs a value"
                          : "unknown option \"" + argument + "\"";
            return std::nullopt;
        } else {
            options.files.push_back(argument);
        }
    }
    if (options.files.empty()) {
        problem = "no floor plan file given";
        return std::nullopt;
    }
    if (options.floors.size() > options.files.size()) {
        problem = "more floor names than files";
        return std::nullopt;
    }
    // Floors not named are numbered on from the last one given.
    for (size_t i = options.floors.size(); i < options.files.size(); ++i) options.floors.push_back(std::to_string(i + 1));
    return options;
}

std::string text(const std::optional<std::string>& value) { return value ? *value : "-"; }

std::string rgbaBytes(const std::optional<graphics::Color>& color) {
    if (!color) return "none";
    auto rgba = color->rgba();
    auto byte = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", byte(rgba.red), byte(rgba.green), byte(rgba.blue),
                  byte(rgba.alpha));
    return buffer;
}

std::string rect(const graphics::Rect& r) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "(%g,%g %gx%g)", r.origin.x, r.origin.y, r.size.width, r.size.height);
    return buffer;
}

void printLayer(const graphics::Layer& layer, int depth) {
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    std::printf("%s%s name=%s frame=%s opacity=%g", indent.c_str(), layer.className().c_str(),
                text(layer.name()).c_str(), rect(layer.frame()).c_str(), layer.opacity());
    for (const char* key : {svg::kSVGElementIdentifierKey, svg::kSVGElementIsSelectableKey,
                            svg::kSVGElementPointOfInterestTypeKey}) {
        const auto& value = layer.valueForKey(key);
        if (!value.isAbsent()) std::printf(" %s=%s", key, value.description().c_str());
    }
    if (const auto* shape = dynamic_cast<const graphics::ShapeLayer*>(&layer)) {
        std::printf(" fill=%s stroke=%s lineWidth=%g", rgbaBytes(shape->fillColor()).c_str(),
                    rgbaBytes(shape->strokeColor()).c_str(), shape->lineWidth());
        std::printf(" path=[");
        const char* separator = "";
        for (const auto& element : shape->path() ? shape->path()->elements() : std::vector<graphics::PathElement>{}) {
            static const char* letters[] = {"M", "L", "Q", "C", "Z"};
            std::printf("%s%s", separator, letters[static_cast<int>(element.type)]);
            for (int i = 0; i < element.pointCount(); ++i) {
                std::printf(" %g,%g", element.points[static_cast<size_t>(i)].x, element.points[static_cast<size_t>(i)].y);
            }
            separator = " ";
        }
        std::printf("]");
    }
    std::printf("\n");
    for (const auto& sublayer : layer.sublayers()) printLayer(*sublayer, depth + 1);
}

void printCollections(InteractiveMapsServices& maps) {
    std::printf("beacons: %zu\n", maps.allBeaconsOnMap().size());
    for (const auto& [key, beacon] : maps.allBeaconsOnMap()) {
        std::printf("  %s major=%s minor=%s floor=%s\n", key.c_str(), text(beacon->major()).c_str(),
                    text(beacon->minor()).c_str(), text(beacon->floorIdentifier()).c_str());
    }
    std::printf("points of interest: %zu\n", maps.pointsOfInterestArray().size());
    for (const auto& poi : maps.pointsOfInterestArray()) {
        std::printf("  %s type=%s room=%s title=%s floor=%s\n", text(poi->identifier()).c_str(),
                    text(poi->type()).c_str(), text(poi->idRoom()).c_str(), text(poi->title()).c_str(),
                    text(poi->floorIdentifier()).c_str());
    }
    std::printf("nodes: %zu\n", maps.intersectionPointsArray().size());
    for (const auto& node : maps.intersectionPointsArray()) {
        std::printf("  #%d %s (%g,%g) room=%s floor=%s\n", node->indexInGraph(), text(node->pointIdentifier()).c_str(),
                    node->thePoint().x, node->thePoint().y, text(node->roomIdentifier()).c_str(),
                    text(node->floorIdentifier()).c_str());
    }
    std::printf("edges: %zu\n", maps.edgesArray().size());
    for (const auto& edge : maps.edgesArray()) {
        std::printf("  #%d -> #%d distance=%g\n", edge->indexFromPoint(), edge->indexToPoint(),
                    edge->distanceBetweenPoints());
    }
    std::printf("proximity pairs: %zu\n", maps.roomBeaconProximityArray().size());
    for (const auto& pair : maps.roomBeaconProximityArray()) {
        std::printf("  beacon=%s room=%s floor=%s\n", text(pair->idBeacon()).c_str(), text(pair->idRoom()).c_str(),
                    text(pair->floorIdentifier()).c_str());
    }
}

void printParseReport(const svg::SVGXParseResultPtr& result) {
    if (!result) return;
    for (const auto& warning : result->warnings()) std::printf("  warning: %s\n", warning->localizedDescription().c_str());
    for (const auto& error : result->errorsRecoverable()) std::printf("  error: %s\n", error->localizedDescription().c_str());
    for (const auto& error : result->errorsFatal()) std::printf("  fatal: %s\n", error->localizedDescription().c_str());
}

struct StatementPrinter : svg::CALayerExporterDelegate {
    void layerExporterDidParseLayer(svg::CALayerExporter&, const graphics::Layer&, const std::string& s) override {
        std::printf("%s\n", s.c_str());
    }
};

// Drawn the way the indoor map draws a floor: through the fast image view,
// which stretches the plan to its bounds. A plan larger than the picture
// limit is drawn scaled down to it, keeping its proportions.
bool writePNG(const std::shared_ptr<svg::SVGXImage>& image, const std::string& path) {
    auto view = svg::SVGXFastImageView::initWithSVGXImage(image);
    view->setDisableAutoRedrawAtHighestResolution(true);
    view->setShowBorder(false);
    auto usable = [](graphics::Size s) {
        return std::isfinite(s.width) && std::isfinite(s.height) && s.width > 0 && s.height > 0;
    };
    graphics::Size size = view->frame().size;
    if (!usable(size)) {
        auto tree = image->CALayerTree();
        size = tree ? tree->frame().size : graphics::Size{};
    }
    if (!usable(size)) {
        std::fprintf(stderr, "quovana svg: %s has no size to draw at\n", path.c_str());
        return false;
    }
    double longest = std::max(size.width, size.height);
    if (longest > kMaximumPNGSide) {
        double factor = kMaximumPNGSide / longest;
        graphics::Size scaled{std::max(1.0, size.width * factor), std::max(1.0, size.height * factor)};
        std::printf("scaling %gx%g down to %gx%g (a picture is at most %d pixels a side)\n", size.width, size.height,
                    std::floor(scaled.width), std::floor(scaled.height), kMaximumPNGSide);
        size = {std::floor(scaled.width), std::floor(scaled.height)};
    }
    view->setFrame({{0, 0}, size});
    int width = std::clamp(static_cast<int>(std::ceil(size.width)), 1, kMaximumPNGSide);
    int height = std::clamp(static_cast<int>(std::ceil(size.height)), 1, kMaximumPNGSide);
    graphics::CairoContext context(width, height);
    graphics::MutablePath page;
    page.addRect({0, 0, static_cast<double>(width), static_cast<double>(height)});
    context.fillPath(page, graphics::Color::white());
    view->display(context);
    if (auto error = context.writePNG(path)) {
        std::fprintf(stderr, "quovana svg: cannot write %s: %s\n", path.c_str(), error->localizedDescription().c_str());
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", path.c_str(), width, height);
    return true;
}

}  // namespace

int runSvgCommand(const std::vector<std::string>& arguments) {
    std::string problem;
    auto options = parseArguments(arguments, problem);
    if (!options) {
        usage(problem);
        return 2;
    }
    CommandLineMapFolder folder;
    folder.firstDirectory = fs::path(options->files.front()).parent_path().string();
    std::vector<InteractiveMapsServices::FloorPlanFile> floors;
    for (size_t i = 0; i < options->files.size(); ++i) {
        const std::string& path = options->files[i];
        std::error_code error;
        if (!fs::is_regular_file(path, error)) {
            std::fprintf(stderr, "quovana svg: cannot read %s\n", path.c_str());
            return 1;
        }
        folder.paths[fs::path(path).filename().string()] = path;
        floors.push_back({options->floors[i], path});
    }
    svg::SVGMapFolder::registerMapFolder(&folder);

    std::vector<std::shared_ptr<svg::SVGXImage>> images;
    auto& maps = InteractiveMapsServices::instance();
    maps.parseFloorPlans(floors, [&](const InteractiveMapsServices::FloorPlanFile& floor) {
        images.push_back(svg::SVGXImage::imageWithContentsOfFile(floor.fileName));
    });
    int status = 0;
    printCollections(maps);
    for (size_t i = 0; i < images.size(); ++i) {
        std::printf("floor %s: %s\n", floors[i].floorIdentifier.c_str(), floors[i].fileName.c_str());
        const auto& image = images[i];
        if (!image) {
            std::fprintf(stderr, "quovana svg: %s holds no floor plan\n", floors[i].fileName.c_str());
            status = 1;
            continue;
        }
        printParseReport(image->parseErrorsAndWarnings());
        auto root = image->CALayerTree();
        if (!root) continue;
        printLayer(*root, 1);
        if (options->hit) {
            auto hit = root->hitTest(*options->hit);
            std::printf("hit %g,%g: %s\n", options->hit->x, options->hit->y,
                        hit ? (hit->className() + " " + text(hit->name())).c_str() : "nothing");
        }
        if (options->exportStatements) {
            auto view = std::make_shared<uikit::UIView>(root->frame());
            view->layer()->addSublayer(svg::cloneRecursively(*root));
            StatementPrinter printer;
            svg::CALayerExporter exporter(view);
            exporter.setDelegate(&printer);
            exporter.startExport();
        }
        // The first floor only: one picture per run.
        if (options->png && i == 0 && !writePNG(image, *options->png)) status = 1;
    }
    svg::SVGMapFolder::registerMapFolder(nullptr);
    std::fflush(stdout);
    return status;
}

}  // namespace tools
