// What the user-name and passcode login screens (and the forgotten-password
// screen's progress alert) share: the background picture by screen height
// and orientation, the HTML note's loading and its "login:" links, the form
// table's field and button rows, and the progress alert with its spinner.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace foundation {
class URLRequest;
}
namespace uikit {
class UIImageView;
class UITableViewCell;
class UITextFieldDelegate;
class UIWebView;
}  // namespace uikit
class CustomTextField;
class UIBlockAlertView;

namespace LoginScreenSupport {

inline constexpr const char* kCellIdentifier = "Cell_login_user";
inline constexpr double kRowHeight = 44;
// The pictures of the user-name screen have no prefix, the passcode screen's "non_orvane_".
inline constexpr const char* kUsernameImagePrefix = "";
inline constexpr const char* kPasscodeImagePrefix = "non_orvane_";

// The background for the present screen and status-bar orientation; nothing
// when the storyboard's picture stays (a phone of another height).
std::optional<std::string> backgroundImageName(const std::string& prefix);
// Sets it on the image view when there is one.
void applyBackgroundImage(uikit::UIImageView& backgroundView, const std::string& prefix);

// Loads the note (a format with one "%d" for the font size) with the main
// bundle as base; the note's page neither scrolls nor bounces.
void loadNote(uikit::UIWebView& webView, const char* htmlFormat);
// The link's target after "login:", when the request is such a link.
std::optional<std::string> loginLinkTarget(const foundation::URLRequest& request);

// A new cell of the form table.
std::shared_ptr<uikit::UITableViewCell> makeCell();
// A new field in the cell's content view at the form's frame, empty, with
// the delegate; no selection highlight on the cell.
std::shared_ptr<CustomTextField> addField(uikit::UITableViewCell& cell, const std::string& placeholder, bool secure,
                                          const std::shared_ptr<uikit::UITextFieldDelegate>& delegate);
// The blue "Login" row.
void configureButtonCell(uikit::UITableViewCell& cell);

// Shows a progress alert with that title and an animating spinner at
// (139.5, 70.5); returns it.
std::shared_ptr<UIBlockAlertView> showProgressAlert(const std::string& title);

}  // namespace LoginScreenSupport
