#include "people/ParticipantCell.h"

#include "app/StubPlaceholder.h"
#include "lists/FavoriteButton.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAParticipant.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kNibName = "ParticipantCell";
constexpr double kNibWidth = 320;
constexpr double kMargin = 15;
constexpr double kParticipantStarSide = 44;

std::vector<foundation::ObjectPtr> participantCellNib(const foundation::ObjectPtr&) {
    auto cell =
        std::make_shared<ParticipantCell>(uikit::UITableViewCellStyle::Default, ParticipantCell::cellIdentifier());
    cell->setFrame({0, 0, kNibWidth, ParticipantCell::kRowHeight});
    cell->contentView()->setFrame({0, 0, kNibWidth, ParticipantCell::kRowHeight});
    auto title = std::make_shared<uikit::UILabel>(graphics::Rect{kMargin, 10, kNibWidth - 2 * kMargin - kParticipantStarSide, 21});
    title->setFont(uikit::UIFont::boldSystemFontOfSize(16));
    title->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    title->setOutletName("participantTitle");
    cell->contentView()->addSubview(title);
    cell->setParticipantTitle(title);
    auto star = std::make_shared<FavoriteButton>(graphics::Rect{kNibWidth - kParticipantStarSide, 0, kParticipantStarSide, kParticipantStarSide});
    star->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);
    star->setOutletName("favoriteButton");
    cell->contentView()->addSubview(star);
    cell->setFavoriteButton(star);
    return {cell};
}

}  // namespace

std::string ParticipantCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, participantCellNib);
    return kNibName;
}

std::shared_ptr<ParticipantCell> ParticipantCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<ParticipantCell>(objects.front());
}

void ParticipantCell::configureWithParticipant(const QVAParticipant& participant, bool hasPersonalNotes,
                                               bool isFavorited) {
    recordedCalls_.push_back("configureWithParticipant:hasPersonalNotes:isFavorited: " +
                             StubPlaceholder::plainText(participant.itemId()) + " " +
                             StubPlaceholder::flag(hasPersonalNotes) + " " + StubPlaceholder::flag(isFavorited));
    showFullName(participant.fullName());
    if (auto star = favoriteButton()) star->setFavoriteState(isFavorited);
}

void ParticipantCell::configureWithCoreDataParticipant(const QVACoreDataParticipant& participant,
                                                       bool hasPersonalNotes, bool isFavorited) {
    recordedCalls_.push_back("configureWithCoreDataParticipant:hasPersonalNotes:isFavorited: " +
                             StubPlaceholder::plainText(participant.itemId()) + " " +
                             StubPlaceholder::flag(hasPersonalNotes) + " " + StubPlaceholder::flag(isFavorited));
    showFullName(participant.fullName());
    if (auto star = favoriteButton()) star->setFavoriteState(isFavorited);
}

void ParticipantCell::configureWithCoreDataParticipant(const QVACoreDataParticipant& participant,
                                                       bool hasPersonalNotes) {
    recordedCalls_.push_back("configureWithCoreDataParticipant:hasPersonalNotes: " +
                             StubPlaceholder::plainText(participant.itemId()) + " " +
                             StubPlaceholder::flag(hasPersonalNotes));
    showFullName(participant.fullName());
}

void ParticipantCell::showFullName(const std::optional<std::string>& fullName) {
    if (auto label = participantTitle()) label->setText(fullName);
}
