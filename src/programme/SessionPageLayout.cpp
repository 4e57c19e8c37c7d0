#include "programme/SessionPageLayout.h"

#include "lists/DetailsWithListBaseViewController.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/QVASessionHeaderView.h"
#include "store/CoreDataStack.h"
#include "uikit/UITableView.h"
#include "uikit/UIView.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWebView.h"

namespace SessionPageLayout {

namespace {

constexpr double kSessionPageWidth = 320;
constexpr double kSessionPageHeight = 480;

}  // namespace

WebPage addHeaderAndWebView(uikit::UIViewController& page, double headerHeight, const std::string& webViewOutlet) {
    if (!page.isViewLoaded()) {
        auto made = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, kSessionPageWidth, kSessionPageHeight));
        made->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
        page.setView(made);
    }
    const auto& root = page.view();
    root->setBackgroundColor(graphics::Color::white());
    const auto bounds = root->bounds();
    WebPage out;
    out.headerContainer = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, bounds.size.width, headerHeight));
    out.headerContainer->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    out.headerContainer->setOutletName(std::string("sessionHeaderContainerView"));
    out.webView = std::make_shared<uikit::UIWebView>(
        graphics::Rect(0, headerHeight, bounds.size.width, bounds.size.height - headerHeight));
    out.webView->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    out.webView->setOutletName(webViewOutlet);
    root->addSubview(out.headerContainer);
    root->addSubview(out.webView);
    return out;
}

void fitHeaderToContainer(const std::shared_ptr<uikit::UIView>& header) {
    if (!header) return;
    if (auto container = header->superview()) {
        auto frame = header->frame();
        frame.size.width = container->bounds().size.width;
        header->setFrame(frame);
    }
    header->setAutoresizingMask(header->autoresizingMask() | uikit::UIViewAutoresizingFlexibleWidth);
    header->setOutletName(std::string("sessionHeaderView"));
}

namespace {

void fillSessionHeader(DetailsWithListBaseViewController& page, const std::shared_ptr<QVASessionHeaderView>& header,
                       const std::shared_ptr<QVACoreDataBaseSession>& session) {
    if (!header) return;
    auto stack = page.coreDataStack();
    header->configureWithSession(session, stack ? stack->managedObjectContextMainQueue() : nullptr);
}

}  // namespace

void showSessionHeaderOnTable(DetailsWithListBaseViewController& page, std::shared_ptr<QVASessionHeaderView>& header,
                              const std::shared_ptr<uikit::UITableView>& table,
                              const std::shared_ptr<QVACoreDataBaseSession>& session) {
    if (!header && table) {
        header = std::dynamic_pointer_cast<QVASessionHeaderView>(QVADetailHeaderView::addHeaderToTableView(
            table, QVASessionHeaderView::getNibName(), QVASessionHeaderView::getHeaderHeight()));
        page.setDetailHeaderView(header);
    }
    fillSessionHeader(page, header, session);
}

void showSessionHeaderInContainer(DetailsWithListBaseViewController& page,
                                  std::shared_ptr<QVASessionHeaderView>& header,
                                  const std::shared_ptr<uikit::UIView>& container,
                                  const std::shared_ptr<QVACoreDataBaseSession>& session) {
    if (!header && container) {
        header = std::dynamic_pointer_cast<QVASessionHeaderView>(QVADetailHeaderView::addHeaderViewToContainer(
            container, QVASessionHeaderView::getNibName(), QVASessionHeaderView::getHeaderHeight()));
        fitHeaderToContainer(header);
        page.setDetailHeaderView(header);
    }
    fillSessionHeader(page, header, session);
}

}  // namespace SessionPageLayout
