// "filter CLASS [VALUE] [--network NAME]": a list filter over the current
// meeting's store, as the filters screen offers it: the values it offers,
// and with a value chosen, its predicate and the sessions or participants it
// keeps. The class is checked before the store is touched.
#include <functional>
#include <map>
#include <ostream>

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "lists/CountryFilterModel.h"
#include "lists/DateFilterModel.h"
#include "lists/FavContribFilterModel.h"
#include "lists/GroupFilterModel.h"
#include "lists/LocationFilterModel.h"
#include "lists/OrganizationCountryFilterModel.h"
#include "lists/OrganizationSectorFilterModel.h"
#include "lists/ParticipantNotesFilterModel.h"
#include "lists/PressAllowedFilterModel.h"
#include "lists/QuovanaNetworkFilterModel.h"
#include "lists/SessionNotesFilterModel.h"
#include "lists/SessionTypeFilterModel.h"
#include "lists/SpouseAllowedFilterModel.h"
#include "lists/TimeFilterModel.h"
#include "lists/WithMealFilterModel.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "quovana/Commands.h"
#include "quovana/OptionsGivenOnce.h"
#include "quovana/CurrentMeeting.h"
#include "store/FetchRequestUtils.h"

namespace quovana {

namespace {

constexpr const char* kUsage = "usage: filter CLASS [VALUE] [--network NAME]";
constexpr size_t kRowsShown = 10;

enum class Kept { Sessions, Participants };

struct FilterClass {
    std::function<FilterModelPtr()> make;
    Kept kept;
};

template <class Filter>
FilterClass filterClass(Kept kept) {
    return {[] { return std::make_shared<Filter>(); }, kept};
}

// Made on demand: the Date filter reads the store when it is made.
const std::map<std::string, FilterClass>& filterClasses() {
    static const std::map<std::string, FilterClass> classes = {
        {"CountryFilterModel", filterClass<CountryFilterModel>(Kept::Participants)},
        {"DateFilterModel", filterClass<DateFilterModel>(Kept::Sessions)},
        {"FavContribFilterModel", filterClass<FavContribFilterModel>(Kept::Sessions)},
        {"GroupFilterModel", filterClass<GroupFilterModel>(Kept::Participants)},
        {"LocationFilterModel", filterClass<LocationFilterModel>(Kept::Sessions)},
        {"OrganizationCountryFilterModel", filterClass<OrganizationCountryFilterModel>(Kept::Participants)},
        {"OrganizationSectorFilterModel", filterClass<OrganizationSectorFilterModel>(Kept::Participants)},
        {"ParticipantNotesFilterModel", filterClass<ParticipantNotesFilterModel>(Kept::Participants)},
        {"PressAllowedFilterModel", filterClass<PressAllowedFilterModel>(Kept::Sessions)},
        {"QuovanaNetworkFilterModel", filterClass<QuovanaNetworkFilterModel>(Kept::Participants)},
        {"SessionNotesFilterModel", filterClass<SessionNotesFilterModel>(Kept::Sessions)},
        {"SessionTypeFilterModel", filterClass<SessionTypeFilterModel>(Kept::Sessions)},
        {"SpouseAllowedFilterModel", filterClass<SpouseAllowedFilterModel>(Kept::Sessions)},
        {"TimeFilterModel", filterClass<TimeFilterModel>(Kept::Sessions)},
        {"WithMealFilterModel", filterClass<WithMealFilterModel>(Kept::Sessions)},
    };
    return classes;
}

std::string classNames() {
    std::string names;
    for (const auto& [name, cls] : filterClasses()) names += (names.empty() ? "" : ", ") + name;
    return names;
}

std::string text(const foundation::Value& row, const char* key) { return row[key].stringValue(); }

void printKept(CommandContext& context, const CurrentMeeting& meeting, Kept kept,
               const coredata::PredicatePtr& predicate) {
    if (kept == Kept::Sessions) {
        const size_t total = countRows(meeting, QVACoreDataSession::kEntityName, predicate);
        context.out() << total << " sessions\n";
        auto rows = fetchRows(meeting, QVACoreDataSession::kEntityName, predicate,
                              {"startDateString", "displayTime", "title"},
                              FetchRequestUtils::getSimpleSessionsListSortDescriptos(), kRowsShown);
        for (const auto& row : rows)
            context.out() << "  " << text(row, "startDateString") << "  " << text(row, "displayTime") << "  "
                          << text(row, "title") << "\n";
        if (total > rows.size()) context.out() << "  ...\n";
        return;
    }
    const size_t total = countRows(meeting, QVACoreDataParticipant::kEntityName, predicate);
    context.out() << total << " participants\n";
    auto rows = fetchRows(meeting, QVACoreDataParticipant::kEntityName, predicate,
                          {"fullName", "countryOfNationality", "organizationName"},
                          {coredata::SortDescriptor("lastName"), coredata::SortDescriptor("fullName")}, kRowsShown);
    for (const auto& row : rows)
        context.out() << "  " << text(row, "fullName") << " (" << text(row, "countryOfNationality") << ", "
                      << text(row, "organizationName") << ")\n";
    if (total > rows.size()) context.out() << "  ...\n";
}

}  // namespace

int runFilterCommand(CommandContext& context, const Arguments& arguments) {
    std::vector<std::string> positional;
    std::optional<std::string> network;
    OptionsGivenOnce once;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--network") {
            if (std::string repeated = once.repeated(arguments[i]); !repeated.empty()) return context.usage(repeated);
            if (i + 1 >= arguments.size()) return context.usage("--network needs a value");
            network = arguments[++i];
        } else if (arguments[i].rfind("--", 0) == 0) {
            return context.usage("filter does not know the option \"" + arguments[i] + "\"; " + kUsage);
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.empty() || positional.size() > 2) return context.usage(kUsage);
    auto found = filterClasses().find(positional[0]);
    if (found == filterClasses().end())
        return context.usage("unknown filter class \"" + positional[0] + "\"; the classes are: " + classNames());
    const bool isNetwork = positional[0] == "QuovanaNetworkFilterModel";
    if (isNetwork != network.has_value())
        return context.usage(isNetwork ? "QuovanaNetworkFilterModel needs --network NAME"
                                       : "--network goes with QuovanaNetworkFilterModel only");

    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    auto filter = found->second.make();
    if (auto networkFilter = std::dynamic_pointer_cast<QuovanaNetworkFilterModel>(filter))
        networkFilter->setNetworkName(network);

    const auto values = filter->getPossibleValuesWithCoreDataStack(meeting->stack);
    context.out() << filter->displayName() << ": " << values.size() << " values\n";
    for (const auto& value : values) context.out() << "  " << value.stringValue() << "\n";
    if (positional.size() == 2) {
        // The offered value itself when one reads as the choice (the Location
        // filter offers rooms, not texts).
        foundation::Value chosen(positional[1]);
        bool offered = false;
        for (const auto& value : values)
            if (value.stringValue() == positional[1]) {
                chosen = value;
                offered = true;
                break;
            }
        // A value the filter does not offer selects by nothing a person
        // could pick: the values above are the choices.
        if (!offered) return context.usage("\"" + positional[1] + "\" is not among the values " +
                                           filter->displayName() + " offers (listed above)");
        filter->setSelectedValue(chosen);
        auto predicate = filter->filterPredicateWithCoreDataStack(meeting->stack);
        context.out() << "predicate: " << predicate->predicateFormat() << "\n";
        printKept(context, *meeting, found->second.kept, predicate);
    }
    context.flushLog();
    return kExitSuccess;
}

}  // namespace quovana
