// The alerts and action sheets on screen, for the whole application, in the
// order they were shown: the last one is in front and is the one a person can
// answer. Alerts and sheets put themselves on it when shown and take
// themselves off when dismissed; the stack keeps what it holds alive while it
// is on screen. UIApplication::visibleAlerts() answers the alerts among them.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/AlertStackEntry.h"

namespace uikit {

class UIAlertView;
class UIActionSheet;

class AlertStack {
public:
    static AlertStack& shared();
    AlertStack(const AlertStack&) = delete;
    AlertStack& operator=(const AlertStack&) = delete;

    // Oldest first.
    std::vector<AlertStackEntryPtr> entries() const;
    // The entry in front, or null.
    AlertStackEntryPtr front() const;
    // Only the alert views, oldest first.
    std::vector<std::shared_ptr<UIAlertView>> alertViews() const;
    bool empty() const { return entries_.empty(); }

    // A person's tap on a button of the entry in front. NO when nothing is
    // shown or it has no such button.
    bool tapButtonAtIndex(int64_t buttonIndex);
    bool tapButtonWithTitle(const std::string& title);

    // For tests: forgets everything shown, without telling anyone.
    void reset();

private:
    AlertStack() = default;
    friend class UIAlertView;
    friend class UIActionSheet;

    void push(AlertStackEntryPtr entry);
    void remove(const AlertStackEntry& entry);

    std::vector<AlertStackEntryPtr> entries_;
};

}  // namespace uikit
