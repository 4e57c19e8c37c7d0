// The stack of shown alerts and action sheets, and answering its front.
#include "uikit/AlertStack.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/UIAlertView.h"

namespace uikit {
namespace {

void requireMainForAlertStack() {
    foundation::requireMainThread("Alerts and action sheets are used from the main thread only");
}

}  // namespace

AlertStack& AlertStack::shared() {
    static AlertStack stack;
    return stack;
}

std::vector<AlertStackEntryPtr> AlertStack::entries() const {
    requireMainForAlertStack();
    return entries_;
}

AlertStackEntryPtr AlertStack::front() const {
    requireMainForAlertStack();
    return entries_.empty() ? nullptr : entries_.back();
}

std::vector<std::shared_ptr<UIAlertView>> AlertStack::alertViews() const {
    requireMainForAlertStack();
    std::vector<std::shared_ptr<UIAlertView>> alerts;
    for (const auto& entry : entries_)
        if (auto alert = std::dynamic_pointer_cast<UIAlertView>(entry)) alerts.push_back(std::move(alert));
    return alerts;
}

bool AlertStack::tapButtonAtIndex(int64_t buttonIndex) {
    auto entry = front();
    if (!entry || buttonIndex < 0 || buttonIndex >= entry->numberOfButtons()) return false;
    entry->tapButtonAtIndex(buttonIndex);
    return true;
}

bool AlertStack::tapButtonWithTitle(const std::string& title) {
    auto entry = front();
    if (!entry) return false;
    return tapButtonAtIndex(entry->indexOfButtonWithTitle(title));
}

void AlertStack::reset() {
    requireMainForAlertStack();
    auto dropped = std::move(entries_);
    entries_.clear();
    for (const auto& entry : dropped) entry->dropFromScreen();
}

void AlertStack::push(AlertStackEntryPtr entry) {
    requireMainForAlertStack();
    entries_.push_back(std::move(entry));
}

void AlertStack::remove(const AlertStackEntry& entry) {
    requireMainForAlertStack();
    std::erase_if(entries_, [&](const auto& shown) { return shown.get() == &entry; });
}

}  // namespace uikit
