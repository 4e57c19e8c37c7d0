// The layout the web pages of a session share: a container for the session
// header across the top and a web view filling the rest, both following the
// page's width (and the web view its height). The page's view comes from its
// scene, with the swipe recognisers, or is made here when the page was made
// outside a storyboard.
#pragma once

#include <memory>
#include <string>

class DetailsWithListBaseViewController;
class QVACoreDataBaseSession;
class QVASessionHeaderView;
namespace uikit {
class UITableView;
class UIView;
class UIViewController;
class UIWebView;
}  // namespace uikit

namespace SessionPageLayout {

struct WebPage {
    std::shared_ptr<uikit::UIView> headerContainer;
    std::shared_ptr<uikit::UIWebView> webView;
};

// Call from loadView after the base's: installs the view when the scene gave
// none, and adds the two named subviews.
WebPage addHeaderAndWebView(uikit::UIViewController& page, double headerHeight, const std::string& webViewOutlet);
// The header installed in the container follows its width (the page takes
// the screen's width after loading), and is named in the screen's dump.
void fitHeaderToContainer(const std::shared_ptr<uikit::UIView>& header);

// The session header of a page: made once, as the table's header or in the
// container (fitted to it), and the page's header from then on; filled with
// the session (nil clears it) from the page's store on every call.
void showSessionHeaderOnTable(DetailsWithListBaseViewController& page, std::shared_ptr<QVASessionHeaderView>& header,
                              const std::shared_ptr<uikit::UITableView>& table,
                              const std::shared_ptr<QVACoreDataBaseSession>& session);
void showSessionHeaderInContainer(DetailsWithListBaseViewController& page,
                                  std::shared_ptr<QVASessionHeaderView>& header,
                                  const std::shared_ptr<uikit::UIView>& container,
                                  const std::shared_ptr<QVACoreDataBaseSession>& session);

}  // namespace SessionPageLayout
