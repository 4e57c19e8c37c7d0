#include "lists/DetailsBarLook.h"

#include <map>
#include <optional>

#include "uikit/NSAttributedString.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"

namespace DetailsBarLook {

namespace {

struct Look {
    uikit::UIImagePtr background;
    uikit::UIImagePtr shadow;
    bool translucent = true;
    std::optional<graphics::Color> backgroundColor;
    uikit::TextAttributes title;
};

struct Holding {
    std::weak_ptr<uikit::UINavigationBar> bar;  // a later bar may reuse the address
    std::optional<Look> look;
    int holders = 0;
};

std::map<const uikit::UINavigationBar*, Holding>& holdings() {
    static std::map<const uikit::UINavigationBar*, Holding> map;
    return map;
}

Holding& holdingOf(const std::shared_ptr<uikit::UINavigationBar>& bar) {
    Holding& holding = holdings()[bar.get()];
    if (holding.bar.lock() != bar) holding = Holding{bar, std::nullopt, 0};
    return holding;
}

void keepLook(Holding& holding, const uikit::UINavigationBar& bar) {
    if (holding.look) return;
    holding.look = Look{bar.backgroundImageForBarMetrics(uikit::UIBarMetrics::Default), bar.shadowImage(),
                        bar.isTranslucent(), bar.backgroundColor(), bar.titleTextAttributes()};
}

void applyLook(uikit::UINavigationBar& bar, const Look& look) {
    bar.setBackgroundImage(look.background, uikit::UIBarMetrics::Default);
    bar.setShadowImage(look.shadow);
    bar.setTranslucent(look.translucent);
    bar.setBackgroundColor(look.backgroundColor);
    bar.setTitleTextAttributes(look.title);
}

}  // namespace

void keep(const std::shared_ptr<uikit::UINavigationBar>& bar) {
    if (!bar) return;
    keepLook(holdingOf(bar), *bar);
}

void hold(const std::shared_ptr<uikit::UINavigationBar>& bar) {
    if (!bar) return;
    Holding& holding = holdingOf(bar);
    keepLook(holding, *bar);
    ++holding.holders;
}

void showKept(const std::shared_ptr<uikit::UINavigationBar>& bar) {
    if (!bar) return;
    Holding& holding = holdingOf(bar);
    keepLook(holding, *bar);
    applyLook(*bar, *holding.look);
}

void release(const std::shared_ptr<uikit::UINavigationBar>& bar) {
    if (!bar) return;
    auto it = holdings().find(bar.get());
    if (it == holdings().end() || it->second.bar.lock() != bar) return;
    Holding& holding = it->second;
    if (--holding.holders > 0) return;
    if (const auto& look = holding.look) applyLook(*bar, *look);
    holdings().erase(it);
}

}  // namespace DetailsBarLook
