// View animations on the clock: the block runs at once, the record is kept,
// and a main-loop timer runs the completion when delay + duration have passed.
#include <cstdint>
#include <optional>

#include "foundation/MainThreadChecker.h"
#include "foundation/Timer.h"
#include "uikit/UIView.h"

namespace uikit {
namespace {

std::vector<UIViewAnimationRecord>& records() {
    static std::vector<UIViewAnimationRecord> list;
    return list;
}

// Counts the clears, so that a completion never marks a record of a later list.
uint64_t& clears() {
    static uint64_t count = 0;
    return count;
}

int& withoutAnimationDepth() {
    static int depth = 0;
    return depth;
}

void requireMainForViewAnimation() { foundation::requireMainThread("UIView animations run on the main thread only"); }

void run(UIViewAnimationRecord record, const std::function<void()>& animations,
         std::function<void(bool)> completion) {
    requireMainForViewAnimation();
    double wait = record.delay + record.duration;
    std::optional<size_t> index;
    if (withoutAnimationDepth() > 0) {
        wait = 0;
    } else {
        records().push_back(record);
        index = records().size() - 1;
    }
    if (animations) animations();
    foundation::Timer::scheduledTimerWithTimeInterval(
        wait < 0 ? 0 : wait, false, [index, epoch = clears(), completion = std::move(completion)](foundation::Timer&) {
            if (index && epoch == clears()) records()[*index].finished = true;
            if (completion) completion(true);
        });
}

}  // namespace

void UIView::animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                 std::function<void()> animations, std::function<void(bool)> completion) {
    UIViewAnimationRecord record;
    record.duration = duration;
    record.delay = delay;
    record.options = options;
    run(record, animations, std::move(completion));
}

void UIView::animateWithDuration(double duration, std::function<void()> animations,
                                 std::function<void(bool)> completion) {
    animateWithDuration(duration, 0, 0, std::move(animations), std::move(completion));
}

void UIView::transitionWithView(const UIViewPtr& view, double duration, UIViewAnimationOptions options,
                                std::function<void()> animations, std::function<void(bool)> completion) {
    UIViewAnimationRecord record;
    record.kind = UIViewAnimationKind::Transition;
    record.duration = duration;
    record.options = options;
    record.view = view;
    run(record, animations, std::move(completion));
}

void UIView::performWithoutAnimation(const std::function<void()>& actions) {
    requireMainForViewAnimation();
    ++withoutAnimationDepth();
    try {
        if (actions) actions();
    } catch (...) {
        --withoutAnimationDepth();
        throw;
    }
    --withoutAnimationDepth();
}

const std::vector<UIViewAnimationRecord>& UIView::recordedAnimations() {
    requireMainForViewAnimation();
    return records();
}

void UIView::clearRecordedAnimations() {
    requireMainForViewAnimation();
    records().clear();
    ++clears();
}

}  // namespace uikit
