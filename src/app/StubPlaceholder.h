// The one screen a stand-in container shows: a plain screen with a title.
#pragma once

#include <optional>
#include <string>

#include "uikit/UIViewController.h"

namespace StubPlaceholder {

uikit::UIViewControllerPtr screenWithTitle(const std::string& title);
// Paints a stand-in screen's view white, as the screens it stands for are.
void paintWhite(uikit::UIViewController& screen);
// "NO" or "YES", as the recorded calls print a flag.
const char* flag(bool value);
// The text as recorded: quoted, or nil.
std::string text(const std::optional<std::string>& value);
// The text unquoted, or nil, as the screen dump's items show it.
std::string plainText(const std::optional<std::string>& value);

}  // namespace StubPlaceholder
