// A basic animation record of a layer property: key path, from and to values
// (numbers, paths or transforms), duration, begin time, fill mode and
// whether it goes when done. Nothing moves here: layer changes are immediate,
// and the record says what the screen would show in between. A layer keeps a
// copy of what was added, so later changes to the original do not reach it.
#pragma once

#include <memory>
#include <string>
#include <variant>

#include "graphics/Path.h"
#include "graphics/Transform3D.h"

namespace graphics {

class LayerAnimation {
public:
    // None, a number (opacity, stroke end, a scale), a path or a transform.
    using Value = std::variant<std::monostate, double, PathPtr, Transform3D>;
    enum class FillMode { Removed, Forwards, Backwards, Both };

    LayerAnimation() = default;
    explicit LayerAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
    static std::shared_ptr<LayerAnimation> animationWithKeyPath(std::string keyPath) {
        return std::make_shared<LayerAnimation>(std::move(keyPath));
    }

    const std::string& keyPath() const { return keyPath_; }
    void setKeyPath(std::string keyPath) { keyPath_ = std::move(keyPath); }
    const Value& fromValue() const { return fromValue_; }
    void setFromValue(Value value) { fromValue_ = std::move(value); }
    const Value& toValue() const { return toValue_; }
    void setToValue(Value value) { toValue_ = std::move(value); }
    // Seconds; 0.25 unless set.
    double duration() const { return duration_; }
    void setDuration(double duration) { duration_ = duration; }
    // On the clock's time line; 0 means as soon as it is added.
    double beginTime() const { return beginTime_; }
    void setBeginTime(double time) { beginTime_ = time; }
    FillMode fillMode() const { return fillMode_; }
    void setFillMode(FillMode mode) { fillMode_ = mode; }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool removed) { removedOnCompletion_ = removed; }

private:
    std::string keyPath_;
    Value fromValue_;
    Value toValue_;
    double duration_ = 0.25;
    double beginTime_ = 0;
    FillMode fillMode_ = FillMode::Removed;
    bool removedOnCompletion_ = true;
};

using LayerAnimationPtr = std::shared_ptr<LayerAnimation>;

}  // namespace graphics
