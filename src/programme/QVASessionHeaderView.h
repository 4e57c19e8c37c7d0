// The session header of the session pages (extra info, recommendations,
// feedback), standing in until the session detail screen's own header
// exists: its nib "QVASessionHeaderView" lays out a background picture and
// three labels (name, day and time, location) over 200 points, and
// configureWithSessionImageUrl fills them and records the call, so tests
// read what a page handed it and the screen dump shows the texts.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/StubScreen.h"
#include "lists/QVADetailHeaderView.h"

class QVACoreDataBaseSession;
namespace coredata {
class ManagedObjectContext;
}
namespace uikit {
class UILabel;
}

class QVASessionHeaderView : public QVADetailHeaderView, public StubScreen {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kNibName = "QVASessionHeaderView";
    static constexpr int kHeaderHeight = 200;

    using QVADetailHeaderView::QVADetailHeaderView;

    static int getHeaderHeight() { return kHeaderHeight; }
    // The nib's name; naming it registers the nib.
    static std::string getNibName();

    // Image address (or none), title, day-and-time text, location text.
    void configureWithSessionImageUrl(const Text& imageUrl, const Text& sessionName, const Text& sessionDate,
                                      const Text& sessionLocation);

    // What every session page shows: no picture, the title, the day and
    // time, and the location as read in `context`; all empty without a
    // session.
    void configureWithSession(const std::shared_ptr<QVACoreDataBaseSession>& session,
                              const std::shared_ptr<coredata::ManagedObjectContext>& context);

    int getHeaderBackgroundImageHeight() override;
    std::string getNavigationBarTitle() override;
    void didScrollWithOffset(double offset) override { (void)offset; }

    const std::shared_ptr<uikit::UILabel>& sessionNameLabel() const { return sessionNameLabel_; }
    const std::shared_ptr<uikit::UILabel>& sessionDateLabel() const { return sessionDateLabel_; }
    const std::shared_ptr<uikit::UILabel>& sessionLocationLabel() const { return sessionLocationLabel_; }

    std::string className() const override { return "QVASessionHeaderView"; }

private:
    static std::vector<foundation::ObjectPtr> loadNib(const foundation::ObjectPtr& owner);

    std::shared_ptr<uikit::UILabel> sessionNameLabel_;
    std::shared_ptr<uikit::UILabel> sessionDateLabel_;
    std::shared_ptr<uikit::UILabel> sessionLocationLabel_;
};
