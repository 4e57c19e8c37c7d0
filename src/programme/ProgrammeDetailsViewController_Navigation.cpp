// The navigation rows of the session detail screen and the push of the page
// a row opens. Each page receives this screen's object and its place in the
// parent list, so that a swipe on the page steps through the same list the
// screen was opened from.
#include <memory>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "foundation/Log.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataSession.h"
#include "model/QVARecommendedSession.h"
#include "model/QVASession.h"
#include "model/QVASessionInsight.h"
#include "model/ModelReading.h"
#include "programme/ListSessionsBaseDelegate.h"
#include "programme/ProgrammeDetailsExtraInfoViewController.h"
#include "programme/ProgrammeDetailsFeedbackViewController.h"
#include "programme/ProgrammeDetailsInsightViewController.h"
#include "programme/ProgrammeDetailsStructureViewController.h"
#include "programme/ProgrammeDetailsVideoViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/ProgrammeDetailsVotingViewController.h"
#include "programme/SessionPageAnalytics.h"
#include "programme/SessionRecommendationsViewController.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UINavigationController.h"

namespace {

using Text = std::optional<std::string>;

bool programmeNavigationHasText(const Text& text) { return text && !text->empty(); }

struct ProgrammeNavigationRowFields {
    const char* cellTitle;
    std::string storyboardIdentifier;
    ViewControllerClass controllerClass;
    const char* iconName;
    const char* pageTitle;
    Text entityName;
    Text analyticsPayload;
    bool enabled;
};

DetailsNavigationDataModelPtr makeProgrammeNavigationRow(ProgrammeNavigationRowFields fields, const Text& selectionId) {
    auto row = std::make_shared<DetailsNavigationDataModel>();
    row->cellTitle = std::string(fields.cellTitle);
    row->storyboardIdentifier = std::move(fields.storyboardIdentifier);
    row->controllerClassType = std::move(fields.controllerClass);
    row->iconName = std::string(fields.iconName);
    row->viewControllerTitle = std::string(fields.pageTitle);
    row->entityName = std::move(fields.entityName);
    row->analyticsPayload = std::move(fields.analyticsPayload);
    row->selectionPropertyId = selectionId;
    row->isNavigationEnabled = fields.enabled;
    return row;
}

template <class Page>
ViewControllerClass programmeNavigationPageClass(const char* name) {
    return ViewControllerClass::of<Page>(name);
}

bool programmeNavigationHasInsights(const QVACoreDataBaseSession& session) {
    const foundation::Value row(foundation::ValueDictionary{{"insights", session.valueForKey("insights")}});
    return !ModelReading::FieldReader(row).archivedObjects<QVASessionInsight>("insights").empty();
}

}  // namespace

void ProgrammeDetailsViewController::createNavigationDataSourceForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    if (!object) return;
    foundation::Log("createNavigationDataSourceForObject for %@ with currentObject %@", className(), object->description());
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    const Text payload = getSessionNameForObject(object);
    const bool online = Utils::isInternetReachable();
    auto stack = coreDataStack();
    const Text baseSessionEntity = std::string(QVACoreDataBaseSession::kEntityName);
    const Text id = selectionPropertyId();
    std::vector<DetailsNavigationDataModelPtr> rows;

    rows.push_back(makeProgrammeNavigationRow(
        {"Additional details", ProgrammeDetailsExtraInfoViewController::kStoryboardIdentifier,
         programmeNavigationPageClass<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController"),
         "icon_additional_details.png", "Additional details", entityName(), std::nullopt, true},
        id));
    if (session && programmeNavigationHasText(session->webcastUrl()))
        rows.push_back(makeProgrammeNavigationRow(
            {"Live video", ProgrammeDetailsVideoViewController::kStoryboardIdentifier,
             programmeNavigationPageClass<ProgrammeDetailsVideoViewController>("ProgrammeDetailsVideoViewController"),
             "icon_live_video.png", "Live video", baseSessionEntity, payload, true},
            id));
    rows.push_back(makeProgrammeNavigationRow(
        {"Summary", ProgrammeDetailsInsightViewController::kStoryboardIdentifier,
         programmeNavigationPageClass<ProgrammeDetailsInsightViewController>("ProgrammeDetailsInsightViewController"),
         "icon_summary.png", "Summary", std::nullopt, payload, session && programmeNavigationHasInsights(*session)},
        id));
    if (stack && FetchRequestUtils::hasEventRecommendationsPermissionGrantedInContext(stack->managedObjectContextMainQueue())) {
        auto row = makeProgrammeNavigationRow(
            {"Also recommended...", SessionRecommendationsViewController::kStoryboardIdentifier,
             programmeNavigationPageClass<SessionRecommendationsViewController>("SessionRecommendationsViewController"),
             "icon_also_recommended.png", SessionRecommendationsViewController::kTitle, std::nullopt, payload, true},
            id);
        row->controllerListDelegateClassType = ListDelegateClass::of<ListSessionsBaseDelegate>("ListSessionsBaseDelegate");
        rows.push_back(row);
        setSessionRecommendationsListOnRecommendationModel(row);
    }
    if (online && session && session->feedbackUrl())
        rows.push_back(makeProgrammeNavigationRow(
            {"Feedback", ProgrammeDetailsFeedbackViewController::kStoryboardIdentifier,
             programmeNavigationPageClass<ProgrammeDetailsFeedbackViewController>("ProgrammeDetailsFeedbackViewController"),
             "icon_feedback.png", "Feedback", baseSessionEntity, payload, canShowFeedbackForObject(object)},
            id));
    if (session && programmeNavigationHasText(session->sessionStructure()))
        rows.push_back(makeProgrammeNavigationRow(
            {"Structure", ProgrammeDetailsStructureViewController::kStoryboardIdentifier,
             programmeNavigationPageClass<ProgrammeDetailsStructureViewController>("ProgrammeDetailsStructureViewController"),
             "icon_structure.png", "Structure", entityName(), payload, true},
            id));
    if (session && session->votingUrl())
        rows.push_back(makeProgrammeNavigationRow(
            {"Voting", ProgrammeDetailsVotingViewController::kStoryboardIdentifier,
             programmeNavigationPageClass<ProgrammeDetailsVotingViewController>("ProgrammeDetailsVotingViewController"),
             "icon_voting.png", "Voting", entityName(), payload, online},
            id));
    navigationRows_ = std::move(rows);
}

bool ProgrammeDetailsViewController::canShowFeedbackForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    if (!session) return false;
    const auto start = DateHelper::dateFromServer(session->valueForKey("startDatetime"), true);
    if (!start) return false;
    return *start < foundation::Date::now() || DateHelper::isDateToday(*start);
}

void ProgrammeDetailsViewController::setSessionRecommendationsListOnRecommendationModel(
    const DetailsNavigationDataModelPtr& model) {
    if (!model) return;
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    QVAApiManager::sharedApiManager().getRecommendedSessionsForSessionId(
        selectionPropertyId(), settings.currentAuthToken(), settings.currentEventId(),
        [model](const foundation::ErrorPtr& error, const foundation::Value& answer) {
            if (error) {
                Utils::handleError(error, kRecommendationsFailedTitle, std::nullopt, false);
                return;
            }
            const auto* items = answer.array();
            if (!items || items->empty()) return;
            foundation::Value::Array ids;
            for (const auto& item : *items)
                if (auto recommended = item.objectAs<QVARecommendedSession>())
                    if (recommended->itemId()) ids.push_back(foundation::Value(*recommended->itemId()));
            FilterFetching::Query query;
            query.entityName = QVACoreDataSession::kEntityName;
            query.predicate = coredata::Predicate::withFormat("itemId IN %@", foundation::Value(std::move(ids)));
            std::vector<foundation::ObjectPtr> sessions;
            for (const auto& stored : FilterFetching::fetchDictionaries(FilterFetching::currentStack(), query))
                if (auto recommended = QVASession::initWithCoreDataDictionary(stored)) sessions.push_back(recommended);
            if (!sessions.empty()) model->extraInfo = std::move(sessions);
        });
}

void ProgrammeDetailsViewController::pushNavigationWithDetailsDataModel(const DetailsNavigationDataModelPtr& model) {
    if (!model || !model->isNavigationEnabled) return;
    auto page = BaseViewController::instantiateViewControllerWithStoryboardIdentifier(model->storyboardIdentifier);
    auto navigation = navigationController();
    if (!page || !navigation) return;
    if (model->controllerListDelegateClassType)
        if (auto list = std::dynamic_pointer_cast<LiteListBaseViewController>(page))
            list->setListDelegate(model->controllerListDelegateClassType.make());
    // Without the list a swipe on the page would have no neighbour to ask for.
    if (auto* details = dynamic_cast<DetailsScreenSupport*>(page.get())) details->setInputs(inputs());
    if (auto recommendations = std::dynamic_pointer_cast<SessionRecommendationsViewController>(page)) {
        if (!model->extraInfo.empty()) {
            SessionRecommendationsViewController::Sessions sessions;
            for (const auto& item : model->extraInfo)
                if (auto recommended = std::dynamic_pointer_cast<QVASession>(item)) sessions.push_back(recommended);
            recommendations->setExtraInfo(std::move(sessions));
        }
        if (model->analyticsPayload) recommendations->setAnalyticsPayload(model->analyticsPayload);
    }
    if (model->analyticsPayload) {
        if (auto* sessionPage = dynamic_cast<SessionPageAnalytics*>(page.get()))
            sessionPage->setAnalyticsPayload(model->analyticsPayload);
        if (auto feedback = std::dynamic_pointer_cast<ProgrammeDetailsFeedbackViewController>(page))
            feedback->setAnalyticsPayload(model->analyticsPayload);
    }
    if (model->viewControllerTitle) page->setTitle(model->viewControllerTitle);
    navigation->pushViewController(page, true);
}
