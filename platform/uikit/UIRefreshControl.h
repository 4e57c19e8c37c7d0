// The pull-to-refresh control, as far as code drives it: whether it shows
// that a refresh runs, switched by beginRefreshing and endRefreshing.
#pragma once

#include <memory>

#include "uikit/UIControl.h"

namespace uikit {

class UIRefreshControl : public UIControl {
public:
    UIRefreshControl() = default;

    bool isRefreshing() const { return refreshing_; }
    void beginRefreshing() { refreshing_ = true; }
    void endRefreshing() { refreshing_ = false; }

    std::string className() const override { return "UIRefreshControl"; }

private:
    bool refreshing_ = false;
};

using UIRefreshControlPtr = std::shared_ptr<UIRefreshControl>;

}  // namespace uikit
