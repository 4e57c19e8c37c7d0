// Predicates and sort descriptors in memory, and the agreement between the
// store's SQL translation and in-memory evaluation on the formats the app uses.
#include <gtest/gtest.h>

#include <algorithm>

#include <set>

#include "CoreDataTestSupport.h"
#include "coredata/Constants.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Exception.h"

namespace coredata {
namespace {

using foundation::Value;
using testing::insert;

struct FilterModel : foundation::Object, KeyValueCoding {
    Value selected, fallback;
    FilterModel(Value s, Value d) : selected(std::move(s)), fallback(std::move(d)) {}
    Value valueForKey(const std::string& key) const override {
        if (key == "selectedValue") return selected;
        if (key == "defaultValue") return fallback;
        return Value();
    }
};

bool eval(const PredicatePtr& p, const Value& object) { return p->evaluateWithObject(object); }

TEST(Predicate, EvaluatesAgainstDictionariesModelObjectsAndPlainValues) {
    Value row = Value::dictionary({{"code", "event:notes"}, {"granted", true}, {"note", ""}, {"n", 5},
                                   {"title", "Caf\u00e9 Cr\u00e8me"}, {"tags", Value::array({"a", "b"})}});
    EXPECT_TRUE(eval(Predicate::withFormat("code == %@ AND granted == YES", "event:notes"), row));
    EXPECT_FALSE(eval(Predicate::withFormat("code == %@ AND granted == NO", "event:notes"), row));
    EXPECT_FALSE(eval(Predicate::withFormat("note != nil AND note!=''"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("missing == nil && missing = NULL"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("%K contains[cd] %@", "title", "CAFE"), row));
    EXPECT_FALSE(eval(Predicate::withFormat("%K contains[c] %@", "title", "CAFE"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("title BEGINSWITH[d] 'Cafe' AND title ENDSWITH 'me'"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("title LIKE[cd] 'cafe*cr?me'"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("n BETWEEN {1, 5} AND n IN {4, 5.0} AND n <> 4 AND n =< 5 AND n => 5"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("n = %d OR n = %f", 7, 5.0), row));
    EXPECT_TRUE(eval(Predicate::withFormat("ANY tags == 'b' AND NONE tags == 'c' AND NOT ALL tags == 'a'"), row));
    EXPECT_TRUE(eval(Predicate::withFormat("tags CONTAINS 'a' AND !(n > 5) AND (FALSEPREDICATE || TRUEPREDICATE)"), row));
    EXPECT_FALSE(eval(Predicate::withFormat("n > 'text' OR n < nil OR title > 3"), row));  // no order across kinds

    // Model objects through key-value access; a string as SELF.
    EXPECT_FALSE(eval(Predicate::withFormat("SELF.selectedValue != SELF.defaultValue"),
                      Value(std::make_shared<FilterModel>("Any", "Any"))));
    EXPECT_TRUE(eval(Predicate::withFormat("SELF.selectedValue != SELF.defaultValue"),
                     Value(std::make_shared<FilterModel>("Morning", "Any"))));
    auto email = Predicate::withFormat("SELF MATCHES %@", "[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}");
    EXPECT_TRUE(eval(email, "ann.lee@example.org"));
    EXPECT_FALSE(eval(email, "ann.lee@example.museum"));
    EXPECT_FALSE(eval(email, Value(42)));
    // Every value answers "description" with its text, as value pickers search them.
    auto described = Predicate::withFormat("SELF.description contains[c] %@", "an");
    EXPECT_TRUE(eval(described, "Canada"));
    EXPECT_TRUE(eval(Predicate::withFormat("SELF.description == '42'"), Value(42)));
    EXPECT_TRUE(eval(Predicate::withFormat("SELF.description BEGINSWITH '<'"), Value(std::make_shared<FilterModel>("x", "y"))));
    EXPECT_FALSE(eval(described, Value()));

    // Composed predicates, as the search scopes build them.
    auto tokens = Predicate::andPredicate({Predicate::truePredicate(), Predicate::withFormat("%K contains[cd] %@", "title", "creme"),
                                           Predicate::withFormat("%K contains[cd] %@", "title", "cafe")});
    EXPECT_TRUE(eval(tokens, row));
    EXPECT_FALSE(eval(Predicate::orPredicate({}), row));
    EXPECT_TRUE(eval(Predicate::notPredicate(Predicate::withFormat("%K contains[cd] %@", "title", "")), row));
    EXPECT_EQ(tokens->predicateFormat(), "TRUEPREDICATE AND title CONTAINS[cd] \"creme\" AND title CONTAINS[cd] \"cafe\"");
}

TEST(Predicate, MalformedFormatsRaiseNamingTheFormat) {
    for (const char* format : {"code ==", "a == 'unterminated", "(a == 1", "a ~ 1", "a == 1 b", "AND == 1", "%K == 1",
                               "a contains[x] 'b'", "a == %q"}) {
        try {
            Predicate::withFormat(format, 1);
            ADD_FAILURE() << "accepted: " << format;
        } catch (const foundation::Exception& e) {
            EXPECT_EQ(e.name(), kPredicateFormatException);
            EXPECT_NE(e.reason().find(format), std::string::npos) << e.reason();
        }
    }
    EXPECT_THROW(Predicate::withFormat("a == %@ AND b == %@", "only one"), foundation::Exception);
}

// A number's printed form reads back as the same number: an integer beyond
// 64 bits is a real, never the largest integer, and a real too large for an
// integer keeps its exponent.
// Lists keep what they fetched while the predicate they would fetch with is
// equal to the last one: a predicate that reads otherwise must not be.
TEST(Predicate, EqualOnlyWhenBuiltAlike) {
    const auto ids = [](const char* id) { return Value::array({Value(id)}); };
    auto base = Predicate::withFormat("itemId IN %@ AND NOT (title ==[c] %@)", ids("p1"), Value("a"));
    EXPECT_TRUE(base->isEqual(*Predicate::withFormat("itemId IN %@ AND NOT (title ==[c] %@)", ids("p1"), Value("a"))));
    for (const auto& other : {Predicate::withFormat("itemId IN %@ AND NOT (title ==[c] %@)", ids("p2"), Value("a")),
                              Predicate::withFormat("itemId IN %@ AND NOT (title == %@)", ids("p1"), Value("a")),
                              Predicate::withFormat("itemId IN %@ OR NOT (title ==[c] %@)", ids("p1"), Value("a")),
                              Predicate::withFormat("itemId IN %@ AND NOT (name ==[c] %@)", ids("p1"), Value("a"))})
        EXPECT_FALSE(base->isEqual(*other)) << other->predicateFormat();
    EXPECT_FALSE(Predicate::withFormat("revision == %@", Value(1))->isEqual(*Predicate::withFormat("revision == %@", Value("1"))));
}

TEST(Predicate, NumbersBeyondSixtyFourBitsReadAndPrintAsReals) {
    auto huge = Predicate::withFormat("count == 12345678901234567890");
    EXPECT_EQ(huge->predicateFormat(), "count == 1.2345678901234567e+19");
    EXPECT_TRUE(eval(huge, Value::dictionary({{"count", 12345678901234567890.0}})));
    EXPECT_FALSE(eval(huge, Value::dictionary({{"count", INT64_MAX}})));
    EXPECT_EQ(Predicate::withFormat("n > -9223372036854775808")->predicateFormat(), "n > -9223372036854775808");
    EXPECT_EQ(Predicate::withFormat("n > -19223372036854775809")->predicateFormat(), "n > -1.9223372036854776e+19");
    for (const char* format : {"52222222222222222e3<+222", "n == 9223372036854775807.0", "n == 1e300"}) {
        const std::string printed = Predicate::withFormat(format)->predicateFormat();
        EXPECT_EQ(Predicate::withFormat(printed)->predicateFormat(), printed) << format;
    }
}

TEST(SortDescriptor, OrdersByKeysWithTheRequestedComparison) {
    auto row = [](const char* name, Value rank) { return Value::dictionary({{"name", name}, {"rank", std::move(rank)}}); };
    Value::Array rows{row("File 10", 1), row("file 9", 1), row("Zoe", Value()), row("\u00c9mile", 2), row("adam", 2)};
    auto names = [](const Value::Array& a) {
        std::vector<std::string> out;
        for (const auto& r : a) out.push_back(*r["name"].string());
        return out;
    };
    EXPECT_EQ(names(sortedArrayUsingDescriptors(rows, {SortDescriptor("name")})),
              (std::vector<std::string>{"File 10", "Zoe", "adam", "file 9", "\u00c9mile"}));
    EXPECT_EQ(names(sortedArrayUsingDescriptors(rows, {SortDescriptor("name", true, SortComparator::LocalizedStandardCompare)})),
              (std::vector<std::string>{"adam", "\u00c9mile", "file 9", "File 10", "Zoe"}));
    EXPECT_EQ(names(sortedArrayUsingDescriptors(rows, {SortDescriptor("name", false, SortComparator::CaseInsensitiveCompare)})),
              (std::vector<std::string>{"\u00c9mile", "Zoe", "file 9", "File 10", "adam"}));
    // Absent sorts first; ties keep their order; later keys break ties.
    EXPECT_EQ(names(sortedArrayUsingDescriptors(rows, {SortDescriptor("rank", false),
                                                       SortDescriptor("name", true, SortComparator::LocalizedCaseInsensitiveCompare)})),
              (std::vector<std::string>{"adam", "\u00c9mile", "File 10", "file 9", "Zoe"}));
    // Texts the collation finds equal keep their order beside an absent one.
    Value::Array same{Value::dictionary({{"name", "\u00c9COLE"}}), Value::dictionary({{"name", Value()}}),
                      Value::dictionary({{"name", "\u00e9cole"}}), Value::dictionary({{"name", "Abc"}})};
    auto named = [](const Value::Array& a) {
        std::vector<std::string> out;
        for (const auto& r : a) out.push_back(r["name"].string() ? *r["name"].string() : "-");
        return out;
    };
    EXPECT_EQ(named(sortedArrayUsingDescriptors(same, {SortDescriptor("name", true, SortComparator::LocalizedCaseInsensitiveCompare)})),
              (std::vector<std::string>{"-", "Abc", "\u00c9COLE", "\u00e9cole"}));
}

// A long list is ordered by each column's ranks; it must come out as the
// comparison of values orders it, stable, whatever the texts share: long
// common beginnings, one text the start of another, absent values, repeated
// values, a descending key, and integers.
TEST(SortDescriptor, LongListsOrderAsTheValueComparisonDoes) {
    const char* stems[] = {"Participant", "Participant ", "participant", "Partic", "\u00c9milie-Jos\u00e9phine", "Zo\u00eb"};
    Value::Array rows;
    for (int i = 0; i < 600; ++i) {
        // Keys left out rather than set to a moved temporary: g++ 12 at -O1
        // under ThreadSanitizer takes that move for a read of an
        // uninitialised string (-Wmaybe-uninitialized).
        Value row = Value::dictionary({{"n", int64_t(i)}});
        if (i % 37 != 0) row["name"] = Value(std::string(stems[i % 6]) + std::to_string((i * 7919) % 113));
        if (i % 11 != 0) row["group"] = Value(int64_t((i * 31) % 5));
        rows.push_back(std::move(row));
    }
    const std::vector<std::vector<SortDescriptor>> orders{
        {SortDescriptor("group"), SortDescriptor("name")},
        {SortDescriptor("group", false), SortDescriptor("name", true, SortComparator::LocalizedStandardCompare)},
        {SortDescriptor("name", false, SortComparator::LocalizedCaseInsensitiveCompare)},
        {SortDescriptor("name", true, SortComparator::CaseInsensitiveCompare), SortDescriptor("group", false)}};
    for (const auto& descriptors : orders) {
        Value::Array expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const Value& a, const Value& b) {
            for (const auto& d : descriptors)
                if (int c = d.compareObjects(a, b)) return c < 0;
            return false;
        });
        const Value::Array sorted = sortedArrayUsingDescriptors(rows, descriptors);
        ASSERT_EQ(sorted.size(), expected.size());
        for (size_t i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i]["n"], expected[i]["n"]) << "row " << i << " of order " << (&descriptors - orders.data());
    }
}

// Every format the app's queries use, on a fixture: the store's SQL, the
// in-memory evaluation of fetched objects, and a fetch over unsaved objects
// must all select the expected rows.
TEST(PredicateInStore, AppFormatsSelectTheSameRowsInSQLAndInMemory) {
    testing::TempDir dir;
    testing::Stack stack(dir.file("predicates.sqlite"));
    ASSERT_EQ(stack.error, nullptr);
    auto fill = [](ManagedObjectContext& c) {
        insert(c, "Permission", {{"code", "event:notes"}, {"granted", true}});
        insert(c, "Permission", {{"code", "messages:read"}, {"granted", false}});
        insert(c, "Permission", {{"code", "messages:read"}, {"granted", true}});
        insert(c, "Permission", {{"code", "event:change"}, {"granted", false}});
        insert(c, "SessionNote", {{"itemId", "n1"}, {"sessionId", "s1"}, {"note", "bring slides"}});
        insert(c, "SessionNote", {{"itemId", "n2"}, {"sessionId", "s2"}, {"note", ""}});
        insert(c, "SessionNote", {{"itemId", "n3"}, {"sessionId", "s3"}});
        insert(c, "Session", {{"itemId", "s1"}, {"title", "Caf\u00e9 Talk"}, {"startDatetime", "2015-03-10T09:00:00+01:00"},
                              {"endDatetime", "2015-03-10T10:00:00+01:00"}, {"displayTime", "09:00 - 10:00"},
                              {"startDateString", "2015-03-10"}, {"roomId", "r1"}, {"spouseAllowed", true}});
        insert(c, "Session", {{"itemId", "s2"}, {"title", "CAFE culture"}, {"startDatetime", "2015-03-10T11:45:00+01:00"},
                              {"endDatetime", "2015-03-10T12:30:00+01:00"}, {"displayTime", "11:45 - 12:30"},
                              {"startDateString", "2015-03-10"}, {"roomId", "r2"}});
        insert(c, "Session", {{"itemId", "s3"}, {"title", "Closing"}, {"startDatetime", "2015-03-12T12:00:00+01:00"},
                              {"endDatetime", "2015-03-12T13:00:00+01:00"}, {"displayTime", "12:00 - 13:00"},
                              {"startDateString", "2015-03-12"}, {"roomId", "r1"}});
        insert(c, "AgendaInvitation", {{"itemId", "s1"}, {"agendaItemId", "a1"}, {"status", "Invited"}, {"title", "Caf\u00e9 Talk"}});
        insert(c, "Participant", {{"itemId", "p1"}, {"fullName", "Ren\u00e9e Dupont"}, {"contributions", "s1|speaker"},
                                  {"organizationId", "o1"}, {"organizationType", "Business"}, {"country", "France"}});
        insert(c, "Participant", {{"itemId", "p2"}, {"fullName", "Rene Smith"}, {"organizationType", "Government"}});
        insert(c, "Participant", {{"itemId", "p3"}, {"fullName", "Ann Lee"}, {"contributions", "s3|chair;s2|speaker"},
                                  {"organizationId", "o2"}, {"organizationType", "Business"}, {"country", " France"}});
        insert(c, "SessionNote", {{"itemId", "42"}, {"sessionId", "s9"}});
        insert(c, "SessionNote", {{"itemId", "042"}, {"sessionId", "s9"}});
        insert(c, "Message", {{"itemId", "m1"}, {"messageId", 101}, {"threadId", 7}, {"isRead", false}});
        insert(c, "Message", {{"itemId", "m2"}, {"messageId", 102}, {"threadId", 7}, {"isRead", true}});
        insert(c, "Message", {{"itemId", "m3"}, {"messageId", 103}, {"threadId", 8}});
    };
    stack.root->performBlockAndWait([&] {
        fill(*stack.root);
        ASSERT_EQ(stack.root->save(), nullptr);
    });

    struct Case {
        const char* entity;
        PredicatePtr predicate;
        std::set<std::string> expected;  // item ids, or codes for permissions
    };
    const std::string now = "2015-03-10T12:00:00+01:00";
    std::vector<Case> cases{
        {"Permission", Predicate::withFormat("code == %@ AND granted == YES", "messages:read"), {"messages:read"}},
        {"Permission", Predicate::withFormat("code == %@ AND granted == YES", "event:change"), {}},
        {"SessionNote", Predicate::withFormat("note != nil AND note!=''"), {"n1"}},
        {"SessionNote", Predicate::withFormat("sessionId = %@", "s2"), {"n2"}},
        {"Session", Predicate::withFormat("%K IN %@", "itemId", std::vector<std::string>{"s1", "s3", "zz"}), {"s1", "s3"}},
        {"Session", Predicate::withFormat("itemId in %@", std::set<std::string>{"s2"}), {"s2"}},
        {"Session", Predicate::withFormat("itemId IN %@", Value::Array{}), {}},
        {"Session", Predicate::withFormat("itemId=%@ ", "s2"), {"s2"}},
        {"Session", Predicate::withFormat("itemId =%@", "s3"), {"s3"}},
        {"Session", Predicate::withFormat("startDatetime <= %@ AND endDatetime > %@", now, now), {"s2"}},
        {"BaseSession", Predicate::withFormat("startDatetime > %@", now), {"s3"}},
        {"BaseSession", Predicate::withFormat("%K contains[cd] %@", "title", "cafe"), {"a1", "s1", "s2"}},
        {"Session", Predicate::withFormat("%K >= %@ AND %K <= %@", "displayTime", "00:00", "displayTime", "11:59"), {"s1", "s2"}},
        {"Session", Predicate::withFormat("%K >= %@ AND %K <= %@", "displayTime", "11:30", "displayTime", "13:59"), {"s2", "s3"}},
        {"Session", Predicate::withFormat("%K=%@", "startDateString", "2015-03-12"), {"s3"}},
        {"Session", Predicate::withFormat("roomId == %@", "r1"), {"s1", "s3"}},
        {"Session", Predicate::withFormat("spouseAllowed == %@", true), {"s1"}},
        {"Session", Predicate::withFormat("cancelled == NO AND capacity == 0 AND minutes = %d", 0), {"s1", "s2", "s3"}},
        {"Participant", Predicate::withFormat("SELF != nil AND SELF!=''"), {"p1", "p2", "p3"}},
        {"Participant", Predicate::withFormat("SELF != nil AND SELF!='' AND organizationType = %@", "Business"), {"p1", "p3"}},
        {"Participant", Predicate::withFormat("organizationType = %@ AND %K contains[cd] %@", "Business", "country", "france"),
         {"p1", "p3"}},
        {"Participant", Predicate::withFormat("contributions != nil AND fullName contains[cd] %@", "rene"), {"p1"}},
        {"Participant", Predicate::withFormat("organizationId IN %@", Value::array({"o2", Value::null()})), {"p2", "p3"}},
        {"Participant", Predicate::withFormat("fullName LIKE[c] 'r*' OR fullName MATCHES 'A.n .*'"), {"p1", "p2", "p3"}},
        {"Participant", Predicate::withFormat("fullName BEGINSWITH 'Ren' AND NOT fullName ENDSWITH[cd] 'DUPONT'"), {"p2"}},
        // nil under negation: ordering with nil is false, so its negation holds.
        {"Participant", Predicate::withFormat("NOT (country > 'G') AND NOT organizationType == 'Business'"), {"p2"}},
        {"Participant", Predicate::withFormat("NOT (country BEGINSWITH[c] 'f') AND country != 'x'"), {"p2", "p3"}},
        {"Participant", Predicate::withFormat("NOT (organizationId IN {'o1'}) AND fullName MATCHES[c] '.*(smith|lee)'"),
         {"p2", "p3"}},
        // An integer meets a text attribute by its decimal text.
        {"SessionNote", Predicate::withFormat("%K = %d", "itemId", 42), {"42"}},
        {"SessionNote", Predicate::withFormat("%K != %d AND sessionId = 's9'", "itemId", 42), {"042"}},
        {"SessionNote", Predicate::withFormat("itemId IN %@", Value::array({42, "n3"})), {"42", "n3"}},
        {"Message", Predicate::withFormat("messageId=%d", 102), {"m2"}},
        {"Message", Predicate::withFormat("threadId = %d", 7), {"m1", "m2"}},
        {"Message", Predicate::withFormat("isRead = %d", 0), {"m1", "m3"}},
        {"Message", Predicate::withFormat("messageId =%ld AND threadId BETWEEN %@", 103L, Value::array({8, 9})), {"m3"}},
        {"Message", Predicate::withFormat("messageId > %lu || isRead == YES", 102UL), {"m2", "m3"}},
        {"Message", Predicate::withFormat("ANY threadId == 8"), {"m3"}},  // left to memory
        {"Message", Predicate::withFormat("itemId == messageId OR threadId > 7.5"), {"m3"}},
    };

    auto key = [](const Value& object) {
        if (auto agenda = valueForKey(object, "agendaItemId"); agenda.isString()) return *agenda.string();
        auto v = valueForKey(object, "itemId");
        return v.isString() ? *v.string() : *valueForKey(object, "code").string();
    };
    auto idsOf = [&](const Value::Array& objects, const PredicatePtr& filter) {
        std::set<std::string> ids;
        for (const auto& o : objects)
            if (!filter || filter->evaluateWithObject(o)) ids.insert(key(o));
        return ids;
    };
    auto scratch = ManagedObjectContext::create(ConcurrencyType::PrivateQueue);  // an empty store, all rows pending
    scratch->setPersistentStoreCoordinator(testing::Stack(dir.file("empty.sqlite")).coordinator);
    scratch->performBlockAndWait([&] { fill(*scratch); });

    for (const auto& c : cases) {
        const std::string trace = std::string(c.entity) + ": " + c.predicate->predicateFormat();
        FetchRequest request(c.entity);
        request.setPredicate(c.predicate);
        stack.root->performBlockAndWait([&] {
            foundation::ErrorPtr error;
            EXPECT_EQ(idsOf(stack.root->executeFetchRequest(request, &error), nullptr), c.expected) << trace;
            EXPECT_EQ(error, nullptr) << trace;
            EXPECT_EQ(stack.root->countForFetchRequest(request), c.expected.size()) << trace;
            EXPECT_EQ(idsOf(stack.root->executeFetchRequest(FetchRequest(c.entity)), c.predicate), c.expected) << trace;
        });
        scratch->performBlockAndWait([&] { EXPECT_EQ(idsOf(scratch->executeFetchRequest(request), nullptr), c.expected) << trace; });
    }

    // An entity the model lacks answers nothing, without an error.
    stack.root->performBlockAndWait([&] {
        FetchRequest watchlist("CoreDataWatchlistItem");
        watchlist.setPredicate(Predicate::withFormat("SubactivityId = %d", 3));
        foundation::ErrorPtr error;
        EXPECT_TRUE(stack.root->executeFetchRequest(watchlist, &error).empty());
        EXPECT_EQ(error, nullptr);
    });
}

}  // namespace
}  // namespace coredata
