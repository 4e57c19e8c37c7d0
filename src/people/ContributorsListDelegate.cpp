#include "people/ContributorsListDelegate.h"

#include "coredata/Predicate.h"
#include "uikit/UIImage.h"

std::optional<ListsDataSourceProtocol::PredicatePtr> ContributorsListDelegate::fetchPredicate() {
    return coredata::Predicate::withFormat("contributions != nil");
}

std::optional<std::shared_ptr<uikit::UIImage>> ContributorsListDelegate::segmentedControlImage() {
    return uikit::UIImage::imageNamed("speaker_icon.png");
}

ListsDataSourceProtocol::PredicatePtr ContributorsListDelegate::favoritesFetchPredicate() {
    return coredata::Predicate::andPredicate({*fetchPredicate(), ParticipantsListDelegate::favoritesFetchPredicate()});
}
