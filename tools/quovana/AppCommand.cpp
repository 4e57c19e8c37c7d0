// "app": the application itself, in-process and headless, driven by a
// script of a person's actions. Without --service the local meeting service
// runs in-process with the bundled demo meeting (or a smaller one), as the
// demo does; without --home a fresh home is made and locked.
//
// After the launch and after each command the main run loop settles, then
// the mode prints the command, the screen dump, the app's log lines and the
// analytics events since the previous command (and writes a screenshot when
// asked). Alerts stay on screen until a command answers them. A command
// whose target is missing prints an error and changes nothing (exit status
// 1 at the end); a bad command prints its usage (exit status 2); the script
// runs on either way.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

#include "analytics/AnalyticsUtils.h"
#include "eventkit/EKEventStore.h"
#include "uikit/UITableViewCell.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/NetworkConditions.h"
#include "foundation/RunLoop.h"
#include "foundation/TimeZone.h"
#include "Utils/Utils.h"
#include "app/AppDelegate.h"
#include "app/EventLoader.h"
#include "programme/AddPersonalEntryViewController.h"
#include "api/ApplicationService.h"
#include "api/QVAApiManager.h"
#include "api/Updater.h"
#include "http/QNDeviceEnvironment.h"
#include "http/QNNetworkActivityIndicatorManager.h"
#include "lists/DetailsScreenSupport.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"
#include "location/CLBeacon.h"
#include "location/CLLocationInjector.h"
#include "location/CLLocationManager.h"
#include "addressbook/ABPersonViewControllers.h"
#include "messageui/MFMailComposeViewController.h"
#include "uikit/UINavigationController.h"
#include "network/Reachability.h"
#include "quovana/AppOptions.h"
#include "quovana/AppScript.h"
#include "quovana/Cli.h"
#include "quovana/Commands.h"
#include "quovana/DeviceCalendar.h"
#include "quovana/FreshHome.h"
#include "quovana/Gallery.h"
#include "quovana/HomeLock.h"
#include "quovana/KeptLocalService.h"
#include "quovana/LocalServiceState.h"
#include "quovana/MaskedAddresses.h"
#include "quovana/ServiceRoot.h"
#include "quovana/StoreFiles.h"
#include "service/MeetingGenerator.h"
#include "settings/ApplicationSettingsStore.h"
#include "service/MeetingService.h"
#include "uikit/AlertStack.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenDriver.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIApplication.h"
#include "uikit/UIApplicationDelegate.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

namespace quovana {

namespace {

const char* const kAppHelp =
    "Usage: quovana [--service URL] [--home DIR] [--languages L] app [options] [--script FILE]\n"
    "Options:\n"
    "  --idiom phone|pad              the device (QVA_DEVICE_IDIOM, else phone)\n"
    "  --screen 375x667@2             screen size in points (up to 4096) and scale (up to 8); points x scale\n"
    "                                 x shots scale at most 16384\n"
    "  --orientation portrait|landscape\n"
    "  --system-version V  --model NAME\n"
    "  --zone NAME                    the device's time zone\n"
    "  --clock INSTANT                a virtual clock from e.g. 2015-03-10T09:30:00+01:00\n"
    "  --reachability none|wifi|wwan  the device's network (none: every request fails, as offline)\n"
    "  --gallery                      show the gallery of stock controls\n"
    "  --generate SESSIONS,PARTICIPANTS   a smaller meeting, 1,2 to 20000,99999 (local service only)\n"
    "  --fault METHOD PATH STATUS|stall   the local service fails (or holds) that call (repeatable)\n"
    "  --ranging on|off  --location-services on|off  --location-authorization N (0..4)\n"
    "  --calendar TITLE               a device calendar made before the launch, beside the device's\n"
    "                                 own \"Calendar\" (repeatable)\n"
    "  --shots DIR  --shots-scale N   a screenshot of every printed state (exit status 1 if one is lost)\n"
    "  --script FILE                  the commands (else standard input)\n"
    "Commands, one a line (# starts a comment; \"double quotes\" hold blanks):\n"
    "  open IDENTIFIER [--object ENTITY ID]\n"
    "  tap row S R [--search] | tap button TEXT | tap item TEXT | tap tab N | tap at X,Y | tap outlet [S R] NAME\n"
    "  delete row S R                   (a swipe to delete)\n"
    "  alert BUTTON (title or index)    link URL\n"
    "  type FIELD TEXT | clear FIELD | return FIELD   (placeholder or outlet name)\n"
    "  search TEXT | scope N | end-search   (the front screen's search bar)\n"
    "  segment N   (the bar's segmented control, else the front screen's first)\n"
    "  switch S R on|off | pick ROW|DATE | swipe left|right [X,Y] | pull | scroll [X,]Y [--view OUTLET]\n"
    "  back | dismiss (a popover or menu) | master | detail | rotate portrait|landscape | reachability none|wifi|wwan\n"
    "  openable none|SCHEME[,SCHEME...]   the addresses the system can open (http,https,mailto,tel)\n"
    "  background | foreground | memory-warning | mail sent|saved|cancelled|failed\n"
    "  contact save|cancel (the new-contact screen) | contact refuse|allow (the address book's access)\n"
    "  region enter|exit ID | region-state ID inside|outside|unknown | range-fail ID\n"
    "  range ID [MAJOR:MINOR:ACCURACY[:unknown|immediate|near|far] ...] | location LAT,LON ACCURACY [AGE] | location-fail\n"
    "  advance SECONDS | settle | dump | shot NAME | quit\n";

// What a command did.
enum class Outcome { Done, Missing, Usage, Quit };

struct Result {
    Outcome outcome = Outcome::Done;
    std::string message;
};

Result done() { return {}; }
Result missing(std::string message) { return {Outcome::Missing, std::move(message)}; }
Result usage(std::string synopsis) { return {Outcome::Usage, "usage: " + std::move(synopsis)}; }
Result found(bool existed, std::string message) { return existed ? done() : missing(std::move(message)); }

// Where the local service offers the newest build: the running one, so the
// launch's update check ends quietly without leaving the machine.
constexpr const char* kLocalVersionFilePath = "/builds/version.json";

// Everything the mode changes in the process, put back when it ends, so that
// a run inside the tests leaves the process as it found it.
class ProcessState {
public:
    ProcessState()
        : profile_(uikit::DeviceProfile::current()),
          zone_(foundation::TimeZone::local()),
          virtualClock_(foundation::Clock::isVirtual()),
          then_(foundation::Clock::now()),
          offline_(foundation::NetworkConditions::isOffline()),
          calendarAccess_(eventkit::EKEventStore::authorizationStatusForEntityType(eventkit::EKEntityType::Event)) {}
    ~ProcessState() {
        uikit::ScreenDriver::clearBusyPredicates();
        uikit::UIApplication::sharedApplication().resetForTests();
        uikit::DeviceProfile::apply(profile_);
        QNDeviceEnvironment::adoptCurrentDevice();
        network::Reachability::setSimulatedFlags(std::nullopt);
        foundation::NetworkConditions::setOffline(offline_);
        location::CLLocationManager::resetClassSwitches();
        Updater::setVersionFileURL(std::nullopt);
        foundation::TimeZone::setDefault(zone_);
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event, calendarAccess_);
        if (virtualClock_)
            foundation::Clock::useVirtual(then_);
        else if (foundation::Clock::isVirtual())
            foundation::Clock::useReal();
    }
    ProcessState(const ProcessState&) = delete;
    ProcessState& operator=(const ProcessState&) = delete;

private:
    uikit::DeviceProfile profile_;
    foundation::TimeZone zone_;
    bool virtualClock_;
    double then_;
    bool offline_;
    eventkit::EKAuthorizationStatus calendarAccess_;
};

std::optional<network::ReachabilityFlags> reachabilityFlags(const std::string& word) {
    namespace Flag = network::ReachabilityFlag;
    if (word == "none") return network::ReachabilityFlags(0);
    if (word == "wifi") return Flag::Reachable;
    if (word == "wwan") return Flag::Reachable | Flag::IsWWAN;
    return std::nullopt;
}

// The device's network as the app reads it and as its requests meet it:
// without one, every request fails as on a phone with no connection, those
// to the local service on this machine included.
void simulateAppNetwork(network::ReachabilityFlags flags) {
    network::Reachability::setSimulatedFlags(flags);
    foundation::NetworkConditions::setOffline((flags & network::ReachabilityFlag::Reachable) == 0);
}

std::optional<double> parseDecimal(const std::string& text) {
    auto pair = parsePair("0," + text);
    if (!pair) return std::nullopt;
    return pair->second;
}

std::optional<int64_t> parseIndex(const std::string& text) {
    auto value = parseWhole(text);
    if (!value) return std::nullopt;
    return static_cast<int64_t>(*value);
}

// "MAJOR:MINOR:ACCURACY[:PROXIMITY]"; without a proximity, ours from the
// accuracy (negative: unknown; below 0.5 m immediate; below 3 m near; else far).
location::CLBeaconPtr parseBeacon(const std::string& text, const std::string& proximityUUID) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (parts.size() < 3 || parts.size() > 4) return nullptr;
    auto major = parseWhole(parts[0]);
    auto minor = parseWhole(parts[1]);
    auto accuracy = parsePair("0," + parts[2]);
    if (!major || !minor || !accuracy || *major < 0 || *major > 65535 || *minor < 0 || *minor > 65535) return nullptr;
    using location::CLProximity;
    static const std::map<std::string, CLProximity> kProximities = {{"unknown", CLProximity::Unknown},
                                                                    {"immediate", CLProximity::Immediate},
                                                                    {"near", CLProximity::Near},
                                                                    {"far", CLProximity::Far}};
    const double metres = accuracy->second;
    CLProximity proximity = metres < 0 ? CLProximity::Unknown
                            : metres < 0.5 ? CLProximity::Immediate
                            : metres < 3 ? CLProximity::Near
                                         : CLProximity::Far;
    if (parts.size() == 4) {
        auto named = kProximities.find(parts[3]);
        if (named == kProximities.end()) return nullptr;
        proximity = named->second;
    }
    return location::CLBeacon::create(proximityUUID, static_cast<int>(*major), static_cast<int>(*minor), proximity,
                                      metres);
}

// The proximity UUID of the region a live manager ranges under that identifier.
std::string rangedRegionUUID(const std::string& identifier) {
    for (const auto& manager : location::CLLocationManager::liveManagers())
        if (auto region = manager->rangedRegionWithIdentifier(identifier)) return region->proximityUUID();
    return {};
}

class AppSession {
public:
    AppSession(CommandContext& context, const AppOptions& options) : context_(context), options_(options) {}

    std::ostream& out() { return context_.out(); }

    // Settles and prints the state after the launch.
    void printState(const std::string& word) {
        if (!driver_.settle()) out() << "note: the app did not settle within 30 s\n";
        printSettledState(word);
    }

    // Settles the screen after a command; what the app raised meanwhile (in
    // a task the command set going) comes back as its text, and the rest
    // still runs.
    std::optional<std::string> settle() {
        std::optional<std::string> raised;
        // A bound, should a repeating task raise every time.
        for (int attempt = 0; attempt < 3; ++attempt) {
            try {
                if (!driver_.settle()) out() << "note: the app did not settle within 30 s\n";
                break;
            } catch (const foundation::Exception& exception) {
                if (!raised) raised = exception.what();
            }
        }
        return raised;
    }

    void printSettledState(const std::string& word) {
        // Nothing in flight: the indicator's hide, waiting on a clock that
        // moves only when told to, happens now, so each run prints the same.
        if (foundation::Clock::isVirtual()) QNNetworkActivityIndicatorManager::sharedManager().finishPendingHide();
        auto window = uikit::UIApplication::sharedApplication().keyWindow();
        out() << uikit::describe(*window);
        if (options_.shotsDirectory) {
            std::ostringstream name;
            name << std::setw(3) << std::setfill('0') << ++shots_ << "-" << word << ".png";
            if (!writeShot(*options_.shotsDirectory, name.str())) shotsLost_ = true;
        }
        printLog();
        printOpenedURLs();
        printEvents();
        out().flush();
    }

    // One command line; the exit status it asks for.
    int run(const AppScriptLine& line) {
        out() << "\n== " << line.text.substr(line.text.find_first_not_of(" \t")) << " ==\n";
        if (!line.problem.empty()) {
            out() << "usage: line " << line.number << ": " << line.problem << "\n";
            return kExitUsage;
        }
        Result result;
        try {
            result = execute(line);
        } catch (const foundation::Exception& exception) {
            result = missing(std::string("the app raised an exception: ") + exception.what());
        }
        // What the command set going fails it too; the script runs on.
        if (result.outcome == Outcome::Done || result.outcome == Outcome::Missing)
            if (auto raised = settle(); raised && result.outcome == Outcome::Done)
                result = missing("the app raised an exception: " + *raised);
        switch (result.outcome) {
            case Outcome::Quit:
                quit_ = true;
                return kExitSuccess;
            case Outcome::Usage:
                out() << result.message << "\n";
                return kExitUsage;
            case Outcome::Missing:
                if (coveredByAlert(line.words.front()))
                    result.message = "an alert is open: answer it with \"alert BUTTON\"";
                out() << "error: " << result.message << "\n";
                printSettledState(line.words.front());
                return kExitFailure;
            case Outcome::Done:
                printSettledState(line.words.front());
                return kExitSuccess;
        }
        return kExitSuccess;
    }

    bool quit() const { return quit_; }
    // Whether a screenshot --shots asked for could not be written.
    bool shotsLost() const { return shotsLost_; }

    // Whether the command acts on what an open alert covers (its target is
    // out of reach then, whatever else is missing).
    static bool coveredByAlert(const std::string& word) {
        static const std::set<std::string> kReachThroughAlerts = {"alert", "mail", "rotate", "advance", "settle",
                                                                  "dump", "shot", "quit", "reachability", "background",
                                                                  "foreground", "memory-warning", "region",
                                                                  "region-state", "range", "range-fail", "location",
                                                                  "location-fail", "master", "detail"};
        return uikit::AlertStack::shared().front() && !kReachThroughAlerts.count(word);
    }

    // What the app logged after the last printed state (while quitting).
    void finish() { printLog(); }

    // What the launch or the last command started (a delta, a write) ends
    // before the run gives the clock back: what cannot end (a call the
    // service holds) is cancelled, and its completion runs, under the run's
    // clock, so nothing the app stores takes the real time.
    void endWorkInFlight() {
        driver_.settle();
        QVAApiManager::sharedApiManager().cancelAllHTTPOperationTasks();
        driver_.settle();
    }

    // Events an earlier run on this home left queued are not this run's: the
    // queue is read as the launch will find it (this home's archive).
    void skipQueuedEvents() {
        AnalyticsUtils::initializeAnalytics();
        eventsSeen_ = AnalyticsUtils::queuedEvents().size();
    }

private:
    using Handler = std::function<Result(AppSession&, const AppScriptLine&)>;

    Result execute(const AppScriptLine& line) {
        static const std::map<std::string, Handler> kHandlers = {
            {"open", &AppSession::open},
            {"tap", &AppSession::tap},
            {"delete", &AppSession::deleteRow},
            {"alert", &AppSession::alert},
            {"link", &AppSession::link},
            {"type", &AppSession::type},
            {"clear", &AppSession::clear},
            {"return", &AppSession::pressReturn},
            {"search", &AppSession::search},
            {"scope", &AppSession::scope},
            {"segment", &AppSession::segment},
            {"end-search", &AppSession::endSearch},
            {"switch", &AppSession::toggle},
            {"pick", &AppSession::pick},
            {"swipe", &AppSession::swipe},
            {"pull", &AppSession::pull},
            {"scroll", &AppSession::scroll},
            {"back", &AppSession::back},
            {"dismiss", &AppSession::dismiss},
            {"master", &AppSession::side},
            {"detail", &AppSession::side},
            {"rotate", &AppSession::rotate},
            {"reachability", &AppSession::reachability},
            {"openable", &AppSession::openable},
            {"background", &AppSession::lifecycle},
            {"foreground", &AppSession::lifecycle},
            {"memory-warning", &AppSession::lifecycle},
            {"mail", &AppSession::mail},
            {"contact", &AppSession::contact},
            {"region", &AppSession::region},
            {"region-state", &AppSession::regionState},
            {"range", &AppSession::range},
            {"range-fail", &AppSession::rangeFail},
            {"location", &AppSession::locationFix},
            {"location-fail", &AppSession::locationFail},
            {"advance", &AppSession::advance},
            {"settle", &AppSession::nothing},
            {"dump", &AppSession::nothing},
            {"shot", &AppSession::shot},
            {"quit", &AppSession::quitCommand},
        };
        auto handler = kHandlers.find(line.words.front());
        if (handler == kHandlers.end())
            return {Outcome::Usage, "unknown command \"" + line.words.front() + "\"\n" + kAppHelp};
        return handler->second(*this, line);
    }

    Result open(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis = "open IDENTIFIER [--object ENTITY ID]";
        std::optional<std::pair<std::string, std::string>> object;
        if (w.size() == 5 && w[2] == "--object")
            object = std::make_pair(w[3], w[4]);
        else if (w.size() != 2)
            return usage(synopsis);
        if (w[1] == "?") {
            // The scenes a script can open, one storyboard a line.
            for (const auto& name : {Utils::storyboardName(), std::string(kGalleryStoryboardName)})
                if (uikit::UIStoryboard::hasStoryboardNamed(name))
                    out() << "scenes of " << name << ": " << scenesOf(name) << "\n";
            return done();
        }
        switch (driver_.openScene(w[1], {Utils::storyboardName(), kGalleryStoryboardName}, object)) {
            case uikit::ScreenDriver::OpenResult::Opened: return done();
            case uikit::ScreenDriver::OpenResult::UnknownScene: return missing("no scene \"" + w[1] + "\"" + knownScenes());
            case uikit::ScreenDriver::OpenResult::NoSuchObject:
                return missing("no " + object->first + " " + object->second + " in the store");
            case uikit::ScreenDriver::OpenResult::TakesNoObject:
                return missing("the scene \"" + w[1] + "\" takes no object");
            case uikit::ScreenDriver::OpenResult::NoHandOver:
                return missing("no hand-over of objects is registered");
            case uikit::ScreenDriver::OpenResult::OutOfReach:
                return missing("the front screen is hidden (a split view's master pane in portrait): "
                               "nothing opens over it");
        }
        return done();
    }

    // "; the scenes of NAME: ..." for each storyboard the mode opens scenes
    // from, on the error's line.
    static std::string knownScenes() {
        std::string text;
        for (const auto& name : {Utils::storyboardName(), std::string(kGalleryStoryboardName)})
            if (uikit::UIStoryboard::hasStoryboardNamed(name)) text += "; the scenes of " + name + ": " + scenesOf(name);
        return text;
    }

    static std::string scenesOf(const std::string& storyboard) {
        std::string scenes;
        for (const auto& identifier : uikit::UIStoryboard::storyboardWithName(storyboard)->sceneIdentifiers())
            scenes += (scenes.empty() ? "" : ", ") + identifier;
        return scenes;
    }

    // Why no button of that title was tapped: none (perhaps a bar item of
    // that title), none within reach, or several, listed so that a person
    // can pick one.
    Result buttonNotTapped(const std::string& title) {
        auto places = driver_.buttonsTitled(title);
        std::string outOfReach;
        std::erase_if(places, [&](const uikit::ScreenDriver::ButtonPlace& place) {
            if (!place.outOfReach.empty()) outOfReach += (outOfReach.empty() ? "" : ", ") + place.outOfReach;
            return !place.outOfReach.empty();
        });
        if (places.empty() && !outOfReach.empty())
            return missing("the button \"" + title + "\" is out of reach: " + outOfReach);
        if (places.size() > 1) {
            std::string text = std::to_string(places.size()) + " buttons \"" + title + "\" on the front screen:";
            for (const auto& place : places) {
                text += "\n  at " + std::to_string(std::lround(place.point.x)) + "," +
                        std::to_string(std::lround(place.point.y));
                if (place.row) text += " in row " + std::to_string(place.row->first) + " " + std::to_string(place.row->second);
            }
            return missing(text + "\n  pick one with \"tap at X,Y\"");
        }
        if (driver_.hasItem(title))
            return missing("no button \"" + title + "\"; the bar has an item \"" + title + "\": \"tap item " + title + "\"");
        return missing("no button \"" + title + "\"");
    }

    Result tap(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis =
            "tap row S R [--search] | tap button TEXT | tap item TEXT | tap tab N | tap at X,Y | tap outlet [S R] NAME";
        if (w.size() < 3) return usage(synopsis);
        if (w[1] == "row") {
            const bool inResults = w.size() == 5 && w[4] == "--search";
            const bool shape = w.size() == 4 || inResults;
            auto section = shape ? parseIndex(w[2]) : std::nullopt;
            auto row = shape ? parseIndex(w[3]) : std::nullopt;
            if (!section || !row) return usage(synopsis);
            if (inResults)
                return found(driver_.tapSearchResultRow(*section, *row),
                             "no row " + w[2] + " " + w[3] + " in the front screen's search results");
            return found(driver_.tapRow(*section, *row),
                         "no row " + w[2] + " " + w[3] + " on the front screen's table");
        }
        if (w[1] == "button") return driver_.tapButton(line.wordsFrom(2)) ? done() : buttonNotTapped(line.wordsFrom(2));
        if (w[1] == "item") return found(driver_.tapItem(line.wordsFrom(2)), "no bar button item \"" + line.wordsFrom(2) + "\"");
        if (w[1] == "tab") {
            auto index = w.size() == 3 ? parseIndex(w[2]) : std::nullopt;
            if (!index) return usage(synopsis);
            return found(driver_.tapTab(*index), "no tab " + w[2]);
        }
        if (w[1] == "at") {
            auto point = w.size() == 3 ? parsePair(w[2]) : std::nullopt;
            if (!point) return usage(synopsis);
            return found(driver_.tapAt({point->first, point->second}), "nothing to tap at " + w[2]);
        }
        if (w[1] == "outlet" && w.size() == 5) {
            auto section = parseIndex(w[2]);
            auto row = parseIndex(w[3]);
            if (!section || !row) return usage(synopsis);
            auto cell = driver_.cellInView(*section, *row, w[4]);
            if (!cell) return missing("no row " + w[2] + " " + w[3] + " on the front screen's table");
            auto point = outletCentre(w[4], cell);
            if (!point) return missing("no outlet \"" + w[4] + "\" in row " + w[2] + " " + w[3]);
            return found(driver_.tapAt(*point), "nothing to tap at the outlet \"" + w[4] + "\"");
        }
        if (w[1] == "outlet") {
            if (w.size() != 3) return usage(synopsis);
            auto point = outletCentre(w[2]);
            if (!point) return missing("no outlet \"" + w[2] + "\" to tap on the screen");
            return found(driver_.tapAt(*point), "nothing to tap at the outlet \"" + w[2] + "\"");
        }
        return usage(synopsis);
    }

    // The centre, in the window, of the top-most (then left-most) view with
    // that outlet name that a tap at its centre reaches (the view itself, or
    // up to the row holding it); none when there is none.
    // Within `within` (a row) when given.
    static std::optional<graphics::Point> outletCentre(const std::string& name, const uikit::UIViewPtr& within = nullptr) {
        auto window = uikit::UIApplication::sharedApplication().keyWindow();
        if (!window) return std::nullopt;
        auto reachable = [&](const uikit::UIViewPtr& view, graphics::Point centre) {
            auto hit = window->hitTest(centre);
            for (auto v = view; v && hit; v = v->superview()) {
                if (v == hit) return true;
                if (std::dynamic_pointer_cast<uikit::UITableViewCell>(v)) break;
            }
            return false;
        };
        std::optional<graphics::Point> found;
        std::function<void(const uikit::UIViewPtr&)> find = [&](const uikit::UIViewPtr& view) {
            if (!view || view->isHidden()) return;
            if (view->outletName() == name) {
                const auto bounds = view->bounds();
                const auto centre = view->convertPointToView(
                    {bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2}, nullptr);
                const bool higher = !found || centre.y < found->y || (centre.y == found->y && centre.x < found->x);
                if (higher && reachable(view, centre)) found = centre;
            }
            for (const auto& child : view->subviews()) find(child);
        };
        find(within ? within : window);
        return found;
    }

    Result deleteRow(const AppScriptLine& line) {
        const auto& w = line.words;
        auto section = w.size() == 4 && w[1] == "row" ? parseIndex(w[2]) : std::nullopt;
        auto row = w.size() == 4 && w[1] == "row" ? parseIndex(w[3]) : std::nullopt;
        if (!section || !row) return usage("delete row S R");
        return found(driver_.deleteRow(*section, *row),
                     "no row " + w[2] + " " + w[3] + " that can be deleted on the front screen's table");
    }

    Result alert(const AppScriptLine& line) {
        if (line.words.size() < 2) return usage("alert BUTTON (title or index)");
        const std::string button = line.wordsFrom(1);
        return found(driver_.answerAlert(button), "no alert or action sheet with a button \"" + button + "\"");
    }

    Result link(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("link URL");
        const std::string& url = line.words[1];
        return found(driver_.clickLink(url), "no link to " + url + " in the front web view");
    }

    Result type(const AppScriptLine& line) {
        if (line.words.size() < 3) return usage("type FIELD TEXT");
        return found(driver_.typeText(line.words[1], line.wordsFrom(2)), "no field \"" + line.words[1] + "\"");
    }

    Result clear(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("clear FIELD");
        return found(driver_.clearField(line.words[1]), "no field \"" + line.words[1] + "\"");
    }

    Result pressReturn(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("return FIELD");
        return found(driver_.pressReturn(line.words[1]), "no field \"" + line.words[1] + "\"");
    }

    Result search(const AppScriptLine& line) {
        if (line.words.size() < 2) return usage("search TEXT");
        const std::string text = line.wordsFrom(1);
        return found(driver_.search(text), "no search bar that takes input on the front screen");
    }

    Result scope(const AppScriptLine& line) {
        auto index = line.words.size() == 2 ? parseIndex(line.words[1]) : std::nullopt;
        if (!index) return usage("scope N");
        return found(driver_.scope(*index), "no scope " + line.words[1] + " on the front screen's search bar");
    }

    Result segment(const AppScriptLine& line) {
        auto index = line.words.size() == 2 ? parseIndex(line.words[1]) : std::nullopt;
        if (!index) return usage("segment N");
        return found(driver_.segment(*index), "no segment " + line.words[1] + " on the front screen");
    }

    Result endSearch(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("end-search");
        return found(driver_.endSearch(), "no search under way on the front screen");
    }

    Result toggle(const AppScriptLine& line) {
        const auto& w = line.words;
        auto section = w.size() == 4 ? parseIndex(w[1]) : std::nullopt;
        auto row = w.size() == 4 ? parseIndex(w[2]) : std::nullopt;
        if (!section || !row || (w[3] != "on" && w[3] != "off")) return usage("switch S R on|off");
        return found(driver_.setSwitch(*section, *row, w[3] == "on"), "no switch in row " + w[1] + " " + w[2]);
    }

    Result pick(const AppScriptLine& line) {
        if (line.words.size() == 2 && line.words[1].find('T') != std::string::npos) {
            auto instant = parseInstant(line.words[1]);
            if (!instant) return usage("pick DATE (an instant such as 2015-03-10T09:30:00+01:00)");
            return found(driver_.pickDate(foundation::Date(*instant)), "no date picker to choose " + line.words[1]);
        }
        auto row = line.words.size() == 2 ? parseIndex(line.words[1]) : std::nullopt;
        if (!row) return usage("pick ROW | pick DATE");
        return found(driver_.pickRow(*row), "no picker row " + line.words[1]);
    }

    Result swipe(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis = "swipe left|right [X,Y]";
        if (w.size() < 2 || w.size() > 3 || (w[1] != "left" && w[1] != "right")) return usage(synopsis);
        std::optional<graphics::Point> point;
        if (w.size() == 3) {
            auto pair = parsePair(w[2]);
            if (!pair) return usage(synopsis);
            point = graphics::Point{pair->first, pair->second};
        }
        auto direction =
            w[1] == "left" ? uikit::ScreenDriver::SwipeDirection::Left : uikit::ScreenDriver::SwipeDirection::Right;
        return found(driver_.swipe(direction, point), "nothing to swipe " + w[1]);
    }

    Result pull(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("pull");
        return found(driver_.pull(), "no table to pull on the front screen");
    }

    Result scroll(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis = "scroll [X,]Y [--view OUTLET]";
        std::optional<std::string> outlet;
        if (w.size() == 4 && w[2] == "--view")
            outlet = w[3];
        else if (w.size() != 2)
            return usage(synopsis);
        std::optional<double> x;
        std::optional<double> y;
        if (w[1].find(',') != std::string::npos) {
            if (auto pair = parsePair(w[1])) x = pair->first, y = pair->second;
        } else {
            y = parseDecimal(w[1]);
        }
        if (!y) return usage(synopsis);
        return found(driver_.scroll(x, *y, outlet),
                     outlet ? "no scroll view \"" + *outlet + "\"" : std::string("nothing to scroll on the front screen"));
    }

    Result back(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("back");
        return found(driver_.back(), "no back button on the front screen");
    }

    Result dismiss(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("dismiss");
        return found(driver_.dismissPopover(), "no popover or menu is open");
    }

    Result side(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage(line.words.front());
        driver_.setSide(line.words.front() == "master" ? uikit::ScreenDriver::Side::Master
                                                       : uikit::ScreenDriver::Side::Detail);
        return done();
    }

    Result rotate(const AppScriptLine& line) {
        const auto& w = line.words;
        if (w.size() != 2 || (w[1] != "portrait" && w[1] != "landscape")) return usage("rotate portrait|landscape");
        return found(driver_.rotate(w[1] == "portrait" ? uikit::UIDeviceOrientation::Portrait
                                                       : uikit::UIDeviceOrientation::LandscapeLeft),
                     "the screen cannot turn " + w[1]);
    }

    Result reachability(const AppScriptLine& line) {
        auto flags = line.words.size() == 2 ? reachabilityFlags(line.words[1]) : std::nullopt;
        if (!flags) return usage("reachability none|wifi|wwan");
        simulateAppNetwork(*flags);
        return done();
    }

    // The schemes of the addresses the system says it can open.
    Result openable(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("openable none|SCHEME[,SCHEME...]");
        std::vector<std::string> schemes;
        if (line.words[1] != "none") {
            std::istringstream list(line.words[1]);
            for (std::string scheme; std::getline(list, scheme, ',');)
                if (!scheme.empty()) schemes.push_back(scheme);
        }
        uikit::UIApplication::sharedApplication().setOpenableURLSchemes(std::move(schemes));
        return done();
    }

    Result lifecycle(const AppScriptLine& line) {
        const std::string& word = line.words.front();
        if (line.words.size() != 1) return usage(word);
        auto& application = uikit::UIApplication::sharedApplication();
        if (word == "background") {
            application.enterBackground();
            // Nothing waits in the background here: the time the system
            // grants runs out at once.
            application.expireBackgroundTasks();
        }
        if (word == "foreground") application.enterForeground();
        if (word == "memory-warning") application.simulateMemoryWarning();
        return done();
    }

    Result mail(const AppScriptLine& line) {
        static const std::map<std::string, messageui::MFMailComposeResult> kResults = {
            {"sent", messageui::MFMailComposeResult::Sent},
            {"saved", messageui::MFMailComposeResult::Saved},
            {"cancelled", messageui::MFMailComposeResult::Cancelled},
            {"failed", messageui::MFMailComposeResult::Failed},
        };
        auto result = line.words.size() == 2 ? kResults.find(line.words[1]) : kResults.end();
        if (result == kResults.end()) return usage("mail sent|saved|cancelled|failed");
        // The composer is the front of the presented chain, whichever
        // screen presented it (a tab's child, a popover's content).
        auto composer = std::dynamic_pointer_cast<messageui::MFMailComposeViewController>(driver_.frontViewController());
        if (!composer || composer->isFinished()) return missing("no mail composer is open");
        composer->finishWithResult(result->second);
        return done();
    }

    Result contact(const AppScriptLine& line) {
        const bool save = line.words.size() == 2 && line.words[1] == "save";
        // The person's answer to the app's access, as the device keeps it:
        // refused, the book opens for nobody until allowed again.
        if (line.words.size() == 2 && (line.words[1] == "refuse" || line.words[1] == "allow")) {
            addressbook::ABAddressBookSetOpeningFails(line.words[1] == "refuse");
            return done();
        }
        if (line.words.size() != 2 || (!save && line.words[1] != "cancel"))
            return usage("contact save|cancel|refuse|allow");
        // The new-person form is the front of the presented chain, inside its navigation controller.
        auto front = driver_.frontViewController();
        if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(front))
            front = navigation->topViewController();
        auto form = std::dynamic_pointer_cast<addressbook::ABNewPersonViewController>(front);
        if (!form || form->isCompleted()) return missing("no new-contact screen is open");
        if (save)
            form->save();
        else
            form->cancel();
        return done();
    }

    Result region(const AppScriptLine& line) {
        const auto& w = line.words;
        if (w.size() != 3 || (w[1] != "enter" && w[1] != "exit")) return usage("region enter|exit ID");
        if (location::CLLocationInjector::managersMonitoring(w[2]) == 0)
            return missing("no location manager monitors the region \"" + w[2] + "\"");
        if (w[1] == "enter")
            location::CLLocationInjector::enterRegion(w[2]);
        else
            location::CLLocationInjector::exitRegion(w[2]);
        return done();
    }

    Result regionState(const AppScriptLine& line) {
        static const std::map<std::string, location::CLRegionState> kStates = {
            {"inside", location::CLRegionState::Inside},
            {"outside", location::CLRegionState::Outside},
            {"unknown", location::CLRegionState::Unknown},
        };
        const auto& w = line.words;
        auto state = w.size() == 3 ? kStates.find(w[2]) : kStates.end();
        if (state == kStates.end()) return usage("region-state ID inside|outside|unknown");
        if (location::CLLocationInjector::managersMonitoring(w[1]) == 0)
            return missing("no location manager monitors the region \"" + w[1] + "\"");
        location::CLLocationInjector::determineState(w[1], state->second);
        return done();
    }

    Result range(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis = "range ID [MAJOR:MINOR:ACCURACY[:PROXIMITY] ...]";
        if (w.size() < 2) return usage(synopsis);
        const std::string uuid = rangedRegionUUID(w[1]);
        std::vector<location::CLBeaconPtr> beacons;
        for (size_t i = 2; i < w.size(); ++i) {
            auto beacon = parseBeacon(w[i], uuid);
            if (!beacon) return usage(synopsis);
            beacons.push_back(std::move(beacon));
        }
        if (location::CLLocationInjector::managersRanging(w[1]) == 0)
            return missing("no location manager ranges the region \"" + w[1] + "\"");
        location::CLLocationInjector::rangeBeacons(w[1], std::move(beacons));
        return done();
    }

    Result rangeFail(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("range-fail ID");
        if (location::CLLocationInjector::managersRanging(line.words[1]) == 0)
            return missing("no location manager ranges the region \"" + line.words[1] + "\"");
        location::CLLocationInjector::failRanging(line.words[1]);
        return done();
    }

    Result locationFix(const AppScriptLine& line) {
        const auto& w = line.words;
        const char* synopsis = "location LAT,LON ACCURACY [AGE]";
        if (w.size() != 3 && w.size() != 4) return usage(synopsis);
        auto coordinate = parsePair(w[1]);
        auto accuracy = parseDecimal(w[2]);
        auto age = w.size() == 4 ? parseDecimal(w[3]) : std::optional<double>(0);
        if (!coordinate || !accuracy || !age || *age < 0) return usage(synopsis);
        if (location::CLLocationInjector::managersUpdatingLocation() == 0)
            return missing("no location manager updates locations");
        location::CLLocationInjector::updateLocation({coordinate->first, coordinate->second}, *accuracy, *age);
        return done();
    }

    Result locationFail(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("location-fail");
        if (location::CLLocationInjector::managersUpdatingLocation() == 0)
            return missing("no location manager updates locations");
        location::CLLocationInjector::failLocation();
        return done();
    }

    Result advance(const AppScriptLine& line) {
        static constexpr double kAdvanceStep = 0.05;
        auto seconds = line.words.size() == 2 ? parseDecimal(line.words[1]) : std::nullopt;
        if (!seconds || *seconds < 0) return usage("advance SECONDS");
        if (foundation::Clock::isVirtual()) {
            // In small steps, as time passes for a person: what one piece of
            // work starts on the way (an animation after a delay, a timer it
            // sets) also runs within the span.
            auto& loop = foundation::RunLoop::main();
            const double target = foundation::Clock::now() + *seconds;
            loop.runDueTasks();
            // (Rounding may leave the clock a hair short of the target.)
            for (double now = foundation::Clock::now(); target - now > 1e-6; now = foundation::Clock::now()) {
                foundation::Clock::advance(std::min(kAdvanceStep, target - now));
                loop.runDueTasks();
            }
        } else {
            // On the real clock the app runs for that long, as a person waits.
            foundation::RunLoop::main().runUntilWoken([] { return false; }, *seconds);
        }
        return done();
    }

    Result nothing(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage(line.words.front());
        return done();
    }

    Result shot(const AppScriptLine& line) {
        if (line.words.size() != 2) return usage("shot NAME");
        std::string name = line.words[1];
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png") name += ".png";
        if (!writeShot(options_.shotsDirectory.value_or("."), name)) return missing("the screenshot was not written");
        return done();
    }

    Result quitCommand(const AppScriptLine& line) {
        if (line.words.size() != 1) return usage("quit");
        return {Outcome::Quit, {}};
    }

    bool writeShot(const std::string& directory, const std::string& name) {
        std::error_code ignored;
        std::filesystem::create_directories(directory, ignored);
        const std::string path = (std::filesystem::path(directory) / name).string();
        auto window = uikit::UIApplication::sharedApplication().keyWindow();
        if (auto error = uikit::writeScreenshot(*window, path, options_.shotsScale)) {
            out() << "error: cannot write " << path << ": " << describeError(error) << "\n";
            return false;
        }
        out() << "shot " << name << "\n";
        return true;
    }

    // Each line of what the app logged (a logged text may hold several).
    void printLog() {
        auto texts = context_.takeLog();
        // The download's calls run side by side and log as they finish, in
        // any order: under the virtual clock a step's lines print in the
        // order of their text, so the same script prints the same text.
        if (foundation::Clock::isVirtual()) std::stable_sort(texts.begin(), texts.end());
        for (const auto& logged : texts) {
            std::istringstream lines(logged);
            for (std::string line; std::getline(lines, line);)
                if (!line.empty()) out() << "log: " << maskedAddresses(line) << "\n";
        }
    }

    // The addresses the app opened since the previous state.
    void printOpenedURLs() {
        auto opened = uikit::UIApplication::sharedApplication().openedURLs();
        if (opened.size() < urlsSeen_) urlsSeen_ = 0;
        for (size_t i = urlsSeen_; i < opened.size(); ++i) out() << "opened: " << opened[i].absoluteString() << "\n";
        urlsSeen_ = opened.size();
    }

    void printEvents() {
        auto events = AnalyticsUtils::queuedEvents();
        // A sent batch leaves the queue; what is left is new.
        if (events.size() < eventsSeen_) eventsSeen_ = 0;
        for (size_t i = eventsSeen_; i < events.size(); ++i) {
            out() << "event: " << events[i].name;
            for (const auto& [key, value] : events[i].properties) out() << " " << key << "=" << value;
            out() << "\n";
        }
        eventsSeen_ = events.size();
    }

    CommandContext& context_;
    const AppOptions& options_;
    uikit::ScreenDriver driver_;
    size_t shots_ = 0;
    bool shotsLost_ = false;
    size_t eventsSeen_ = 0;
    size_t urlsSeen_ = 0;
    bool quit_ = false;
};

// The gallery's launch: its storyboard's first screen in the window, nothing else.
class GalleryLaunchDelegate : public uikit::UIApplicationDelegate {
public:
    bool applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application, const foundation::Value&) override {
        auto window = application.keyWindow();
        window->setRootViewController(registerGalleryStoryboard()->instantiateInitialViewController());
        window->makeKeyAndVisible();
        return true;
    }
};

// Starts the local meeting service with the options' meeting and faults.
// The size of its meeting goes to `generated`; why it did not start, to
// `problem`.
std::unique_ptr<testservice::MeetingService> startLocalService(CommandContext& context, const AppOptions& options,
                                                               std::pair<int, int>& generated, std::string& problem) {
    // A home an earlier run used is served at the same address, with what
    // the user changed there. A run without --generate serves the meeting
    // the home was given.
    auto service = startKeptLocalService(context, options.generate, generated, problem);
    if (!service) return nullptr;
    const std::string versionFile = std::string("{\"") + Updater::kVersionKey + "\":\"" +
                                    ApplicationService::applicationVersion() + "\",\"" + Updater::kUpdateUrlKey +
                                    "\":\"" + service->urlFor("/builds/") + "\"}";
    service->mutate([&](testservice::MeetingData& data) {
        data.files[kLocalVersionFilePath] = {"application/json", versionFile};
    });
    for (const auto& fault : options.faults)
        service->injectFault(fault.method, "/api/v1/" + fault.path, {.status = fault.status, .stall = fault.stall});
    context.out() << "service: " << service->rootURL() << "\n"
                  << "meeting: " << service->eventId() << "\n"
                  << "demo account: user " << testservice::kDemoUsername << ", password "
                  << testservice::kDemoPassword << ", passcode " << testservice::kDemoPasscode << "\n";
    return service;
}

}  // namespace

namespace {

bool appCommandAsksForHelp(const Arguments& arguments) {
    return arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "help");
}

}  // namespace

std::string appUsageProblem(const Arguments& arguments, bool usesLocalService) {
    if (appCommandAsksForHelp(arguments)) return {};
    AppOptions options;
    const std::string problem = parseAppOptions(arguments, usesLocalService, options);
    return problem.empty() ? problem : problem + " (\"quovana app --help\" lists the options)";
}

int runAppCommand(CommandContext& context, const Arguments& arguments) {
    if (appCommandAsksForHelp(arguments)) {
        context.out() << kAppHelp;
        return kExitSuccess;
    }
    const bool usesLocalService = !context.options().serviceRoot;
    if (std::string problem = appUsageProblem(arguments, usesLocalService); !problem.empty())
        return context.usage(problem);
    AppOptions options;
    parseAppOptions(arguments, usesLocalService, options);

    std::ifstream scriptFile;
    if (options.script) {
        scriptFile.open(*options.script);
        if (!scriptFile) return context.fail("cannot read the script " + *options.script);
    }

    std::optional<HomeLock> lock;
    if (!context.options().home) {
        auto home = makeFreshHome("quovana-app");
        if (!home) return context.fail("cannot make a folder for the app's home");
        context.options().home = *home;
        applyGlobalOptions(context.options());
        lock.emplace(*home);
        if (!lock->held()) return context.fail(lock->problem());
    }
    context.out() << "application home: " << foundation::ApplicationHome::root() << "\n";

    ProcessState restore;
    uikit::DeviceProfile::apply(options.profile);
    QNDeviceEnvironment::adoptCurrentDevice();
    if (options.zone) {
        auto zone = foundation::TimeZone::withName(*options.zone);
        if (!zone) zone = foundation::TimeZone::fromOffsetString(*options.zone);
        if (zone) foundation::TimeZone::setDefault(*zone);
    }
    if (options.clock) foundation::Clock::useVirtual(*options.clock);
    if (options.reachability)
        if (auto flags = reachabilityFlags(*options.reachability)) simulateAppNetwork(*flags);
    if (options.ranging) location::CLLocationManager::setRangingAvailable(*options.ranging);
    if (options.locationServices) location::CLLocationManager::setLocationServicesEnabled(*options.locationServices);
    if (options.locationAuthorization)
        location::CLLocationManager::setAuthorizationStatus(
            static_cast<location::CLAuthorizationStatus>(*options.locationAuthorization));
    restoreCalendarAccess();
    if (foundation::ErrorPtr error; !provideDefaultDeviceCalendar(*ApplicationService::syncCalendarService(), &error))
        return context.fail(std::string("cannot make the device calendar \"") + kDefaultDeviceCalendarTitle +
                            "\": " + describeError(error));
    for (const auto& title : options.calendars) {
        foundation::ErrorPtr error;
        if (!makeDeviceCalendar(*ApplicationService::syncCalendarService(), title, &error))
            return context.fail("cannot make the device calendar \"" + title + "\": " + describeError(error));
    }

    std::unique_ptr<testservice::MeetingService> service;
    std::pair<int, int> generated;
    if (!context.options().serviceRoot) {
        std::string problem;
        service = startLocalService(context, options, generated, problem);
        if (!service) return context.fail(problem);
        // The launch's build-update check stays on this machine too.
        Updater::setVersionFileURL(service->urlFor(kLocalVersionFilePath));
    }

    // The script answers the alerts; settling waits for the network too.
    context.setAnswersAlerts(false);
    // A call the local service holds (--fault ... stall) never ends: the
    // screen is settled when it is all that is left, so a person sees what
    // shows while it waits (the loading screen, for one).
    testservice::MeetingService* local = service.get();
    auto held = [local] {
        if (!local) return int64_t{0};
        int64_t count = 0;
        for (const auto& request : local->requestLog()) count += request.status == 0 ? 1 : 0;
        return count;
    };
    uikit::ScreenDriver::addBusyPredicate(
        [held] { return QNNetworkActivityIndicatorManager::sharedManager().activityCount() > held(); });
    // A full download pauses between rows with no request running.
    uikit::ScreenDriver::addBusyPredicate([held] { return EventLoader::loadsInProgress() > 0 && held() == 0; });
    // A write waiting behind others on the current store's worker (a delta's
    // rows, an outbox row's deletion) shows on screen once it has run.
    // Read from the open stores themselves: asking for the current one logs
    // while none is open (logged out, or before the first download).
    uikit::ScreenDriver::addBusyPredicate([] {
        for (const auto& [key, stack] : StorageManager::sharedStorageManager().coreDataStackCaches()) {
            auto worker = stack ? stack->managedObjectContextWorkerOnBackground() : nullptr;
            if (worker && worker->pendingBlockCount() > 0) return true;
        }
        return false;
    });
    uikit::ScreenDriver::addBusyPredicate([] { return AddPersonalEntryViewController::savesInProgress() > 0; });
    // An answer's models are made after its request has ended and the
    // network mark has gone off.
    uikit::ScreenDriver::addBusyPredicate([] { return QVAApiManager::deliveriesInProgress() > 0; });
    // The launch's build-update check logs what it got, in the step it was sent in.
    uikit::ScreenDriver::addBusyPredicate([] { return Updater::checksInProgress() > 0; });
    // The status bar's indicator goes off a moment after the last request;
    // on the real clock that moment passes while the command settles.
    uikit::ScreenDriver::addBusyPredicate([] {
        return !foundation::Clock::isVirtual() &&
               uikit::UIApplication::sharedApplication().isNetworkActivityIndicatorVisible();
    });

    AppSession session(context, options);
    int status = kExitSuccess;
    try {
        // "open SCENE --object ENTITY ID" hands the object to a details
        // screen, unless the caller installed a hand-over of its own.
        if (!uikit::ScreenDriver::objectHandOver()) DetailsScreenSupport::registerObjectHandOver();
        registerGalleryStoryboard();
        session.skipQueuedEvents();
        if (options.gallery) {
            // The gallery shows stock controls: none of the app's start-up.
            uikit::UIApplication::sharedApplication().launch(std::make_shared<GalleryLaunchDelegate>());
        } else {
            uikit::UIApplication::sharedApplication().launch(std::make_shared<AppDelegate>());
            // A session over a stored account has made an authenticated call
            // before anything a person does; the script's first calls carry
            // the token as theirs would.
            if (auto token = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAuthToken())
                QVAApiManager::sharedApiManager().setAuthorizationHeaderWithCode(token);
        }
        context.out() << "\n== launch ==\n";
        session.printState("launch");
    } catch (const foundation::Exception& exception) {
        return context.fail(std::string("the app raised an exception at launch: ") + exception.what());
    }

    AppScriptReader reader(options.script ? static_cast<std::istream&>(scriptFile) : context.in());
    AppScriptLine line;
    while (!session.quit() && reader.next(line)) status = std::max(status, session.run(line));

    session.endWorkInFlight();
    // The errors went by with the states; the run did not give what was asked.
    if (session.shotsLost()) status = std::max<int>(status, kExitFailure);
    // What the person did there is lost to the next run otherwise.
    if (service && !writeLocalServiceState(*service, generated)) {
        context.err() << "quovana: the local service's state could not be kept in the home\n";
        status = std::max<int>(status, kExitFailure);
    }
    if (!keepCalendarAccess()) {
        context.err() << "quovana: the calendar access could not be kept in the home\n";
        status = std::max<int>(status, kExitFailure);
    }
    uikit::UIApplication::sharedApplication().terminate();
    // Nothing the app wrote may be lost when the process ends.
    if (!storeFilesWritten(context)) status = std::max<int>(status, kExitFailure);
    session.finish();
    if (lock)
        context.out() << "\nthe run's fresh home stays behind for a look around: "
                      << foundation::ApplicationHome::root() << "\n";
    return status;
}

}  // namespace quovana
