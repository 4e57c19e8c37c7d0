// The participant row, standing in until the participant lists exist: a row
// of 80 points that shows the participant's full name and records the
// configure calls it receives, so that the screens filling it can be tested.
// Its interface file is "ParticipantCell"; naming it registers the file.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}
class FavoriteButton;
class QVAParticipant;
class QVACoreDataParticipant;

class ParticipantCell : public uikit::UITableViewCell {
public:
    static constexpr double kRowHeight = 80;

    using uikit::UITableViewCell::UITableViewCell;

    // "ParticipantCell"; registers the interface file on first use.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "participantCellIdentifier"; }
    // A cell from the interface file.
    static std::shared_ptr<ParticipantCell> loadFromNib();

    // Recorded as "configureWithParticipant:hasPersonalNotes:isFavorited: <itemId> <YES|NO> <YES|NO>".
    void configureWithParticipant(const QVAParticipant& participant, bool hasPersonalNotes, bool isFavorited);
    // Recorded as "configureWithCoreDataParticipant:hasPersonalNotes: <itemId> <YES|NO>".
    void configureWithCoreDataParticipant(const QVACoreDataParticipant& participant, bool hasPersonalNotes);
    // Recorded as "configureWithCoreDataParticipant:hasPersonalNotes:isFavorited: <itemId> <YES|NO> <YES|NO>".
    void configureWithCoreDataParticipant(const QVACoreDataParticipant& participant, bool hasPersonalNotes,
                                          bool isFavorited);

    // The configure calls, oldest first; reuse does not clear them.
    const std::vector<std::string>& recordedCalls() const { return recordedCalls_; }
    std::string lastRecordedCall() const { return recordedCalls_.empty() ? std::string() : recordedCalls_.back(); }

    // The full name's label (outlet "participantTitle").
    std::shared_ptr<uikit::UILabel> participantTitle() const { return participantTitle_.lock(); }
    void setParticipantTitle(const std::shared_ptr<uikit::UILabel>& label) { participantTitle_ = label; }

    // The star (outlet "favoriteButton"): the configure calls that say
    // whether the participant is followed set its state.
    std::shared_ptr<FavoriteButton> favoriteButton() const { return favoriteButton_.lock(); }
    void setFavoriteButton(const std::shared_ptr<FavoriteButton>& button) { favoriteButton_ = button; }

    std::string className() const override { return "ParticipantCell"; }

private:
    void showFullName(const std::optional<std::string>& fullName);

    std::weak_ptr<uikit::UILabel> participantTitle_;
    std::weak_ptr<FavoriteButton> favoriteButton_;
    std::vector<std::string> recordedCalls_;
};
