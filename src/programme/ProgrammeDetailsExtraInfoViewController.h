// The "Additional details" page of a session: the session header over a
// key-value table of the session's practical facts (type, whether spouses,
// press and a meal are included, cost, keyword, capacity). The type and the
// three Boolean rows are buttons that show the programme filtered by that
// fact: the tab bar's sessions on the pad, a new filtered session list
// pushed on the phone. The table stays hidden until a session fills it.
// Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsWithListBaseViewController.h"

class KeyValueTableView;
class QVACoreDataBaseSession;
class QVASessionHeaderView;

namespace uikit {
class UIStoryboard;
}

class ProgrammeDetailsExtraInfoViewController : public DetailsWithListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsExtraInfoViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's table (weak).
    std::shared_ptr<KeyValueTableView> keyValueTableView() const { return keyValueTableView_.lock(); }
    void setKeyValueTableView(const std::shared_ptr<KeyValueTableView>& table) { keyValueTableView_ = table; }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }

    void loadView() override;
    // A stored session (of any kind): the header (installed once) filled, the
    // table prepared and filled. Anything else leaves the page as it is.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    // The rows' heights hold for the width they were measured at: a page
    // that has since taken another width (the pad's detail area, a rotation)
    // is filled again at the new one.
    void viewDidLayoutSubviews() override;
    // The rows for a session, or the table hidden for anything else; then the table's height.
    void setupKeyValueTableContentForObject(const std::shared_ptr<coredata::ManagedObject>& object);
    static std::string stringFromBool(bool value) { return value ? "Yes" : "No"; }

    std::string cellIdentifier() override { return "keyValueNormalCell"; }
    std::string className() const override { return "ProgrammeDetailsExtraInfoViewController"; }

private:
    // The programme filtered by one fact: the pad's tab bar is asked through
    // `onPad`; the phone pushes a session list with the filter of
    // `filterClassName` preset to `phoneValue`.
    void addFilterRow(const std::string& key, const Text& value, const std::string& phoneValue,
                      const std::string& filterClassName,
                      std::function<void(ProgrammeDetailsExtraInfoViewController& page)> onPad);
    void pushFilteredSessionList(const std::string& value, const std::string& filterClassName);

    std::weak_ptr<KeyValueTableView> keyValueTableView_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
};
