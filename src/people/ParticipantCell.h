// The row of every participant list (participants, contributors, the starred
// section, recommendations, an organisation's people, the session's
// contributors, the search results): photo, full name, position title,
// organisation, a mark for a personal note and the follow star. The list
// that owns the row decides what the star does; every list makes the rows
// 80 points high. Its interface file is "ParticipantCell"; naming it
// registers the file. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit
class FavoriteButton;
class QVAParticipant;
class QVACoreDataParticipant;

class ParticipantCell : public uikit::UITableViewCell {
public:
    using Text = std::optional<std::string>;
    static constexpr double kRowHeight = 80;
    static constexpr double kPhotoCornerRadius = 4;
    static constexpr double kStarCornerRadius = 12;

    using uikit::UITableViewCell::UITableViewCell;

    // "ParticipantCell"; registers the interface file on first use.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "participantCellIdentifier"; }
    // A cell from the interface file.
    static std::shared_ptr<ParticipantCell> loadFromNib();

    // The three labels, the note mark (hidden without notes), the star, and
    // the photo loaded from the address with no placeholder.
    void configureWithFullName(const Text& fullName, const Text& positionTitle, const Text& organizationName,
                               const Text& photoUrl, bool hasPersonalNotes, bool isFavorited);
    void configureWithParticipant(const QVAParticipant& participant, bool hasPersonalNotes, bool isFavorited);
    // Not followed.
    void configureWithCoreDataParticipant(const QVACoreDataParticipant& participant, bool hasPersonalNotes);
    void configureWithCoreDataParticipant(const QVACoreDataParticipant& participant, bool hasPersonalNotes,
                                          bool isFavorited);

    // Rounds the photo and the star.
    void drawRect(const graphics::Rect& rect) override;

    // Outlets (weak).
    std::shared_ptr<uikit::UILabel> participantTitle() const { return participantTitle_.lock(); }
    void setParticipantTitle(const std::shared_ptr<uikit::UILabel>& label) { participantTitle_ = label; }
    std::shared_ptr<uikit::UILabel> participantSubtitle() const { return participantSubtitle_.lock(); }
    void setParticipantSubtitle(const std::shared_ptr<uikit::UILabel>& label) { participantSubtitle_ = label; }
    std::shared_ptr<uikit::UILabel> participantCompany() const { return participantCompany_.lock(); }
    void setParticipantCompany(const std::shared_ptr<uikit::UILabel>& label) { participantCompany_ = label; }
    std::shared_ptr<uikit::UIImageView> participantImageView() const { return participantImageView_.lock(); }
    void setParticipantImageView(const std::shared_ptr<uikit::UIImageView>& view) { participantImageView_ = view; }
    std::shared_ptr<uikit::UIImageView> noteImageView() const { return noteImageView_.lock(); }
    void setNoteImageView(const std::shared_ptr<uikit::UIImageView>& view) { noteImageView_ = view; }
    std::shared_ptr<FavoriteButton> favoriteButton() const { return favoriteButton_.lock(); }
    void setFavoriteButton(const std::shared_ptr<FavoriteButton>& button) { favoriteButton_ = button; }

    std::string className() const override { return "ParticipantCell"; }

private:
    std::weak_ptr<uikit::UILabel> participantTitle_;
    std::weak_ptr<uikit::UILabel> participantSubtitle_;
    std::weak_ptr<uikit::UILabel> participantCompany_;
    std::weak_ptr<uikit::UIImageView> participantImageView_;
    std::weak_ptr<uikit::UIImageView> noteImageView_;
    std::weak_ptr<FavoriteButton> favoriteButton_;
};
