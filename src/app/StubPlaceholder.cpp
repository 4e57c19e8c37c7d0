#include "app/StubPlaceholder.h"

#include <utility>
#include <vector>

#include "uikit/UIColor.h"
#include "uikit/UIView.h"

namespace StubPlaceholder {

namespace {

// Shows, in the screen dump, what its stand-in container recorded.
class PlaceholderScreen : public uikit::UIViewController {
public:
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override {
        auto container = parentViewController();
        return container ? container->screenDescriptionItems() : std::vector<std::pair<std::string, std::string>>{};
    }
    std::string className() const override { return "StubPlaceholder"; }
};

}  // namespace

uikit::UIViewControllerPtr screenWithTitle(const std::string& title) {
    auto screen = std::make_shared<PlaceholderScreen>();
    screen->setTitle(title);
    paintWhite(*screen);
    return screen;
}

void paintWhite(uikit::UIViewController& screen) { screen.view()->setBackgroundColor(uikit::UIColor::whiteColor()); }

const char* flag(bool value) { return value ? "YES" : "NO"; }

std::string text(const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "nil"; }

std::string plainText(const std::optional<std::string>& value) { return value ? *value : std::string("nil"); }

}  // namespace StubPlaceholder
