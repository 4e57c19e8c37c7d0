// The message row of the messages tab: a thread in the inbox, one message of
// a thread, or a message waiting in the outbox. Two interface files make it:
// "GlobalSearchMessageCell" (the lists' row: title and date on the first
// line, subtitle and count on the second, the unread mark on the left) and
// "ThreadDetailsMessageCell" (a thread's message: sender and date, then the
// whole body on as many lines as it needs). Each configure call sets every
// part, so a reused cell carries nothing over. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UIImageView;
class UILabel;
class UITableView;
}  // namespace uikit

class MessageThreadDataModel;
class QVACoreDataMessage;
class QVACoreDataOutboxMessage;

class MessageCell : public uikit::UITableViewCell {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kListNibName = "GlobalSearchMessageCell";
    static constexpr const char* kThreadNibName = "ThreadDetailsMessageCell";
    static constexpr const char* kUnreadImageName = "message_unread.png";
    // The interface files' layout, for a 320-point row.
    static constexpr double kNibWidth = 320;
    static constexpr double kListNibHeight = 50;
    static constexpr double kThreadNibHeight = 60;
    static constexpr double kTextLeft = 22;
    static constexpr double kRightMargin = 10;
    static constexpr double kTopMargin = 5;
    static constexpr double kLineHeight = 20;
    static constexpr double kLineSpacing = 2;
    static constexpr double kBottomMargin = 8;
    static constexpr double kDateWidth = 75;
    static constexpr double kCountWidth = 30;

    using uikit::UITableViewCell::UITableViewCell;

    // The names of the two interface files; naming one registers both.
    static std::string listCellNibName();
    static std::string threadCellNibName();
    // A cell from either file.
    static std::shared_ptr<MessageCell> loadFromNib(const std::string& nibName);

    // The date text of a message: "HH:mm" for today in the device's time,
    // else "dd/MM/yyyy"; none for no date or one that does not read.
    static Text messageDateText(const Text& serverDate);

    void configureWithMessageThread(const MessageThreadDataModel& thread);
    void configureWithObject(const QVACoreDataMessage& message);
    void configureWithDetailObject(const QVACoreDataMessage& message);
    void configureWithOutboxMessage(const QVACoreDataOutboxMessage& message);

    // The height the configured cell needs at the table's width, plus 1.
    double getCellHeightInTableView(const uikit::UITableView& tableView);
    double fittingHeightForWidth(double width) override;

    // Outlets (the interface file's views).
    std::shared_ptr<uikit::UILabel> messageTitle() const { return messageTitle_; }
    std::shared_ptr<uikit::UILabel> messageSubtitle() const { return messageSubtitle_; }
    std::shared_ptr<uikit::UILabel> messageDate() const { return messageDate_; }
    std::shared_ptr<uikit::UILabel> messageCount() const { return messageCount_; }
    std::shared_ptr<uikit::UIImageView> unreadImageView() const { return unreadImageView_; }
    void setOutlets(std::shared_ptr<uikit::UILabel> title, std::shared_ptr<uikit::UILabel> subtitle,
                    std::shared_ptr<uikit::UILabel> date, std::shared_ptr<uikit::UILabel> count,
                    std::shared_ptr<uikit::UIImageView> unread);

    void layoutSubviews() override;
    std::string className() const override { return "MessageCell"; }

private:
    // The sender's name: the first entry of the message's senders, else
    // what the title shows already.
    void showSenderOf(const QVACoreDataMessage& message);
    // The subtitle runs on as many lines as its text needs.
    bool multilineSubtitle() const;

    std::shared_ptr<uikit::UILabel> messageTitle_;
    std::shared_ptr<uikit::UILabel> messageSubtitle_;
    std::shared_ptr<uikit::UILabel> messageDate_;
    std::shared_ptr<uikit::UILabel> messageCount_;
    std::shared_ptr<uikit::UIImageView> unreadImageView_;
};

using MessageCellPtr = std::shared_ptr<MessageCell>;
