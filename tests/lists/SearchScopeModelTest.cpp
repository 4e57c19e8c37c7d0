#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "foundation/Value.h"
#include "lists/AllSearchPredicate.h"
#include "lists/OrganizationSearchScopeModel.h"
#include "lists/SearchScopeModel.h"
#include "lists/SessionContributorsSearchScopeModel.h"
#include "Utils/MeetingStoreTestSupport.h"

using coredata::Predicate;
using coredata::PredicatePtr;
using foundation::Value;

namespace {

// The words of a contains[cd] chain: TRUE AND w1 AND w2 ..., or a single contains.
std::vector<std::string> words(const PredicatePtr& predicate, bool* startsWithTrue = nullptr) {
    std::vector<std::string> out;
    std::vector<PredicatePtr> stack{predicate};
    bool sawTrue = false;
    while (!stack.empty()) {
        auto p = stack.back();
        stack.pop_back();
        if (p->kind() == Predicate::Kind::And) {
            const auto& subs = p->subpredicates();
            for (auto it = subs.rbegin(); it != subs.rend(); ++it) stack.push_back(*it);
        } else if (p->kind() == Predicate::Kind::True) {
            sawTrue = true;
        } else {
            EXPECT_EQ(p->kind(), Predicate::Kind::Comparison);
            EXPECT_EQ(p->operatorType(), coredata::PredicateOperator::Contains);
            EXPECT_EQ(p->options(), coredata::ComparisonOption::CaseInsensitive |
                                        coredata::ComparisonOption::DiacriticInsensitive);
            EXPECT_EQ(p->leftExpression()->keyPath(), "fullName");
            out.push_back(p->rightExpression()->constantValue().stringValue());
        }
    }
    if (startsWithTrue) *startsWithTrue = sawTrue;
    return out;
}

bool matches(const PredicatePtr& predicate, Value row) { return predicate->evaluateWithObject(row); }

}  // namespace

TEST(SearchScopeModel, SplitsTheTextIntoWordsOnBlanksAndHyphens) {
    auto scope = SearchScopeModel::initWithPropertyName("fullName", "Name");
    bool withTrue = false;

    auto twoWords = scope->filterPredicateWithCoreDataStack(nullptr, "john - smith");
    EXPECT_EQ(words(twoWords, &withTrue), (std::vector<std::string>{"john", "smith"}));
    EXPECT_TRUE(withTrue);
    EXPECT_EQ(twoWords->subpredicates().size(), 2u);  // (TRUE AND john) AND smith
    EXPECT_EQ(words(scope->filterPredicateWithCoreDataStack(nullptr, "a--b")), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(words(scope->filterPredicateWithCoreDataStack(nullptr, "a - b")), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(matches(twoWords, Value::dictionary({{"fullName", "Smith, Jöhn"}})));
    EXPECT_FALSE(matches(twoWords, Value::dictionary({{"fullName", "John Doe"}})));

    // Trimmed to nothing: the single predicate with the empty string.
    auto empty = scope->filterPredicateWithCoreDataStack(nullptr, "  -  ");
    EXPECT_EQ(empty->kind(), Predicate::Kind::Comparison);
    EXPECT_EQ(words(empty, &withTrue), (std::vector<std::string>{""}));
    EXPECT_FALSE(withTrue);

    // A word wrapped in blanks, tabs and hyphens is the bare word.
    auto wrapped = scope->filterPredicateWithCoreDataStack(nullptr, " -\tjohn- ");
    EXPECT_EQ(wrapped->kind(), Predicate::Kind::Comparison);
    EXPECT_EQ(words(wrapped), (std::vector<std::string>{"john"}));

    // Line breaks are neither trimmed nor separators.
    auto lines = scope->filterPredicateWithCoreDataStack(nullptr, "jo\nhn\n");
    EXPECT_EQ(lines->kind(), Predicate::Kind::Comparison);
    EXPECT_EQ(words(lines), (std::vector<std::string>{"jo\nhn\n"}));
}

TEST(SearchScopeModel, WithoutAPropertyMatchesNothing) {
    auto scope = SearchScopeModel::initWithPropertyName(std::nullopt, "None");
    EXPECT_EQ(scope->filterPredicateWithCoreDataStack(nullptr, "john")->kind(), Predicate::Kind::False);
    EXPECT_EQ(scope->filterPredicateWithCoreDataStack(nullptr, "john smith")->kind(), Predicate::Kind::False);
}

TEST(SearchScopeModel, AllMatchesWhenAnyScopeMatches) {
    auto all = AllSearchPredicate::initWithSearchableScopes({SearchScopeModel::initWithPropertyName("title", "Title"),
                                                             SearchScopeModel::initWithPropertyName("keyword", "Keyword"),
                                                             SearchScopeModel::initWithPropertyName("type", "Type")});
    EXPECT_EQ(all->displayName(), "All");
    EXPECT_EQ(all->propertyName(), std::nullopt);
    auto predicate = all->filterPredicateWithCoreDataStack(nullptr, "plenary");
    EXPECT_TRUE(matches(predicate, Value::dictionary({{"title", "x"}, {"keyword", "y"}, {"type", "Plenary"}})));
    EXPECT_TRUE(matches(predicate, Value::dictionary({{"title", "Opening plenary"}, {"keyword", "y"}, {"type", "z"}})));
    EXPECT_FALSE(matches(predicate, Value::dictionary({{"title", "x"}, {"keyword", "y"}, {"type", "z"}})));
    EXPECT_EQ(AllSearchPredicate::initWithSearchableScopes({})->filterPredicateWithCoreDataStack(nullptr, "x")->kind(),
              Predicate::Kind::False);
}

class SearchScopeStore : public meetingtest::MeetingStoreTest {
protected:
    std::shared_ptr<CoreDataStack> stack;

    void SetUp() override {
        MeetingStoreTest::SetUp();
        stack = openCurrent("token");
    }

    std::set<std::string> ids(const std::string& entity, const PredicatePtr& predicate) {
        auto request = store.fetchRequestForItemType(EntityClass::named(entity), predicate,
                                                     stack->managedObjectContextMainQueue());
        std::set<std::string> out;
        for (const auto& row : store.executeFetchRequestAndWait(request, stack->managedObjectContextMainQueue()))
            out.insert(row.objectAs<coredata::ManagedObject>()->valueForKey("itemId").stringValue());
        return out;
    }
};

TEST_F(SearchScopeStore, ContributorsNameTheSessionsOfMatchingParticipants) {
    insert("token", "QVACoreDataParticipant",
           {{{"itemId", "p1"}, {"fullName", "Jane Smith"}, {"contributions", "s1|speaker;s2|chair"}},
            {{"itemId", "p2"}, {"fullName", "John Smith"}},
            {{"itemId", "p3"}, {"fullName", "Ann Lee"}, {"contributions", "s3|x|speaker"}}});
    SessionContributorsSearchScopeModel scope;
    EXPECT_EQ(scope.displayName(), "Contributors");
    EXPECT_EQ(scope.propertyName(), "fullName");

    auto predicate = scope.filterPredicateWithCoreDataStack(stack, "smith");
    ASSERT_EQ(predicate->kind(), Predicate::Kind::Comparison);
    EXPECT_EQ(predicate->operatorType(), coredata::PredicateOperator::In);
    std::set<std::string> sessionIds;
    for (const auto& id : *predicate->rightExpression()->constantValue().array()) sessionIds.insert(id.stringValue());
    EXPECT_EQ(sessionIds, (std::set<std::string>{"s1", "s2"}));

    // John Smith has no contributions: no rows rather than all rows.
    EXPECT_EQ(scope.filterPredicateWithCoreDataStack(stack, "john")->kind(), Predicate::Kind::False);
    EXPECT_EQ(scope.filterPredicateWithCoreDataStack(stack, "nobody")->kind(), Predicate::Kind::False);
}

TEST_F(SearchScopeStore, OrganisationScopeKeepsBusinessOrganisationsOnly) {
    insert("token", "QVACoreDataOrganization",
           {{{"itemId", "o1"}, {"name", "Green Energy"}, {"organizationType", "Business"}},
            {{"itemId", "o2"}, {"name", "Green Planet"}, {"organizationType", "NGO"}},
            {{"itemId", "o3"}, {"name", "Blue Water"}, {"organizationType", "Business"}}});
    auto scope = OrganizationSearchScopeModel::initWithPropertyName("name", "Name");
    EXPECT_EQ(ids("QVACoreDataOrganization", scope->filterPredicateWithCoreDataStack(stack, "green")),
              (std::set<std::string>{"o1"}));
    EXPECT_EQ(ids("QVACoreDataOrganization", scope->filterPredicateWithCoreDataStack(stack, "energy - green")),
              (std::set<std::string>{"o1"}));
}
