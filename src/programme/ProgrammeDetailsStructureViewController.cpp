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
    auto container = sessionHeaderContainerView();
    if (!sessionHeaderView_ && container) {
        sessionHeaderView_ = std::dynamic_pointer_cast<QVASessionHeaderView>(QVADetailHeaderView::addHeaderViewToContainer(
            container, QVASessionHeaderView::getNibName(), QVASessionHeaderView::getHeaderHeight()));
        SessionPageLayout::fitHeaderToContainer(sessionHeaderView_);
        setDetailHeaderView(sessionHeaderView_);
    }
    if (sessionHeaderView_) {
        auto stack = coreDataStack();
        sessionHeaderView_->configureWithSession(session, stack ? stack->managedObjectContextMainQueue() : nullptr);
    }
    structureWebView_->loadHTMLString(foundation::Format(kHtmlFormat, session->sessionStructure().value_or("")),
                                      std::nullopt);
}
