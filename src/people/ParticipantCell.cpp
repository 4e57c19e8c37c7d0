#include "people/ParticipantCell.h"

#include "api/QVAApiManager.h"
#include "http/UIImageViewQNNetworking.h"
#include "lists/FavoriteButton.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAParticipant.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kParticipantCellNibName = "ParticipantCell";
constexpr double kParticipantCellWidth = 320;
constexpr double kParticipantCellMargin = 15;
constexpr double kParticipantPhotoSide = 50;
constexpr double kParticipantStarSide = 44;
constexpr double kParticipantNoteSide = 16;

std::shared_ptr<uikit::UILabel> participantCellLabel(const graphics::Rect& frame, uikit::UIFontPtr font,
                                                     const char* outlet) {
    auto label = std::make_shared<uikit::UILabel>(frame);
    label->setFont(std::move(font));
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    label->setOutletName(std::string(outlet));
    return label;
}

std::vector<foundation::ObjectPtr> participantCellNib(const foundation::ObjectPtr&) {
    auto cell =
        std::make_shared<ParticipantCell>(uikit::UITableViewCellStyle::Default, ParticipantCell::cellIdentifier());
    cell->setFrame({0, 0, kParticipantCellWidth, ParticipantCell::kRowHeight});
    auto content = cell->contentView();
    content->setFrame({0, 0, kParticipantCellWidth, ParticipantCell::kRowHeight});

    auto photo = std::make_shared<uikit::UIImageView>(graphics::Rect{
        kParticipantCellMargin, (ParticipantCell::kRowHeight - kParticipantPhotoSide) / 2, kParticipantPhotoSide,
        kParticipantPhotoSide});
    photo->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    photo->setOutletName(std::string("participantImageView"));
    content->addSubview(photo);
    cell->setParticipantImageView(photo);

    const double textLeft = kParticipantCellMargin + kParticipantPhotoSide + 10;
    const double textWidth = kParticipantCellWidth - textLeft - kParticipantStarSide - 5;
    auto title = participantCellLabel({textLeft, 10, textWidth, 21}, uikit::UIFont::boldSystemFontOfSize(16),
                                      "participantTitle");
    content->addSubview(title);
    cell->setParticipantTitle(title);
    auto subtitle = participantCellLabel({textLeft, 32, textWidth, 18}, uikit::UIFont::systemFontOfSize(13),
                                         "participantSubtitle");
    content->addSubview(subtitle);
    cell->setParticipantSubtitle(subtitle);
    auto company = participantCellLabel({textLeft, 51, textWidth, 18}, uikit::UIFont::systemFontOfSize(13),
                                        "participantCompany");
    content->addSubview(company);
    cell->setParticipantCompany(company);

    auto note = std::make_shared<uikit::UIImageView>(graphics::Rect{
        kParticipantCellWidth - kParticipantStarSide + (kParticipantStarSide - kParticipantNoteSide) / 2,
        ParticipantCell::kRowHeight - kParticipantNoteSide - 10, kParticipantNoteSide, kParticipantNoteSide});
    note->setImage(uikit::UIImage::imageNamed("note.png"));
    note->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);
    note->setOutletName(std::string("noteImageView"));
    note->setHidden(true);
    content->addSubview(note);
    cell->setNoteImageView(note);

    auto star = std::make_shared<FavoriteButton>(
        graphics::Rect{kParticipantCellWidth - kParticipantStarSide, 0, kParticipantStarSide, kParticipantStarSide});
    star->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);
    star->setOutletName(std::string("favoriteButton"));
    content->addSubview(star);
    cell->setFavoriteButton(star);
    return {cell};
}

}  // namespace

std::string ParticipantCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kParticipantCellNibName))
        uikit::UINib::registerNib(kParticipantCellNibName, participantCellNib);
    return kParticipantCellNibName;
}

std::shared_ptr<ParticipantCell> ParticipantCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<ParticipantCell>(objects.front());
}

void ParticipantCell::configureWithFullName(const Text& fullName, const Text& positionTitle,
                                            const Text& organizationName, const Text& photoUrl,
                                            bool hasPersonalNotes, bool isFavorited) {
    if (auto label = participantTitle()) label->setText(fullName);
    if (auto label = participantSubtitle()) label->setText(positionTitle);
    if (auto label = participantCompany()) label->setText(organizationName);
    if (auto note = noteImageView()) note->setHidden(!hasPersonalNotes);
    if (auto star = favoriteButton()) star->setFavoriteState(isFavorited);
    if (auto photo = participantImageView()) {
        // A reused row must not keep the previous participant's face while the
        // new one loads, and a row without an address shows none.
        UIImageViewQNNetworking::cancelImageRequestOperation(*photo);
        photo->setImage(nullptr);
        if (auto request = QVAApiManager::sharedApiManager().imageRequestForAddress(photoUrl))
            UIImageViewQNNetworking::setImageWithURLRequest(photo, *request, nullptr, nullptr, nullptr);
    }
}

void ParticipantCell::configureWithParticipant(const QVAParticipant& participant, bool hasPersonalNotes,
                                               bool isFavorited) {
    configureWithFullName(participant.fullName(), participant.positionTitle(), participant.organizationName(),
                          participant.photoUrl(), hasPersonalNotes, isFavorited);
}

void ParticipantCell::configureWithCoreDataParticipant(const QVACoreDataParticipant& participant,
                                                       bool hasPersonalNotes, bool isFavorited) {
    configureWithFullName(participant.fullName(), participant.positionTitle(), participant.organizationName(),
                          participant.photoUrl(), hasPersonalNotes, isFavorited);
}

void ParticipantCell::configureWithCoreDataParticipant(const QVACoreDataParticipant& participant,
                                                       bool hasPersonalNotes) {
    configureWithCoreDataParticipant(participant, hasPersonalNotes, false);
}

void ParticipantCell::drawRect(const graphics::Rect& rect) {
    uikit::UITableViewCell::drawRect(rect);
    if (auto photo = participantImageView()) {
        photo->layer()->setCornerRadius(kPhotoCornerRadius);
        photo->layer()->setMasksToBounds(true);
    }
    if (auto star = favoriteButton()) star->layer()->setCornerRadius(kStarCornerRadius);
}
