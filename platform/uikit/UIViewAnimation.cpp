// View animations on the clock: the block runs at once, the record is kept,
// and a main-loop timer runs the completion when delay + duration have passed.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "foundation/Clock.h"
#include "foundation/MainThreadChecker.h"
#include "graphics/Layer.h"
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

// The animation whose block is running: when it starts and ends on the clock.
struct AnimationSpan {
    double start = 0;
    double end = 0;
    UIViewAnimationOptions options = 0;
};

std::optional<AnimationSpan>& currentSpan() {
    static std::optional<AnimationSpan> span;
    return span;
}

struct PropertyAnimation {
    std::weak_ptr<UIView> view;
    UIViewAnimatedProperty property = UIViewAnimatedProperty::Transform;
    AnimationSpan span;
    graphics::AffineTransform fromTransform;
    double fromAlpha = 1;
};

std::vector<PropertyAnimation>& propertyAnimations() {
    static std::vector<PropertyAnimation> list;
    return list;
}

// The share of the way done at `now`, by the animation's curve.
double progressOf(const AnimationSpan& span, double now) {
    if (now <= span.start) return 0;
    if (now >= span.end || span.end <= span.start) return 1;
    const double t = (now - span.start) / (span.end - span.start);
    switch (span.options & (UIViewAnimationOptions(3) << 16)) {
        case UIViewAnimationOptionCurveLinear: return t;
        case UIViewAnimationOptionCurveEaseIn: return t * t;
        case UIViewAnimationOptionCurveEaseOut: return 1 - (1 - t) * (1 - t);
        default: return t * t * (3 - 2 * t);
    }
}

double between(double from, double to, double f) { return from + (to - from) * f; }

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
    if (animations) {
        // Nested blocks keep their own span; the outer one comes back after.
        auto outer = currentSpan();
        const double now = foundation::Clock::now();
        if (withoutAnimationDepth() == 0 && record.duration > 0)
            currentSpan() = AnimationSpan{now + std::max(0.0, record.delay),
                                          now + std::max(0.0, record.delay) + record.duration, record.options};
        else
            currentSpan().reset();
        try {
            animations();
        } catch (...) {
            currentSpan() = outer;
            throw;
        }
        currentSpan() = outer;
    }
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

void recordAnimatedChange(UIView& view, UIViewAnimatedProperty property) {
    const auto& span = currentSpan();
    if (!span) return;
    auto& list = propertyAnimations();
    const double now = foundation::Clock::now();
    // Animations that ended, or whose view went, are forgotten here.
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const PropertyAnimation& a) { return a.view.expired() || a.span.end <= now; }),
               list.end());
    auto self = std::static_pointer_cast<UIView>(view.weak_from_this().lock());
    if (!self) return;
    PropertyAnimation animation{self, property, *span, view.layer()->affineTransform(), view.layer()->opacity()};
    // A property animated again starts from where it is shown now.
    for (auto& earlier : list) {
        if (earlier.view.lock() != self || earlier.property != property) continue;
        if (earlier.span.start == span->start && earlier.span.end == span->end) return;
        const double f = progressOf(earlier.span, now);
        const auto& to = view.layer()->affineTransform();
        const auto& from = earlier.fromTransform;
        animation.fromTransform = {between(from.a, to.a, f),   between(from.b, to.b, f),   between(from.c, to.c, f),
                                   between(from.d, to.d, f),   between(from.tx, to.tx, f), between(from.ty, to.ty, f)};
        animation.fromAlpha = between(earlier.fromAlpha, view.layer()->opacity(), f);
        earlier = animation;
        return;
    }
    list.push_back(animation);
}

struct UIViewPresentation::Saved {
    std::shared_ptr<UIView> view;
    UIViewAnimatedProperty property;
    graphics::AffineTransform transform;
    double alpha;
};

UIViewPresentation::UIViewPresentation() {
    requireMainForViewAnimation();
    const double now = foundation::Clock::now();
    for (const auto& animation : propertyAnimations()) {
        auto view = animation.view.lock();
        if (!view || now >= animation.span.end) continue;
        const auto& layer = view->layer();
        saved_.push_back({view, animation.property, layer->affineTransform(), layer->opacity()});
        const double f = progressOf(animation.span, now);
        if (animation.property == UIViewAnimatedProperty::Transform) {
            const auto& from = animation.fromTransform;
            const auto to = layer->affineTransform();
            layer->setAffineTransform({between(from.a, to.a, f), between(from.b, to.b, f), between(from.c, to.c, f),
                                       between(from.d, to.d, f), between(from.tx, to.tx, f),
                                       between(from.ty, to.ty, f)});
        } else {
            layer->setOpacity(between(animation.fromAlpha, layer->opacity(), f));
        }
    }
}

UIViewPresentation::~UIViewPresentation() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->property == UIViewAnimatedProperty::Transform) it->view->layer()->setAffineTransform(it->transform);
        else it->view->layer()->setOpacity(it->alpha);
    }
}

}  // namespace uikit
