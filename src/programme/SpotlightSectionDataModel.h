// One section of the home screen: the rows it shows, how many it could have
// shown before it was capped, and an optional "more" link with its action.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"

class SpotlightSectionDataModel : public foundation::Object {
public:
    using Text = std::optional<std::string>;
    using MoreActionBlock = std::function<void()>;

    const std::vector<foundation::ObjectPtr>& modelItems() const { return modelItems_; }
    void setModelItems(std::vector<foundation::ObjectPtr> items) { modelItems_ = std::move(items); }
    uint64_t numberOfAvailableItems() const { return numberOfAvailableItems_; }
    void setNumberOfAvailableItems(uint64_t count) { numberOfAvailableItems_ = count; }

    // The text and the block go together; the block is kept as a copy.
    void setMoreActionWithText(Text text, MoreActionBlock actionBlock);
    const Text& moreActionText() const { return moreActionText_; }
    const MoreActionBlock& moreActionBlock() const { return moreActionBlock_; }
    // A "more" row shows only with a text and rows left out.
    bool hasMoreAction() const;

    std::string className() const override { return "SpotlightSectionDataModel"; }

private:
    std::vector<foundation::ObjectPtr> modelItems_;
    uint64_t numberOfAvailableItems_ = 0;
    Text moreActionText_;
    MoreActionBlock moreActionBlock_;
};
