#include "programme/SpotlightTitleView.h"

#include <cmath>
#include <cstdio>

#include "Utils/Utils.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UITextView.h"

namespace {

const graphics::Color kSeparatorColor = graphics::Color::rgb(210 / 255.0, 210 / 255.0, 210 / 255.0, 1);
// The message lies over the block's edges on the phone.
constexpr double kPhoneMessageMargin = -15;
constexpr double kPadMessageFontSize = 18;
constexpr double kPhoneMessageFontSize = 14;
// The message's text inset, both sides together and top and bottom together.
constexpr double kMessageInset = 20;

bool isSetAndNotEmpty(const std::optional<std::string>& text) { return text && !text->empty(); }

double measuredHeight(const uikit::UILabel& label, const std::string& text) {
    return Utils::getMeasuredSizeOfLabel(label, text).height;
}

std::string numberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

}  // namespace

std::shared_ptr<SpotlightTitleView> SpotlightTitleView::initWithFrame(const graphics::Rect& frame,
                                                                      const Text& meetingName,
                                                                      const Text& description, const Text& location,
                                                                      const Text& meetingDate,
                                                                      const Text& importantMessageToShow) {
    auto view = std::make_shared<SpotlightTitleView>(frame);
    view->meetingName_ = meetingName;
    view->meetingDescription_ = description;
    view->meetingLocation_ = location;
    view->meetingDate_ = meetingDate;
    view->build(importantMessageToShow);
    return view;
}

void SpotlightTitleView::build(const Text& importantMessageToShow) {
    setBackgroundColor(uikit::UIColor::clearColor());
    const graphics::Rect ownFrame = frame();
    groupWidth_ = Utils::isIPad() ? kPadGroupWidth : ownFrame.size.width;
    labelGroupView_ = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, groupWidth_, ownFrame.size.height});
    labelGroupView_->setBackgroundColor(uikit::UIColor::clearColor());
    labelGroupView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleTopMargin |
                                         uikit::UIViewAutoresizingFlexibleHeight);
    separatorCreatedFrame_ = {0, 0, ownFrame.size.width, 1};

    meetingNameLabel_ = makeLabel("meetingNameLabel");
    nameDescrSeparatorView_ = makeSeparator();
    meetingDescriptionLabel_ = makeLabel("meetingDescriptionLabel");
    descriptionPeriodSeparatorView_ = makeSeparator();
    meetingPeriodLabel_ = makeLabel("meetingPeriodLabel");
    meetingLocationLabel_ = makeLabel("meetingLocationLabel");

    refreshLabels();

    for (const auto& subview : labelGroupView_->subviews()) {
        auto mask = subview->autoresizingMask() | uikit::UIViewAutoresizingFlexibleTopMargin;
        if (subview == nameDescrSeparatorView_ || subview == descriptionPeriodSeparatorView_)
            mask |= uikit::UIViewAutoresizingFlexibleWidth;
        subview->setAutoresizingMask(mask);
    }
    addSubview(labelGroupView_);

    if (!importantMessageToShow) return;
    const bool pad = Utils::isIPad();
    const double margin = pad ? 0 : kPhoneMessageMargin;
    const int width = static_cast<int>(ownFrame.size.width - 2 * margin);
    auto font = uikit::UIFont::systemFontOfSize(pad ? kPadMessageFontSize : kPhoneMessageFontSize);
    const int height = heightNededForImportantTextViewWidth(width, font, *importantMessageToShow);
    auto message = std::make_shared<uikit::UITextView>(graphics::Rect{margin, margin, double(width), double(height)});
    message->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    message->setFont(font);
    message->setTextColor(uikit::UIColor::whiteColor());
    message->setEditable(false);
    message->setDataDetectorTypes(uikit::UIDataDetectorTypeLink);
    message->setText(*importantMessageToShow);
    message->setBackgroundColor(uikit::UIColor::darkGrayColor());
    message->setScrollEnabled(false);
    message->setOutletName(std::string("importantMessage"));
    addSubview(message);
}

std::shared_ptr<uikit::UIView> SpotlightTitleView::makeSeparator() {
    auto separator = std::make_shared<uikit::UIView>(separatorCreatedFrame_);
    separator->setBackgroundColor(kSeparatorColor);
    labelGroupView_->addSubview(separator);
    return separator;
}

std::shared_ptr<uikit::UILabel> SpotlightTitleView::makeLabel(const char* outlet) {
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{0, 0, groupWidth_, 0});
    label->setOutletName(std::string(outlet));
    setLabelAppearance(label);
    label->setBackgroundColor(uikit::UIColor::clearColor());
    return label;
}

void SpotlightTitleView::setLabelAppearance(const std::shared_ptr<uikit::UILabel>& label) {
    label->setBackgroundColor(uikit::UIColor::clearColor());
    label->setTextAlignment(uikit::NSTextAlignment::Left);
    label->setNumberOfLines(0);
    label->setLineBreakMode(uikit::NSLineBreakMode::ByWordWrapping);
    label->setTextColor(uikit::UIColor::whiteColor());
    labelGroupView_->addSubview(label);
}

void SpotlightTitleView::setFontSizes() {
    meetingNameLabel_->setFont(
        uikit::UIFont::fontWithName(kNameFontName, Utils::isIPad() ? kPadNameFontSize : kPhoneNameFontSize));
    for (const auto& label : {meetingPeriodLabel_, meetingDescriptionLabel_, meetingLocationLabel_})
        label->setFont(uikit::UIFont::fontWithName(kTextFontName, kTextFontSize));
}

int SpotlightTitleView::nameHeightLimit() const {
    if (Utils::isIPad()) return kPadNameHeightLimit;
    return uikit::UIScreen::mainScreen().bounds().size.height > kSmallPhoneScreenHeight ? kTallPhoneNameHeightLimit
                                                                                        : kSmallPhoneNameHeightLimit;
}

void SpotlightTitleView::refreshLabels() {
    setFontSizes();
    std::vector<std::string> texts;
    std::vector<std::shared_ptr<uikit::UIView>> views;

    if (meetingName_) {
        const int limit = nameHeightLimit();
        if (measuredHeight(*meetingNameLabel_, *meetingName_) + kLabelPadding > limit)
            meetingNameLabel_->setFont(uikit::UIFont::fontWithName(
                kNameFontName, sizeOfFontForLabel(*meetingNameLabel_, *meetingName_, limit,
                                                  static_cast<int>(kPadNameFontSize))));
        texts.push_back(*meetingName_);
        views.push_back(meetingNameLabel_);
    }

    const bool showDescription = Utils::isIPad() && isSetAndNotEmpty(meetingDescription_);
    if (showDescription) {
        texts.emplace_back(kSeparatorEntry);
        views.push_back(nameDescrSeparatorView_);
        texts.push_back(*meetingDescription_);
        views.push_back(meetingDescriptionLabel_);
    }
    nameDescrSeparatorView_->setHidden(!showDescription);
    meetingDescriptionLabel_->setHidden(!showDescription);

    const bool hasPeriod = isSetAndNotEmpty(meetingDate_);
    const bool hasLocation = isSetAndNotEmpty(meetingLocation_);
    if (hasPeriod || hasLocation) {
        texts.emplace_back(kSeparatorEntry);
        views.push_back(descriptionPeriodSeparatorView_);
    }
    descriptionPeriodSeparatorView_->setHidden(!(hasPeriod || hasLocation));
    if (hasPeriod) {
        texts.push_back(*meetingDate_);
        views.push_back(meetingPeriodLabel_);
    }
    meetingPeriodLabel_->setHidden(!hasPeriod);
    if (hasLocation) {
        texts.push_back(*meetingLocation_);
        views.push_back(meetingLocationLabel_);
    }
    meetingLocationLabel_->setHidden(!hasLocation);

    // The stack ends at the bottom of the group.
    double y = labelGroupView_->frame().size.height - heightNeededForAllLabels(texts, views);
    for (size_t i = 0; i < texts.size(); ++i) {
        y = std::trunc(y);
        if (texts[i] == kSeparatorEntry) {
            views[i]->setFrame({separatorCreatedFrame_.origin.x + kSeparatorShift, y,
                                separatorCreatedFrame_.size.width + kSeparatorExtraWidth, 1});
            y += kSeparatorStep;
            continue;
        }
        auto& label = static_cast<uikit::UILabel&>(*views[i]);
        const double height = measuredHeight(label, texts[i]);
        const graphics::Rect current = label.frame();
        label.setFrame({current.origin.x, y, current.size.width, height + kLabelPadding});
        label.setContentMode(uikit::UIViewContentMode::Center);
        label.setText(texts[i]);
        y += height + kTextSpacing;
    }
}

int SpotlightTitleView::heightNeededForAllLabels(const std::vector<std::string>& texts,
                                                 const std::vector<std::shared_ptr<uikit::UIView>>& labels) const {
    double total = 0;
    for (size_t i = 0; i < texts.size() && i < labels.size(); ++i) {
        if (texts[i] == kSeparatorEntry) total += kSeparatorStep;
        else total += measuredHeight(static_cast<const uikit::UILabel&>(*labels[i]), texts[i]) + kTextSpacing;
        total = std::trunc(total);
    }
    return static_cast<int>(total);
}

int SpotlightTitleView::sizeOfFontForLabel(const uikit::UILabel& label, const std::string& text, int toFitHeight,
                                           int maxFontSize) const {
    const double width = label.frame().size.width;
    for (int size = maxFontSize; size >= kSmallestFittedFontSize; --size) {
        const double height =
            Utils::getMeasuredSizeOfLabelWithText(text, uikit::UIFont::fontWithName(kNameFontName, size), width).height;
        if (height + kLabelPadding <= toFitHeight) return size;
    }
    return kFallbackFontSize;
}

int SpotlightTitleView::heightNededForImportantTextViewWidth(int width,
                                                             const std::shared_ptr<const uikit::UIFont>& font,
                                                             const std::string& text) {
    return static_cast<int>(Utils::getMeasuredSizeOfLabelWithText(text, font, width - kMessageInset).height +
                            kMessageInset);
}

std::string SpotlightTitleView::screenDumpDetail() const {
    std::string detail;
    auto part = [&](const char* name, const std::shared_ptr<uikit::UIView>& view, const uikit::UILabel* label) {
        if (!view || view->isHidden()) return;
        const graphics::Rect f = view->frame();
        if (!detail.empty()) detail += " ";
        detail += std::string(name) + "=(" + numberText(f.origin.x) + "," + numberText(f.origin.y) + "," +
                  numberText(f.size.width) + "," + numberText(f.size.height);
        if (label && label->font())
            detail += " " + label->font()->fontName() + " " + numberText(label->font()->pointSize());
        detail += ")";
    };
    part("meetingNameLabel", meetingNameLabel_, meetingNameLabel_.get());
    part("nameDescrSeparatorView", nameDescrSeparatorView_, nullptr);
    part("meetingDescriptionLabel", meetingDescriptionLabel_, meetingDescriptionLabel_.get());
    part("descriptionPeriodSeparatorView", descriptionPeriodSeparatorView_, nullptr);
    part("meetingPeriodLabel", meetingPeriodLabel_, meetingPeriodLabel_.get());
    part("meetingLocationLabel", meetingLocationLabel_, meetingLocationLabel_.get());
    if (labelGroupView_) detail += " group-height=" + numberText(labelGroupView_->frame().size.height);
    return detail;
}
