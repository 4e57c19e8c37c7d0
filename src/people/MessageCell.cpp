#include "people/MessageCell.h"

#include <algorithm>
#include <limits>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "foundation/Format.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "people/MessageThreadDataModel.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"

using uikit::UILabel;

namespace {

constexpr double kMessageCellUnreadSide = 12;
constexpr double kMessageCellUnreadLeft = 5;
constexpr double kMessageCellSecondLineHeight = 18;

std::shared_ptr<UILabel> makeMessageCellLabel(uikit::UIFontPtr font, graphics::Color color, const char* outlet,
                                              uikit::NSTextAlignment alignment = uikit::NSTextAlignment::Left) {
    auto label = std::make_shared<UILabel>(graphics::Rect{});
    label->setFont(std::move(font));
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setLineBreakMode(uikit::NSLineBreakMode::ByTruncatingTail);
    label->setOutletName(std::string(outlet));
    return label;
}

// Both files hold the same parts; the thread's file shows the body whole.
std::vector<foundation::ObjectPtr> messageCellNib(bool threadMessage) {
    auto cell = std::make_shared<MessageCell>(uikit::UITableViewCellStyle::Default, std::nullopt);
    const double height = threadMessage ? MessageCell::kThreadNibHeight : MessageCell::kListNibHeight;
    cell->setFrame({0, 0, MessageCell::kNibWidth, height});
    cell->contentView()->setFrame({0, 0, MessageCell::kNibWidth, height});
    auto title = makeMessageCellLabel(uikit::UIFont::boldSystemFontOfSize(15), graphics::Color::black(), "messageTitle");
    auto subtitle = makeMessageCellLabel(uikit::UIFont::systemFontOfSize(13), uikit::UIColor::darkGrayColor(),
                                         "messageSubtitle");
    if (threadMessage) {
        subtitle->setNumberOfLines(0);
        subtitle->setLineBreakMode(uikit::NSLineBreakMode::ByWordWrapping);
    }
    auto date = makeMessageCellLabel(uikit::UIFont::systemFontOfSize(12), uikit::UIColor::grayColor(), "messageDate",
                                     uikit::NSTextAlignment::Right);
    auto count = makeMessageCellLabel(uikit::UIFont::systemFontOfSize(12), uikit::UIColor::grayColor(), "messageCount",
                                      uikit::NSTextAlignment::Right);
    auto unread = std::make_shared<uikit::UIImageView>(graphics::Rect{});
    unread->setImage(uikit::UIImage::imageNamed(MessageCell::kUnreadImageName));
    unread->setOutletName(std::string("unreadImageView"));
    for (const auto& view : std::vector<std::shared_ptr<uikit::UIView>>{unread, title, date, subtitle, count})
        cell->contentView()->addSubview(view);
    cell->setOutlets(title, subtitle, date, count, unread);
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    return {cell};
}

double measuredMessageCellHeight(const std::shared_ptr<UILabel>& label, double width) {
    if (!label || !label->text() || label->text()->empty()) return 0;
    return label->sizeThatFits({width, std::numeric_limits<double>::max()}).height;
}

}  // namespace

std::string MessageCell::listCellNibName() {
    if (!uikit::UINib::hasNibNamed(kListNibName))
        uikit::UINib::registerNib(kListNibName, [](const foundation::ObjectPtr&) { return messageCellNib(false); });
    return kListNibName;
}

std::string MessageCell::threadCellNibName() {
    if (!uikit::UINib::hasNibNamed(kThreadNibName))
        uikit::UINib::registerNib(kThreadNibName, [](const foundation::ObjectPtr&) { return messageCellNib(true); });
    return kThreadNibName;
}

std::shared_ptr<MessageCell> MessageCell::loadFromNib(const std::string& nibName) {
    const std::string name = nibName == kThreadNibName ? threadCellNibName() : listCellNibName();
    auto objects = uikit::UINib::nibWithNibName(name)->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<MessageCell>(objects.front());
}

void MessageCell::setOutlets(std::shared_ptr<UILabel> title, std::shared_ptr<UILabel> subtitle,
                             std::shared_ptr<UILabel> date, std::shared_ptr<UILabel> count,
                             std::shared_ptr<uikit::UIImageView> unread) {
    messageTitle_ = std::move(title);
    messageSubtitle_ = std::move(subtitle);
    messageDate_ = std::move(date);
    messageCount_ = std::move(count);
    unreadImageView_ = std::move(unread);
}

MessageCell::Text MessageCell::messageDateText(const Text& serverDate) {
    if (!serverDate) return std::nullopt;
    auto date = DateHelper::messageDateInDeviceTime(*serverDate);
    if (!date) return std::nullopt;
    return DateHelper::isDateTodayInDeviceLocalTime(*date) ? DateHelper::messageSentTimeForDate(*serverDate)
                                                           : DateHelper::messageSentTitleForDate(*serverDate);
}

void MessageCell::configureWithMessageThread(const MessageThreadDataModel& thread) {
    if (!messageTitle_) return;
    messageTitle_->setText(thread.namesListWithoutCurrentUser());
    unreadImageView_->setHidden(thread.isRead());
    messageSubtitle_->setText(thread.subject());
    messageCount_->setText(thread.messageCount() >= 2 ? foundation::Format("%d", thread.messageCount()) : std::string());
    messageDate_->setText(messageDateText(thread.sentDate()));
    setNeedsLayout();
}

void MessageCell::showSenderOf(const QVACoreDataMessage& message) {
    const auto senders = MessageThreadDataModel::unarchivedRecipients(message.from());
    if (!senders.empty()) messageTitle_->setText(senders.front()->name());
}

void MessageCell::configureWithObject(const QVACoreDataMessage& message) {
    if (!messageTitle_) return;
    showSenderOf(message);
    messageSubtitle_->setText(message.subject());
    messageDate_->setText(messageDateText(message.sentDatetime()));
    messageCount_->setText(std::string());
    unreadImageView_->setHidden(message.isRead());
    setNeedsLayout();
}

void MessageCell::configureWithDetailObject(const QVACoreDataMessage& message) {
    if (!messageTitle_) return;
    showSenderOf(message);
    messageSubtitle_->setText(message.body());
    messageDate_->setText(messageDateText(message.sentDatetime()));
    messageCount_->setText(std::string());
    unreadImageView_->setHidden(true);
    setNeedsLayout();
}

void MessageCell::configureWithOutboxMessage(const QVACoreDataOutboxMessage& message) {
    if (!messageTitle_) return;
    messageTitle_->setText(message.toNames());
    messageSubtitle_->setText(message.subject());
    messageDate_->setText(std::string());
    messageCount_->setText(std::string());
    unreadImageView_->setHidden(true);
    setNeedsLayout();
}

double MessageCell::getCellHeightInTableView(const uikit::UITableView& tableView) {
    return Utils::calculateHeightForConfiguredSizingCell(*this, tableView);
}

bool MessageCell::multilineSubtitle() const { return messageSubtitle_ && messageSubtitle_->numberOfLines() == 0; }

double MessageCell::fittingHeightForWidth(double width) {
    if (!multilineSubtitle()) return kListNibHeight;
    const double textWidth = std::max(0.0, width - kTextLeft - kRightMargin);
    const double body = std::max(kMessageCellSecondLineHeight, measuredMessageCellHeight(messageSubtitle_, textWidth));
    return kTopMargin + kLineHeight + kLineSpacing + body + kBottomMargin;
}

void MessageCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    if (!messageTitle_) return;
    const double width = contentView()->bounds().size.width;
    const double secondLine = kTopMargin + kLineHeight + kLineSpacing;
    const double firstLineWidth = std::max(0.0, width - kTextLeft - kDateWidth - kRightMargin);
    unreadImageView_->setFrame({kMessageCellUnreadLeft, kTopMargin + (kLineHeight - kMessageCellUnreadSide) / 2,
                                kMessageCellUnreadSide, kMessageCellUnreadSide});
    messageTitle_->setFrame({kTextLeft, kTopMargin, firstLineWidth, kLineHeight});
    messageDate_->setFrame({width - kDateWidth - kRightMargin, kTopMargin, kDateWidth, kLineHeight});
    messageCount_->setFrame({width - kCountWidth - kRightMargin, secondLine, kCountWidth, kMessageCellSecondLineHeight});
    if (multilineSubtitle()) {
        // A thread's message shows no count: its body takes the whole width.
        const double textWidth = std::max(0.0, width - kTextLeft - kRightMargin);
        const double body =
            std::max(kMessageCellSecondLineHeight, measuredMessageCellHeight(messageSubtitle_, textWidth));
        messageSubtitle_->setFrame({kTextLeft, secondLine, textWidth, body});
        return;
    }
    messageSubtitle_->setFrame({kTextLeft, secondLine,
                                std::max(0.0, width - kTextLeft - kCountWidth - 2 * kRightMargin),
                                kMessageCellSecondLineHeight});
}
