// The list search bar's placeholder look: the title colour and the 14 pt
// light font over the whole placeholder, set again with every placeholder;
// an empty placeholder stays plain; made from an interface file, the bar
// corrects nothing.
#include <gtest/gtest.h>

#include <memory>

#include "Utils/CustomSearchBar.h"
#include "uikit/NSAttributedString.h"
#include "uikit/UIFont.h"
#include "uikit/UITextField.h"

namespace {

TEST(CustomSearchBar, APlaceholderShowsInTheTitleColourAndLightFontAnEmptyOneStaysPlain) {
    auto bar = std::make_shared<CustomSearchBar>(graphics::Rect(0, 0, 320, 44));
    auto field = bar->textField();
    ASSERT_TRUE(field);

    bar->setPlaceholder(std::string(""));
    EXPECT_FALSE(field->attributedPlaceholder());

    bar->setPlaceholder(std::string("Search"));
    const auto& styled = field->attributedPlaceholder();
    ASSERT_TRUE(styled);
    EXPECT_EQ(styled->string(), "Search");
    ASSERT_EQ(styled->runs().size(), 1u);
    uikit::NSRange range{};
    const auto& attributes = styled->attributesAtIndex(0, &range);
    EXPECT_EQ(range.length, 6u);
    ASSERT_TRUE(attributes.foregroundColor);
    auto rgba = attributes.foregroundColor->rgba();
    EXPECT_NEAR(rgba.red * 255, 64, 1e-9);
    EXPECT_NEAR(rgba.green * 255, 158, 1e-9);
    EXPECT_NEAR(rgba.blue * 255, 210, 1e-9);
    ASSERT_TRUE(attributes.font);
    EXPECT_EQ(attributes.font->fontName(), "HelveticaNeue-Light");
    EXPECT_EQ(attributes.font->pointSize(), 14);
    EXPECT_EQ(bar->placeholder(), std::optional<std::string>("Search"));

    // A later placeholder is styled again; clearing it leaves the field plain.
    bar->setPlaceholder(std::string("Search in partners"));
    ASSERT_TRUE(field->attributedPlaceholder());
    EXPECT_EQ(field->attributedPlaceholder()->runs().size(), 1u);
    bar->setPlaceholder(std::nullopt);
    EXPECT_FALSE(field->attributedPlaceholder());
}

TEST(CustomSearchBar, MadeFromAnInterfaceFileItCorrectsNothing) {
    auto bar = std::make_shared<CustomSearchBar>(graphics::Rect(0, 0, 320, 44));
    bar->setPlaceholder(std::string("Search"));
    EXPECT_EQ(bar->textField()->autocorrectionType(), uikit::UITextAutocorrectionType::Default);
    bar->awakeFromNib();
    EXPECT_EQ(bar->textField()->autocorrectionType(), uikit::UITextAutocorrectionType::No);
    EXPECT_TRUE(bar->textField()->attributedPlaceholder());
}

}  // namespace
