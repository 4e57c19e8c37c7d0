// The block at the top of the home screen that names the current meeting:
// its name in large type, on the pad its description, then its period and
// location, with thin separator lines between the groups, all stacked from
// the bottom of the block upwards. The name shrinks when it would not fit.
// An optional important message lies over the block as dark, non-editable
// text with clickable links. The texts are fixed when the view is made;
// refreshLabels may run any number of times and lays the stack out again
// from them. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Geometry.h"
#include "uikit/UIView.h"

namespace uikit {
class UIFont;
class UILabel;
class UITextView;
}  // namespace uikit

class SpotlightTitleView : public uikit::UIView {
public:
    using Text = std::optional<std::string>;

    // Marks a separator entry in the layout lists.
    static constexpr const char* kSeparatorEntry = "Separator";
    static constexpr const char* kNameFontName = "HelveticaNeue-Medium";
    static constexpr const char* kTextFontName = "HelveticaNeue-Light";
    static constexpr double kPadNameFontSize = 52;
    static constexpr double kPhoneNameFontSize = 28;
    static constexpr double kTextFontSize = 18;
    // The group's width on the pad.
    static constexpr double kPadGroupWidth = 520;
    // The name's height limits: the pad; a phone screen taller than 480 points; a smaller one.
    static constexpr int kPadNameHeightLimit = 142;
    static constexpr int kTallPhoneNameHeightLimit = 105;
    static constexpr int kSmallPhoneNameHeightLimit = 65;
    static constexpr double kSmallPhoneScreenHeight = 480;
    // The smallest size the name is fitted at, and the size when none fits.
    static constexpr int kSmallestFittedFontSize = 11;
    static constexpr int kFallbackFontSize = 10;
    // A separator's share of the stack, and a text's beyond its measured height.
    static constexpr int kSeparatorStep = 4;
    static constexpr int kTextSpacing = 7;
    // A text's label is this much taller than the text.
    static constexpr double kLabelPadding = 4;
    // Each refresh places a separator this far left of, and this much wider
    // than, the frame it was made with.
    static constexpr double kSeparatorShift = -15;
    static constexpr double kSeparatorExtraWidth = 100;

    explicit SpotlightTitleView(const graphics::Rect& frame) : uikit::UIView(frame) {}

    static std::shared_ptr<SpotlightTitleView> initWithFrame(const graphics::Rect& frame, const Text& meetingName,
                                                             const Text& description, const Text& location,
                                                             const Text& meetingDate,
                                                             const Text& importantMessageToShow);

    const Text& meetingName() const { return meetingName_; }
    const Text& meetingDescription() const { return meetingDescription_; }
    const Text& meetingLocation() const { return meetingLocation_; }
    const Text& eventDate() const { return meetingDate_; }

    const std::shared_ptr<uikit::UIView>& labelGroupView() const { return labelGroupView_; }
    const std::shared_ptr<uikit::UILabel>& meetingNameLabel() const { return meetingNameLabel_; }
    const std::shared_ptr<uikit::UILabel>& meetingDescriptionLabel() const { return meetingDescriptionLabel_; }
    const std::shared_ptr<uikit::UILabel>& meetingPeriodLabel() const { return meetingPeriodLabel_; }
    const std::shared_ptr<uikit::UILabel>& meetingLocationLabel() const { return meetingLocationLabel_; }
    const std::shared_ptr<uikit::UIView>& nameDescrSeparatorView() const { return nameDescrSeparatorView_; }
    const std::shared_ptr<uikit::UIView>& descriptionPeriodSeparatorView() const {
        return descriptionPeriodSeparatorView_;
    }
    // Declared for the message, which is only added as a subview: stays empty.
    const std::shared_ptr<uikit::UITextView>& importantMessageTextView() const { return importantMessageTextView_; }

    void refreshLabels();
    void setFontSizes();
    void setLabelAppearance(const std::shared_ptr<uikit::UILabel>& label);
    int sizeOfFontForLabel(const uikit::UILabel& label, const std::string& text, int toFitHeight, int maxFontSize) const;
    // Texts (or kSeparatorEntry) and their views, in the same order.
    int heightNeededForAllLabels(const std::vector<std::string>& texts,
                                 const std::vector<std::shared_ptr<uikit::UIView>>& labels) const;
    static int heightNededForImportantTextViewWidth(int width, const std::shared_ptr<const uikit::UIFont>& font,
                                                    const std::string& text);

    // Each label's frame and font, for the screen dump.
    std::string screenDumpDetail() const override;
    std::string className() const override { return "SpotlightTitleView"; }

private:
    void build(const Text& importantMessageToShow);
    std::shared_ptr<uikit::UIView> makeSeparator();
    std::shared_ptr<uikit::UILabel> makeLabel(const char* outlet);
    int nameHeightLimit() const;

    Text meetingName_;
    Text meetingDescription_;
    Text meetingLocation_;
    Text meetingDate_;
    std::shared_ptr<uikit::UIView> labelGroupView_;
    std::shared_ptr<uikit::UILabel> meetingNameLabel_;
    std::shared_ptr<uikit::UILabel> meetingDescriptionLabel_;
    std::shared_ptr<uikit::UILabel> meetingPeriodLabel_;
    std::shared_ptr<uikit::UILabel> meetingLocationLabel_;
    std::shared_ptr<uikit::UIView> nameDescrSeparatorView_;
    std::shared_ptr<uikit::UIView> descriptionPeriodSeparatorView_;
    std::shared_ptr<uikit::UITextView> importantMessageTextView_;
    // The separators' frame when made, which every refresh places them from.
    graphics::Rect separatorCreatedFrame_;
    double groupWidth_ = 0;
};
