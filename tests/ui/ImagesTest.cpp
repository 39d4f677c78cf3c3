#include <gtest/gtest.h>

#include "ui/Images.h"

TEST(Images, ThePlayersImagesAreRegisteredInOrderAndDrawn)
{
    const std::vector<std::string> expected = {
        "ImgPlayForwardSmall", "ImgPlayForward", "ImgPlayForwardFlash", "ImgPause", "ImgPauseFlash",
        "ImgStop", "ImgPlayBackward", "ImgPrevKey", "ImgNextKey", "ImgPrev", "ImgNext", "ImgIcon",
        "ImgLargeIcon"};
    std::vector<std::string> names = ImageNames();
    // Tests may register more images; the player's come first, in order.
    ASSERT_GE(names.size(), expected.size());
    names.resize(expected.size());
    EXPECT_EQ(names, expected);

    for (const std::string& name : expected) {
        const QImage& image = GetImage(name);
        ASSERT_FALSE(image.isNull()) << name;
        // Every face has transparent corners and something opaque across its middle.
        EXPECT_EQ(qAlpha(image.pixel(0, image.height() - 1)), 0) << name;
        int opaque = 0;
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, image.height() / 2)) > 200;
        EXPECT_GT(opaque, image.width() / 3) << name;
    }
    EXPECT_EQ(&ImgPlayForward(), &GetImage("ImgPlayForward"));
    EXPECT_EQ(ImgIcon().size(), QSize(16, 16));
    EXPECT_EQ(ImgLargeIcon().size(), QSize(32, 32));
    // The flash faces differ from the plain ones, or blinking would show nothing.
    EXPECT_NE(ImgPlayForward(), ImgPlayForwardFlash());
    EXPECT_NE(ImgPause(), ImgPauseFlash());
}

TEST(Images, UnknownNamesGiveANullImageAndReRegistrationReplaces)
{
    EXPECT_TRUE(GetImage("NoSuchImage").isNull());
    RegisterImage("TestDot", [] { return QImage(3, 3, QImage::Format_ARGB32); });
    EXPECT_EQ(GetImage("TestDot").size(), QSize(3, 3));
    RegisterImage("TestDot", [] { return QImage(5, 5, QImage::Format_ARGB32); });
    EXPECT_EQ(GetImage("TestDot").size(), QSize(5, 5));
    const auto names = ImageNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "TestDot"), 1);
}
