// "quovana filter" and "quovana scope" run in-process over a meeting loaded
// from the local meeting service, with a few rows made to sit on the edges
// the filters and scopes must get right.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "network/Reachability.h"
#include "quovana/Cli.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/StorageManager.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"
#include "foundation/StringUtils.h"

using foundation::Value;
using testservice::MeetingKind;
using testservice::MeetingService;

namespace {

struct ScopeCommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

class FilterScopeCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service_ = std::make_unique<MeetingService>(
            testservice::generateMeeting({.seed = 5, .sessions = 24, .participants = 60, .days = 2}));
        auto sessions = service_->items(MeetingKind::Sessions);
        retime(sessions[0], "18:00", "19:00", "Evening Reception");
        retime(sessions[1], "23:59", "23:59", "Midnight Briefing");
        retime(sessions[2], "17:59", "18:30", "Late Wrap-up");
        for (int i = 0; i < 3; ++i) service_->putItem(MeetingKind::Sessions, sessions[i]);
        auto participants = service_->items(MeetingKind::Participants);
        rename(participants[1], "John Smith", " Niger");
        rename(participants[2], "Joanna Smallwood", "Nigeria");
        rename(participants[3], "Mary Jones", "   ");
        for (int i = 1; i < 4; ++i) service_->putItem(MeetingKind::Participants, participants[i]);
        ASSERT_TRUE(service_->start());
    }
    static void TearDownTestSuite() { service_.reset(); }

    static void retime(Value& session, const std::string& start, const std::string& end, const std::string& title) {
        const std::string day = session["startDatetime"].stringValue().substr(0, 10);
        const std::string zone = session["startDatetime"].stringValue().substr(19);
        session[std::string("startDatetime")] = Value(day + "T" + start + ":00" + zone);
        session[std::string("endDatetime")] = Value(day + "T" + end + ":00" + zone);
        session[std::string("title")] = Value(title);
    }
    static void rename(Value& participant, const std::string& name, const std::string& country) {
        participant[std::string("fullName")] = Value(name);
        participant[std::string("countryOfNationality")] = Value(country);
    }

    void SetUp() override { state_.enter(); }
    void TearDown() override { state_.leave(); }

    ScopeCommandRun run(std::vector<std::string> arguments) {
        std::vector<std::string> full = {"--service", service_->rootURL(), "--home", home_.path()};
        full.insert(full.end(), arguments.begin(), arguments.end());
        std::ostringstream out, err;
        ScopeCommandRun result;
        result.status = quovana::runCli(full, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }
    void loginAndLoad() {
        ASSERT_EQ(run({"login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        ScopeCommandRun load = run({"load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }

    static std::unique_ptr<MeetingService> service_;
    TemporaryDirectory home_;
    InProcessCommandState state_;
};

std::unique_ptr<MeetingService> FilterScopeCommand::service_;

using foundation::StringUtils::contains;

}  // namespace

TEST_F(FilterScopeCommand, FilterPrintsTheValuesThePredicateAndTheRowsKept) {
    loginAndLoad();
    ScopeCommandRun evening = run({"filter", "TimeFilterModel", "Evening (18:00 - 23:59)"});
    ASSERT_EQ(evening.status, 0) << evening.err;
    EXPECT_TRUE(contains(evening.out, "Time: 5 values\n  Any\n  Morning (00:00 - 11:59)\n")) << evening.out;
    EXPECT_TRUE(contains(evening.out, "\n2 sessions\n")) << evening.out;
    EXPECT_TRUE(contains(evening.out, "Evening Reception")) << evening.out;
    EXPECT_TRUE(contains(evening.out, "23:59 - 23:59  Midnight Briefing")) << evening.out;
    EXPECT_FALSE(contains(evening.out, "Late Wrap-up")) << evening.out;

    ScopeCommandRun countries = run({"filter", "CountryFilterModel"});
    ASSERT_EQ(countries.status, 0) << countries.err;
    EXPECT_TRUE(contains(countries.out, "Country: ")) << countries.out;
    EXPECT_TRUE(contains(countries.out, "\n  Any\n  Niger\n")) << countries.out;  // " Niger" sorts first, trimmed
    EXPECT_FALSE(contains(countries.out, "\n   \n")) << countries.out;

    ScopeCommandRun niger = run({"filter", "CountryFilterModel", "Niger"});
    ASSERT_EQ(niger.status, 0) << niger.err;
    EXPECT_TRUE(contains(niger.out, "John Smith")) << niger.out;
    EXPECT_FALSE(contains(niger.out, "Joanna Smallwood")) << niger.out;
    // A value the filter does not offer is bad usage.
    ScopeCommandRun nowhere = run({"filter", "CountryFilterModel", "NoSuchCountry"});
    EXPECT_EQ(nowhere.status, 2) << nowhere.err;
    EXPECT_TRUE(contains(nowhere.err, "\"NoSuchCountry\" is not among the values")) << nowhere.err;

    // The generated meeting's networks of a single community are the groups.
    ScopeCommandRun groups = run({"filter", "GroupFilterModel"});
    ASSERT_EQ(groups.status, 0) << groups.err;
    EXPECT_TRUE(contains(groups.out, "Group: 4 values\n  Any\n  Council Members\n  Cultural Leaders\n  Patrons Circle\n"))
        << groups.out;
}

TEST_F(FilterScopeCommand, ScopePrintsThePredicateAndTheRowsMatched) {
    loginAndLoad();
    ScopeCommandRun scope = run({"scope", "fullName", "jo - sm"});
    ASSERT_EQ(scope.status, 0) << scope.err;
    EXPECT_TRUE(contains(scope.out, "predicate: (TRUEPREDICATE AND fullName CONTAINS[cd] \"jo\") AND fullName "
                               "CONTAINS[cd] \"sm\"\n"))
        << scope.out;
    EXPECT_TRUE(contains(scope.out, "\"John Smith\"")) << scope.out;
    EXPECT_TRUE(contains(scope.out, "\"Joanna Smallwood\"")) << scope.out;
    EXPECT_FALSE(contains(scope.out, "Mary Jones")) << scope.out;
}

TEST_F(FilterScopeCommand, UnknownClassesEntitiesAndFieldsAreUsageErrors) {
    EXPECT_EQ(run({"filter", "NoSuchFilter"}).status, 2);
    EXPECT_EQ(run({"filter"}).status, 2);
    EXPECT_EQ(run({"filter", "QuovanaNetworkFilterModel"}).status, 2);
    EXPECT_EQ(run({"scope", "title", "x", "--entity", "NoSuchEntity"}).status, 2);
    EXPECT_EQ(run({"scope", "noSuchField", "x"}).status, 2);
    EXPECT_EQ(run({"scope", "title", "x", "--contributors"}).status, 2);
    // A known class without a meeting loaded is the app's failure, not usage.
    EXPECT_EQ(run({"filter", "TimeFilterModel"}).status, 1);
}
