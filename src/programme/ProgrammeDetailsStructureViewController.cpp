#include "programme/ProgrammeDetailsStructureViewController.h"

#include "coredata/ManagedObject.h"
#include "foundation/Format.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "store/CoreDataStack.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWebView.h"

void ProgrammeDetailsStructureViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsStructureViewController>(); });
}

void ProgrammeDetailsStructureViewController::loadView() {
    DetailsWithListBaseViewController::loadView();
    auto page = SessionPageLayout::addHeaderAndWebView(*this, QVASessionHeaderView::getHeaderHeight(), "structureWebView");
    sessionHeaderContainerView_ = page.headerContainer;
    structureWebView_ = page.webView;
}

void ProgrammeDetailsStructureViewController::viewDidLoad() {
    DetailsWithListBaseViewController::viewDidLoad();
    trackSessionPageEvent(kAnalyticsEvent, selectionPropertyId());
}

void ProgrammeDetailsStructureViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    if (!session || !structureWebView_) return;
    SessionPageLayout::showSessionHeaderInContainer(*this, sessionHeaderView_, sessionHeaderContainerView(), session);
    structureWebView_->loadHTMLString(foundation::Format(kHtmlFormat, session->sessionStructure().value_or("")),
                                      std::nullopt);
}
