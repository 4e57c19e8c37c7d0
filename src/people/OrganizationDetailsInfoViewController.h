// The body of an organisation's details: a key-value table of its contact
// data, whose e-mail, phone (on the phone only) and website rows act, over
// the organisation's participants on site, a list that does not scroll (the
// whole details page does) and takes 24 points and 80 per participant, the
// participant cell's own height.
// The page fills itself from the organisation its container hands it, and
// on load from the organisation it finds itself. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsPageProtocol.h"
#include "messageui/MFMailComposeViewController.h"
#include "people/EmbeddedParticipantsListViewController.h"

class KeyValueTableView;
class QVACoreDataOrganization;

namespace coredata {
class ManagedObject;
}

namespace uikit {
class NSLayoutConstraint;
class UIStoryboard;
}  // namespace uikit

class OrganizationDetailsInfoViewController : public EmbeddedParticipantsListViewController,
                                              public DetailsPageProtocol,
                                              public messageui::MFMailComposeViewControllerDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "OrganizationDetailsInfoViewController";
    static constexpr const char* kNotAvailable = "N/A";
    static constexpr const char* kPadProfileKey = "organization profile";
    static constexpr double kParticipantsHeaderHeight = 24;

    OrganizationDetailsInfoViewController();

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // Outlets.
    std::shared_ptr<KeyValueTableView> keyValueTableView() const { return keyValueTableView_.lock(); }
    const std::shared_ptr<uikit::NSLayoutConstraint>& participantsTableViewHeightConstraint() const {
        return participantsTableViewHeightConstraint_;
    }
    // The composer while it is shown.
    const std::shared_ptr<messageui::MFMailComposeViewController>& mfmcvc() const { return mfmcvc_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation, double duration) override;

    // The first stored organisation matching filterPredicateForObservedEntityType, or null.
    std::shared_ptr<QVACoreDataOrganization> currentObject();
    // "%K = %d" with the entity's comparison key and the id's value when the
    // id is made of decimal digits only, else "%K = %@" with the id.
    std::shared_ptr<const coredata::Predicate> filterPredicateForObservedEntityType(const std::string& entityName);
    // "topLevelOrganizationId=%@" of the shown organisation; FALSE without one.
    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;

    bool implementsUpdateUIContentForObject() const override { return true; }
    // The key-value rows, the participants rebuilt and their area sized.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void setupKeyValueTableContentForObject(const std::shared_ptr<QVACoreDataOrganization>& organization);

    static std::string getNAforNilOrEmptyFor(const Text& text);
    // address, city, zipCode, poBox and country, the non-empty ones joined by ", "; none when all are empty.
    static Text buildOrganizationAddressFromCoreDataObject(const QVACoreDataOrganization& organization);
    // The address a website row opens: unchanged with a scheme, else with "http://" in front.
    static std::string websiteAddress(const std::string& website);

    // The height the page needs: the key-value rows over the participant area.
    double contentHeight() const;

    void mailComposeController(messageui::MFMailComposeViewController& controller,
                               messageui::MFMailComposeResult didFinishWithResult, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "OrganizationDetailsInfoViewController"; }

private:
    void composeMailTo(const std::string& address);
    void layoutTables();

    std::weak_ptr<KeyValueTableView> keyValueTableView_;
    std::shared_ptr<uikit::NSLayoutConstraint> keyValueTableHeightConstraint_;
    std::shared_ptr<uikit::NSLayoutConstraint> participantsTableViewHeightConstraint_;
    std::shared_ptr<messageui::MFMailComposeViewController> mfmcvc_;
    std::shared_ptr<QVACoreDataOrganization> shownOrganization_;
};
