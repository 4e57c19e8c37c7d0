// The details screens' scenes: each makes its real screen, which keeps the
// inputs a list gives it and shows the object it finds.
#include <gtest/gtest.h>

#include "app/BaseViewController.h"
#include "app/DetailsScreenScenes.h"
#include "app/ShellTestSupport.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataSession.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"

namespace {

using foundation::Value;

// The list a details screen came from.
class TestSwipeParent : public uikit::UIViewController, public SwipeParentControllerProtocol {
public:
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned, const std::optional<std::string>&, const uikit::NSIndexPath&) override {
        return nullptr;
    }
    std::string className() const override { return "TestSwipeParent"; }
};

class DetailsScreenScenesTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        DetailsScreenScenes::addScenes(*uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName));
        openCurrent("details-token");
        parent_ = std::make_shared<TestSwipeParent>();
        window_ = std::make_shared<uikit::UIWindow>();
        window_->setRootViewController(uikit::UINavigationController::withRootViewController(parent_));
        window_->makeKeyAndVisible();
        settle();
    }
    void TearDown() override {
        window_->setRootViewController(nullptr);
        window_.reset();
        ShellTest::TearDown();
    }

    void push(const uikit::UIViewControllerPtr& screen) {
        parent_->navigationController()->pushViewController(screen, false);
        settle();
    }
    std::string dump() const { return uikit::describe(*window_); }

    std::shared_ptr<TestSwipeParent> parent_;
    std::shared_ptr<uikit::UIWindow> window_;
};

template <class T>
void expectSceneMakes() {
    auto screen = BaseViewController::instantiateViewController<T>();
    ASSERT_TRUE(screen) << *T::storyboardIdentifier();
    EXPECT_EQ(screen->className(), *T::storyboardIdentifier());
}

TEST_F(DetailsScreenScenesTest, EachSceneIsNamedAfterItsClass) {
    expectSceneMakes<ProgrammeDetailsViewController>();
    expectSceneMakes<ParticipantDetailsViewController>();
    expectSceneMakes<OrganizationDetailsViewController>();
}

// The participant's scene makes the real screen, which keeps its inputs and shows the participant.
TEST_F(DetailsScreenScenesTest, TheParticipantSceneShowsTheParticipant) {
    insert("details-token", QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("pa1")}, {"lastName", Value("Acme")}, {"fullName", Value("Jo Acme")}}});
    auto screen = BaseViewController::instantiateViewController<ParticipantDetailsViewController>();
    screen->setSelectionPropertyId("pa1");
    screen->setEntityName(std::string(QVACoreDataParticipant::kEntityName));
    screen->setIsSwipeEnabled(true);
    screen->setParentController(parent_);
    screen->setIndexPathInParentController(uikit::NSIndexPath::indexPathForRow(5, 2));
    push(screen);

    EXPECT_TRUE(screen->isSwipeEnabled());
    EXPECT_EQ(screen->indexPathInParentController(), uikit::NSIndexPath::indexPathForRow(5, 2));
    EXPECT_EQ(screen->participantFullName(), "Jo Acme");
    const std::string text = dump();
    EXPECT_NE(text.find("QVAParticipantHeaderView"), std::string::npos) << text;
}

// The organisation's scene makes the real screen, which shows the organisation it finds.
TEST_F(DetailsScreenScenesTest, TheOrganisationSceneShowsTheOrganisation) {
    insert("details-token", QVACoreDataOrganization::kEntityName,
           {{{"itemId", Value("o1")}, {"name", Value("Acme Ltd")}, {"commonName", Value("Acme")}}});
    auto screen = BaseViewController::instantiateViewController<OrganizationDetailsViewController>();
    screen->setSelectionPropertyId("o1");
    screen->setEntityName(std::string(QVACoreDataOrganization::kEntityName));
    push(screen);

    const std::string text = dump();
    for (const char* line : {"Organization details", "Acme Ltd", "OrganizationDetailsInfoViewController"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(DetailsScreenScenesTest, AMissingParticipantLeavesTheScreenEmpty) {
    auto screen = BaseViewController::instantiateViewController<ParticipantDetailsViewController>();
    screen->setSelectionPropertyId("gone");
    screen->setEntityName(std::string(QVACoreDataParticipant::kEntityName));
    push(screen);

    EXPECT_FALSE(screen->participantHeaderView());
    EXPECT_FALSE(screen->isSwipeEnabled());
}

}  // namespace
