// The recorded proxy values and their application by specificity.
#include "uikit/UIAppearance.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIView.h"

namespace uikit {
namespace {

struct Entry {
    UIAppearance::ClassTest target;
    std::vector<UIAppearance::ClassTest> containers;
    std::string key;
    UIAppearance::Applier apply;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

bool sameChain(const std::vector<UIAppearance::ClassTest>& a, const std::vector<UIAppearance::ClassTest>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.type == y.type; });
}

// The chain's classes appear among the containers in order, innermost first.
bool chainMatches(const std::vector<UIAppearance::ClassTest>& chain,
                  const std::vector<foundation::ObjectPtr>& containers) {
    size_t next = 0;
    for (const auto& container : containers) {
        if (next == chain.size()) break;
        if (container && chain[next].test(*container)) ++next;
    }
    return next == chain.size();
}

void requireMainForAppearance() { foundation::requireMainThread("UIAppearance is used from the main thread only"); }

}  // namespace

void UIAppearance::record(ClassTest target, std::vector<ClassTest> containers, const std::string& key,
                          Applier apply) {
    requireMainForAppearance();
    auto& list = entries();
    std::erase_if(list, [&](const Entry& e) {
        return e.key == key && e.target.type == target.type && sameChain(e.containers, containers);
    });
    list.push_back({std::move(target), std::move(containers), key, std::move(apply)});
}

std::vector<foundation::ObjectPtr> UIAppearance::containerChain(const UIView& view) {
    std::vector<foundation::ObjectPtr> chain;
    auto add = [&](const UIView& v) {
        if (auto controller = v.viewController()) chain.push_back(controller);
        if (auto container = v.appearanceContainer()) chain.push_back(container);
    };
    // The view's own controller and container sit outside the view.
    add(view);
    for (auto v = view.superview(); v; v = v->superview()) {
        chain.push_back(v);
        add(*v);
    }
    return chain;
}

void UIAppearance::applyTo(UIView& view) { applyTo(view, view, containerChain(view)); }

void UIAppearance::applyTo(foundation::Object& object, UIAppearanceCustomizable& customizable,
                           const std::vector<foundation::ObjectPtr>& containers) {
    requireMainForAppearance();
    std::vector<const Entry*> matching;
    for (const auto& entry : entries()) {
        if (!entry.target.test(object)) continue;
        if (customizable.isAppearancePropertySet(entry.key)) continue;
        if (!chainMatches(entry.containers, containers)) continue;
        matching.push_back(&entry);
    }
    // Longer chains are more specific and apply last; equal ones keep the
    // order they were recorded in.
    std::stable_sort(matching.begin(), matching.end(),
                     [](const Entry* a, const Entry* b) { return a->containers.size() < b->containers.size(); });
    customizable.applyingAppearance_ = true;
    for (const Entry* entry : matching) entry->apply(object);
    customizable.applyingAppearance_ = false;
}

void UIAppearance::resetForTests() {
    requireMainForAppearance();
    entries().clear();
}

}  // namespace uikit
