// Controllers that write their appearance callbacks, parent moves and
// destruction into one shared journal, so a test can read the order in which
// the platform's callbacks came.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../dispatch/VirtualTime.h"
#include "foundation/RunLoop.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

namespace uikit_test {

using Journal = std::shared_ptr<std::vector<std::string>>;

inline Journal makeJournal() { return std::make_shared<std::vector<std::string>>(); }

template <class Base>
class Journaled : public Base {
public:
    template <class... A>
    explicit Journaled(std::string name, Journal journal, A&&... args)
        : Base(std::forward<A>(args)...), name_(std::move(name)), journal_(std::move(journal)) {}
    ~Journaled() override { note("dealloc"); }

    void viewDidLoad() override { note("viewDidLoad"); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    void willMoveToParentViewController(uikit::UIViewController* parent) override {
        note(parent ? "willMove" : "willMove(nil)");
    }
    void didMoveToParentViewController(uikit::UIViewController* parent) override {
        note(parent ? "didMove" : "didMove(nil)");
    }
    void viewDidLayoutSubviews() override { ++layouts; }

    const std::string& name() const { return name_; }
    int layouts = 0;

private:
    void note(const std::string& what) { journal_->push_back(name_ + " " + what); }

    std::string name_;
    Journal journal_;
};

using JournaledController = Journaled<uikit::UIViewController>;

// One turn of the main run loop: what was posted so far runs.
inline void nextTurn() { foundation::RunLoop::main().runDueTasks(); }

// A test on the key window of a freshly reset application on one device,
// with a journal for its controllers; the window's tree is released (and its
// destructors journaled) before the next test.
class WindowTest : public VirtualTime {
protected:
    explicit WindowTest(uikit::DeviceProfile profile = uikit::DeviceProfile::iPhone6()) : profile_(profile) {}
    void SetUp() override {
        VirtualTime::SetUp();
        uikit::UIApplication::sharedApplication().resetForTests();
        uikit::DeviceProfile::apply(profile_);
        window = uikit::UIApplication::sharedApplication().keyWindow();
    }
    void TearDown() override {
        window->setRootViewController(nullptr);
        nextTurn();
        uikit::UIApplication::sharedApplication().resetForTests();
        VirtualTime::TearDown();
    }

    Journal journal = makeJournal();
    uikit::UIWindowPtr window;

private:
    uikit::DeviceProfile profile_;
};

}  // namespace uikit_test
