// The one table row that shows a session anywhere in the app: title, day and
// time, location, an optional invitation line and up to two icons for the
// session's relation to the user. Callers work out the texts and flags; the
// cell lays them out and measures its own height. Every configuration goes
// through preconfigureCellWithParametersLikeTitle and overwrites all that a
// previous row showed, so a reused cell carries nothing over.
//
// Its interface file ("SubactivityCell") lays the parts out for a 320-point
// row: the two icon slots one above the other on the left, the texts in a
// column beside them, stacked top to bottom with the margins below.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class NSLayoutConstraint;
class UIImageView;
class UILabel;
class UITableView;
}  // namespace uikit
class QVACoreDataBaseSession;
class QVACoreDataAgendaInvitation;
class QVASession;
class QVAAgendaInvitation;
class SpotlightSessionModel;

class SubactivityCell : public uikit::UITableViewCell {
public:
    using Text = std::optional<std::string>;

    // The interface file's layout, named once.
    static constexpr double kNibWidth = 320;
    static constexpr double kNibHeight = 70;
    static constexpr double kTopMargin = 8;
    static constexpr double kBottomMargin = 8;
    static constexpr double kTextLeft = 40;
    static constexpr double kTextRightMargin = 10;
    static constexpr double kLineSpacing = 2;
    static constexpr double kIconLeft = 10;
    static constexpr double kIconTop = 10;
    static constexpr double kIconSide = 22;
    static constexpr double kIconSpacing = 4;
    // The invitation line when shown, and the gap above it.
    static constexpr double kInvitationLineHeight = 17;
    static constexpr double kInvitationLineGap = 5;

    static constexpr const char* kInAgendaImage = "session_in_agenda.png";
    static constexpr const char* kParallelSessionImage = "parallel_session.png";
    static constexpr const char* kPersonalEntryImage = "personal_entry.png";
    static constexpr const char* kNoteImage = "note.png";

    using uikit::UITableViewCell::UITableViewCell;

    // The class's name; naming it registers the interface file.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "subactivityCellIdentifier"; }
    // A cell from the interface file.
    static std::shared_ptr<SubactivityCell> loadFromNib();

    void preconfigureCellWithParametersLikeTitle(const Text& title, const Text& locationString, const Text& displayTime,
                                                 bool isInAgenda, bool isParallelSession, bool isPersonalEntry,
                                                 bool hasPersonalNotes, int32_t nrOfLinesInTitle,
                                                 int32_t nrOfLinesInLocation, bool isCancelled);

    // A stored session or agenda role.
    void configureWithQVACoreDataSession(const QVACoreDataBaseSession& session, const Text& locationString,
                                         const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                         bool hasPersonalNotes);
    // A session model of the service, or any of its subclasses.
    void configureWithQVASession(const QVASession& session, const Text& locationString, const Text& displayTime,
                                 bool isInAgenda, bool isParallelSession, bool hasPersonalNotes);
    // A home-screen row, on one line each.
    void configureWithSpotlightSessionModel(const SpotlightSessionModel& model, const Text& locationString,
                                            const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                            bool hasPersonalNotes);
    void configureWithQVACoreDataAgendaInvitation(const QVACoreDataAgendaInvitation& invitation,
                                                  const Text& invitationString, const Text& locationString,
                                                  const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                                  bool hasPersonalNotes);
    void configureWithQVAAgendaInvitation(const QVAAgendaInvitation& invitation, const Text& invitationString,
                                          const Text& locationString, const Text& displayTime, bool isInAgenda,
                                          bool isParallelSession, bool hasPersonalNotes);

    // The height the present content needs at the table's width, the
    // separator's point included.
    double getCellHeightInTableView(const uikit::UITableView& tableView);
    // What a session row configured with these texts would measure at the
    // table's width, worked out from the texts alone: the interface file's
    // fonts, two lines of title and of location, the invitation line when
    // shown. Lists that measure many rows use it instead of configuring and
    // laying out a cell per row.
    // The time line is one line, so only whether it shows counts.
    static double sessionRowHeightForTexts(const Text& title, bool showsTime, const Text& locationString,
                                           bool showsInvitationLine, double tableWidth);

    // The outlets, as the interface file sets them.
    const std::shared_ptr<uikit::UILabel>& subactivityTitle() const { return subactivityTitle_; }
    const std::shared_ptr<uikit::UILabel>& subactivityTime() const { return subactivityTime_; }
    const std::shared_ptr<uikit::UILabel>& subactivityLocation() const { return subactivityLocation_; }
    const std::shared_ptr<uikit::UILabel>& invitationLabel() const { return invitationLabel_; }
    const std::shared_ptr<uikit::UILabel>& statusLabel() const { return statusLabel_; }
    std::shared_ptr<uikit::UIImageView> personalNotesImage() const { return personalNotesImage_.lock(); }
    std::shared_ptr<uikit::UIImageView> sessionImage() const { return sessionImage_.lock(); }
    std::shared_ptr<uikit::NSLayoutConstraint> invitationLabelHeightContraint() const {
        return invitationLabelHeightContraint_.lock();
    }
    std::shared_ptr<uikit::NSLayoutConstraint> invitationLabelTopContraint() const {
        return invitationLabelTopContraint_.lock();
    }
    std::shared_ptr<uikit::NSLayoutConstraint> statusLabelHeightConstraint() const {
        return statusLabelHeightConstraint_.lock();
    }

    void setSubactivityTitle(std::shared_ptr<uikit::UILabel> label) { subactivityTitle_ = std::move(label); }
    void setSubactivityTime(std::shared_ptr<uikit::UILabel> label) { subactivityTime_ = std::move(label); }
    void setSubactivityLocation(std::shared_ptr<uikit::UILabel> label) { subactivityLocation_ = std::move(label); }
    void setInvitationLabel(std::shared_ptr<uikit::UILabel> label) { invitationLabel_ = std::move(label); }
    void setStatusLabel(std::shared_ptr<uikit::UILabel> label) { statusLabel_ = std::move(label); }
    void setPersonalNotesImage(const std::shared_ptr<uikit::UIImageView>& view) { personalNotesImage_ = view; }
    void setSessionImage(const std::shared_ptr<uikit::UIImageView>& view) { sessionImage_ = view; }
    void setInvitationLabelHeightContraint(const std::shared_ptr<uikit::NSLayoutConstraint>& c) {
        invitationLabelHeightContraint_ = c;
    }
    void setInvitationLabelTopContraint(const std::shared_ptr<uikit::NSLayoutConstraint>& c) {
        invitationLabelTopContraint_ = c;
    }
    void setStatusLabelHeightConstraint(const std::shared_ptr<uikit::NSLayoutConstraint>& c) {
        statusLabelHeightConstraint_ = c;
    }

    double fittingHeightForWidth(double width) override;
    void layoutSubviews() override;

    std::string className() const override { return "SubactivityCell"; }

private:
    static double textWidthForCellWidth(double width);
    // The column of texts over the icons' column, from the measured label
    // heights and the extra lines' constants.
    static double stackedHeight(double titleHeight, double timeHeight, double locationHeight, double extraLines);

    std::shared_ptr<uikit::UILabel> subactivityTitle_;
    std::shared_ptr<uikit::UILabel> subactivityTime_;
    std::shared_ptr<uikit::UILabel> subactivityLocation_;
    std::shared_ptr<uikit::UILabel> invitationLabel_;
    std::shared_ptr<uikit::UILabel> statusLabel_;
    std::weak_ptr<uikit::UIImageView> personalNotesImage_;
    std::weak_ptr<uikit::UIImageView> sessionImage_;
    std::weak_ptr<uikit::NSLayoutConstraint> invitationLabelHeightContraint_;
    std::weak_ptr<uikit::NSLayoutConstraint> invitationLabelTopContraint_;
    std::weak_ptr<uikit::NSLayoutConstraint> statusLabelHeightConstraint_;
};
