// The views of the login screens as their storyboard scenes lay them out:
// the launch picture filling the screen, and a centred column (the whole
// width on the phone, 440 points on the pad) holding the prompt, the form
// table and the note, below the band the demo-row picker may take.
#pragma once

#include <memory>
#include <string>

namespace uikit {
class UIImageView;
class UILabel;
class UITableView;
class UIView;
class UIWebView;
}  // namespace uikit

class LoginViewLayout {
public:
    explicit LoginViewLayout(uikit::UIView& view);

    std::shared_ptr<uikit::UIImageView> addBackground(const std::string& imageName);
    std::shared_ptr<uikit::UILabel> addLabel();
    // A grouped table of that content height, below the label when there is one.
    std::shared_ptr<uikit::UITableView> addTable(double contentHeight);
    std::shared_ptr<uikit::UIWebView> addNote();

private:
    uikit::UIView& view_;
    double columnX_;
    double columnWidth_;
    double nextY_;
};
