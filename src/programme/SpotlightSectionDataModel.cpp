#include "programme/SpotlightSectionDataModel.h"

void SpotlightSectionDataModel::setMoreActionWithText(Text text, MoreActionBlock actionBlock) {
    moreActionText_ = std::move(text);
    moreActionBlock_ = std::move(actionBlock);
}

bool SpotlightSectionDataModel::hasMoreAction() const {
    return moreActionText_ && !moreActionText_->empty() && numberOfAvailableItems_ > modelItems_.size();
}
