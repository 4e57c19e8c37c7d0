#include "programme/SubactivityCell.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVASession.h"
#include "programme/SpotlightSessionModel.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"

using uikit::NSLayoutAttribute;
using uikit::NSLayoutConstraint;
using uikit::NSLayoutRelation;
using uikit::UILabel;

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::max();
// The session variants show two lines of title and location; the home
// screen's rows one of each.
constexpr int32_t kSessionLines = 2;
constexpr int32_t kSpotlightLines = 1;

// The interface file's fonts, which the cell-free measurement uses too.
uikit::UIFontPtr subactivityTitleFont() { return uikit::UIFont::boldSystemFontOfSize(15); }
uikit::UIFontPtr subactivityDetailFont() { return uikit::UIFont::systemFontOfSize(13); }

std::shared_ptr<UILabel> makeLabel(double y, double height, uikit::UIFontPtr font, graphics::Color color,
                                   const char* outlet) {
    const double width = SubactivityCell::kNibWidth - SubactivityCell::kTextLeft - SubactivityCell::kTextRightMargin;
    auto label = std::make_shared<UILabel>(graphics::Rect{SubactivityCell::kTextLeft, y, width, height});
    label->setFont(std::move(font));
    label->setTextColor(color);
    label->setLineBreakMode(uikit::NSLineBreakMode::ByTruncatingTail);
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    label->setOutletName(std::string(outlet));
    return label;
}

std::shared_ptr<uikit::UIImageView> makeIcon(double y, const char* outlet) {
    auto icon = std::make_shared<uikit::UIImageView>(
        graphics::Rect{SubactivityCell::kIconLeft, y, SubactivityCell::kIconSide, SubactivityCell::kIconSide});
    icon->setOutletName(std::string(outlet));
    return icon;
}

std::shared_ptr<NSLayoutConstraint> heightConstraint(const std::shared_ptr<UILabel>& label, double constant,
                                                     const char* outlet) {
    auto constraint = NSLayoutConstraint::constraintWithItem(label, NSLayoutAttribute::Height, NSLayoutRelation::Equal,
                                                             nullptr, NSLayoutAttribute::NotAnAttribute, 1, constant);
    constraint->setOutletName(std::string(outlet));
    return constraint;
}

std::vector<foundation::ObjectPtr> subactivityCellNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<SubactivityCell>(uikit::UITableViewCellStyle::Default,
                                                  SubactivityCell::cellIdentifier());
    cell->setFrame({0, 0, SubactivityCell::kNibWidth, SubactivityCell::kNibHeight});
    auto content = cell->contentView();
    content->setFrame({0, 0, SubactivityCell::kNibWidth, SubactivityCell::kNibHeight});

    auto title = makeLabel(SubactivityCell::kTopMargin, 18, subactivityTitleFont(),
                           graphics::Color::black(), "subactivityTitle");
    auto time = makeLabel(28, 16, subactivityDetailFont(), uikit::UIColor::darkGrayColor(),
                          "subactivityTime");
    auto location = makeLabel(46, 16, subactivityDetailFont(), uikit::UIColor::grayColor(),
                              "subactivityLocation");
    auto invitation = makeLabel(62, 0, uikit::UIFont::systemFontOfSize(13),
                                graphics::Color::rgb(0.75, 0.35, 0.0), "invitationLabel");
    auto status = makeLabel(62, 0, uikit::UIFont::systemFontOfSize(12), uikit::UIColor::darkGrayColor(),
                            "statusLabel");
    auto sessionImage = makeIcon(SubactivityCell::kIconTop, "sessionImage");
    auto notesImage = makeIcon(SubactivityCell::kIconTop + SubactivityCell::kIconSide + SubactivityCell::kIconSpacing,
                               "personalNotesImage");
    for (const auto& view : std::vector<std::shared_ptr<uikit::UIView>>{title, time, location, invitation, status,
                                                                         sessionImage, notesImage})
        content->addSubview(view);

    auto invitationHeight = heightConstraint(invitation, 0, "invitationLabelHeightContraint");
    auto invitationTop = NSLayoutConstraint::constraintWithItem(invitation, NSLayoutAttribute::Top,
                                                                NSLayoutRelation::Equal, location,
                                                                NSLayoutAttribute::Bottom, 1, 0);
    invitationTop->setOutletName(std::string("invitationLabelTopContraint"));
    auto statusHeight = heightConstraint(status, 0, "statusLabelHeightConstraint");
    content->addConstraints({invitationHeight, invitationTop, statusHeight});

    cell->setSubactivityTitle(title);
    cell->setSubactivityTime(time);
    cell->setSubactivityLocation(location);
    cell->setInvitationLabel(invitation);
    cell->setStatusLabel(status);
    cell->setSessionImage(sessionImage);
    cell->setPersonalNotesImage(notesImage);
    cell->setInvitationLabelHeightContraint(invitationHeight);
    cell->setInvitationLabelTopContraint(invitationTop);
    cell->setStatusLabelHeightConstraint(statusHeight);
    return {cell};
}

// The label's text struck through from end to end, in the label's own look.
void strikeThrough(UILabel& label, const std::string& text) {
    uikit::TextAttributes attributes;
    attributes.font = label.font();
    attributes.foregroundColor = label.textColor();
    attributes.strikethroughStyle = uikit::NSUnderlineStyleSingle;
    label.setAttributedText(uikit::NSAttributedString::make(text, attributes));
}

double measuredHeight(const std::shared_ptr<UILabel>& label, double width) {
    if (!label || !label->text()) return 0;
    return label->sizeThatFits({width, kUnbounded}).height;
}

// What a label of the font and line count would measure for the text (a
// single line never wraps), as UILabel::sizeThatFits does.
double measuredTextHeight(const std::optional<std::string>& text, const uikit::UIFontPtr& font, size_t lines,
                          double width) {
    if (!text) return 0;
    const auto laidOut = uikit::NSStringDrawing::layOut(*text, font, lines == 1 ? 0 : width, lines);
    return std::ceil(uikit::NSStringDrawing::sizeOfLines(laidOut).height);
}

double constantOf(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    return constraint ? constraint->constant() : 0;
}

void setConstantIfAny(const std::shared_ptr<NSLayoutConstraint>& constraint, double value) {
    if (constraint) constraint->setConstant(value);
}

void showImage(const std::shared_ptr<uikit::UIImageView>& slot, const char* name) {
    if (!slot) return;
    slot->setImage(uikit::UIImage::imageNamed(name));
    slot->setHidden(false);
}

}  // namespace

std::string SubactivityCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed("SubactivityCell")) uikit::UINib::registerNib("SubactivityCell", subactivityCellNib);
    return "SubactivityCell";
}

std::shared_ptr<SubactivityCell> SubactivityCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<SubactivityCell>(objects.front());
}

void SubactivityCell::preconfigureCellWithParametersLikeTitle(const Text& title, const Text& locationString,
                                                              const Text& displayTime, bool isInAgenda,
                                                              bool isParallelSession, bool isPersonalEntry,
                                                              bool hasPersonalNotes, int32_t nrOfLinesInTitle,
                                                              int32_t nrOfLinesInLocation, bool isCancelled) {
    subactivityTitle_->setNumberOfLines(static_cast<size_t>(std::max(0, nrOfLinesInTitle)));
    subactivityTitle_->setText(title);
    subactivityTime_->setText(displayTime);
    subactivityLocation_->setNumberOfLines(static_cast<size_t>(std::max(0, nrOfLinesInLocation)));
    subactivityLocation_->setText(locationString);
    // The invitation line collapsed; its text goes too, so a reused cell
    // keeps nothing of an earlier invitation row.
    setConstantIfAny(invitationLabelHeightContraint(), 0);
    setConstantIfAny(invitationLabelTopContraint(), 0);
    invitationLabel_->setText(std::nullopt);

    if (isCancelled) {
        if (title) strikeThrough(*subactivityTitle_, *title);
        if (displayTime && !StringUtility::isNilOrEmpty(std::string_view(*displayTime))) strikeThrough(*subactivityTime_, *displayTime);
        if (locationString) strikeThrough(*subactivityLocation_, *locationString);
    }

    auto first = sessionImage();
    auto second = personalNotesImage();
    if (first) first->setHidden(true);
    if (second) second->setHidden(true);
    // One kind in the first slot: a personal entry over a parallel session
    // over a plain agenda entry.
    if (isInAgenda) showImage(first, kInAgendaImage);
    if (isParallelSession) showImage(first, kParallelSessionImage);
    if (isPersonalEntry) showImage(first, kPersonalEntryImage);
    // The note mark takes the first free slot.
    if (hasPersonalNotes) showImage(first && first->isHidden() ? first : second, kNoteImage);
    setNeedsLayout();
}

void SubactivityCell::configureWithQVACoreDataSession(const QVACoreDataBaseSession& session, const Text& locationString,
                                                      const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                                      bool hasPersonalNotes) {
    preconfigureCellWithParametersLikeTitle(session.title(), locationString, displayTime, isInAgenda, isParallelSession,
                                            session.isKindOfEntity(QVACoreDataPersonalEntry::kEntityName),
                                            hasPersonalNotes, kSessionLines, kSessionLines, session.cancelled());
}

void SubactivityCell::configureWithQVASession(const QVASession& session, const Text& locationString,
                                              const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                              bool hasPersonalNotes) {
    const bool isPersonalEntry = dynamic_cast<const QVAPersonalEntry*>(&session) != nullptr;
    preconfigureCellWithParametersLikeTitle(session.title(), locationString, displayTime, isInAgenda, isParallelSession,
                                            isPersonalEntry, hasPersonalNotes, kSessionLines, kSessionLines,
                                            session.cancelled());
}

void SubactivityCell::configureWithSpotlightSessionModel(const SpotlightSessionModel& model, const Text& locationString,
                                                         const Text& displayTime, bool isInAgenda,
                                                         bool isParallelSession, bool hasPersonalNotes) {
    preconfigureCellWithParametersLikeTitle(model.title(), locationString, displayTime, isInAgenda, isParallelSession,
                                            model.sessionType() == SpotlightSessionModel::kPersonalEntry,
                                            hasPersonalNotes, kSpotlightLines, kSpotlightLines, model.isCancelled());
}

void SubactivityCell::configureWithQVACoreDataAgendaInvitation(const QVACoreDataAgendaInvitation& invitation,
                                                               const Text& invitationString, const Text& locationString,
                                                               const Text& displayTime, bool isInAgenda,
                                                               bool isParallelSession, bool hasPersonalNotes) {
    configureWithQVACoreDataSession(invitation, locationString, displayTime, isInAgenda, isParallelSession,
                                    hasPersonalNotes);
    setConstantIfAny(invitationLabelHeightContraint(), kInvitationLineHeight);
    setConstantIfAny(invitationLabelTopContraint(), kInvitationLineGap);
    invitationLabel_->setText(invitationString);
}

void SubactivityCell::configureWithQVAAgendaInvitation(const QVAAgendaInvitation& invitation,
                                                       const Text& invitationString, const Text& locationString,
                                                       const Text& displayTime, bool isInAgenda, bool isParallelSession,
                                                       bool hasPersonalNotes) {
    configureWithQVASession(invitation, locationString, displayTime, isInAgenda, isParallelSession, hasPersonalNotes);
    setConstantIfAny(invitationLabelHeightContraint(), kInvitationLineHeight);
    setConstantIfAny(invitationLabelTopContraint(), kInvitationLineGap);
    invitationLabel_->setText(invitationString);
}

double SubactivityCell::getCellHeightInTableView(const uikit::UITableView& tableView) {
    return Utils::calculateHeightForConfiguredSizingCell(*this, tableView);
}

double SubactivityCell::sessionRowHeightForTexts(const Text& title, bool showsTime, const Text& locationString,
                                                 bool showsInvitationLine, double tableWidth) {
    // Fonts are shared by name, so these are looked up once.
    static const auto titleFont = subactivityTitleFont();
    static const auto detailFont = subactivityDetailFont();
    const double textWidth = textWidthForCellWidth(tableWidth);
    const double extraLines = showsInvitationLine ? kInvitationLineGap + kInvitationLineHeight : 0;
    // The separator's point below the content, as for a configured cell.
    return stackedHeight(measuredTextHeight(title, titleFont, static_cast<size_t>(kSessionLines), textWidth),
                         showsTime ? measuredTextHeight(std::string("0"), detailFont, 1, textWidth) : 0,
                         measuredTextHeight(locationString, detailFont, static_cast<size_t>(kSessionLines), textWidth), extraLines) +
           1;
}

double SubactivityCell::textWidthForCellWidth(double width) {
    return std::max(0.0, width - kTextLeft - kTextRightMargin);
}

double SubactivityCell::stackedHeight(double titleHeight, double timeHeight, double locationHeight,
                                      double extraLines) {
    const double texts = kTopMargin + titleHeight + kLineSpacing + timeHeight + kLineSpacing + locationHeight +
                         extraLines + kBottomMargin;
    const double icons = kIconTop + 2 * kIconSide + kIconSpacing + kBottomMargin;
    return std::max(texts, icons);
}

// The text column stacked from the top: the labels at their measured heights
// (the title and location within their line counts), the invitation line and
// the status line at their constraints; the icon column as a floor.
double SubactivityCell::fittingHeightForWidth(double width) {
    const double textWidth = textWidthForCellWidth(width);
    return stackedHeight(measuredHeight(subactivityTitle_, textWidth), measuredHeight(subactivityTime_, textWidth),
                         measuredHeight(subactivityLocation_, textWidth),
                         constantOf(invitationLabelTopContraint()) + constantOf(invitationLabelHeightContraint()) +
                             constantOf(statusLabelHeightConstraint()));
}

void SubactivityCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    if (!subactivityTitle_) return;
    const double textWidth = textWidthForCellWidth(contentView()->bounds().size.width);
    double y = kTopMargin;
    auto place = [&](const std::shared_ptr<UILabel>& label, double height, double gapAfter) {
        if (!label) return;
        label->setFrame({kTextLeft, y, textWidth, height});
        y += height + gapAfter;
    };
    place(subactivityTitle_, measuredHeight(subactivityTitle_, textWidth), kLineSpacing);
    place(subactivityTime_, measuredHeight(subactivityTime_, textWidth), kLineSpacing);
    place(subactivityLocation_, measuredHeight(subactivityLocation_, textWidth), 0);
    y += constantOf(invitationLabelTopContraint());
    place(invitationLabel_, constantOf(invitationLabelHeightContraint()), 0);
    place(statusLabel_, constantOf(statusLabelHeightConstraint()), 0);
}
