// The pictures: decoding, resampling and composing, the outline cut from silver, and the launcher's
// and help window's artwork at more than one DPI.
#include <gtest/gtest.h>

#include <set>

#include "app/art/art_files.h"
#include "app/art/launcher_art.h"
#include "platform/dib.h"

using namespace app::art;
using platform::Dib;

namespace {

constexpr uint32_t kSilver = 0xFFC0C0C0;

bool Opaque(const Dib& dib) {
    for (int y = 0; y < dib.height(); ++y)
        for (int x = 0; x < dib.width(); ++x)
            if ((dib.pixel(x, y) >> 24) != 0xFF) return false;
    return true;
}

bool Same(const Dib& a, const Dib& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

int Px(int units, int dpi) {
    return MulDiv(units, dpi, 96);
}

TEST(Dib, ResampleHalvesByAveragingEachBlock) {
    Dib src(4, 2);
    for (int x = 0; x < 4; ++x) {
        src.setPixel(x, 0, x < 2 ? 0xFFFFFFFF : 0xFF000000);
        src.setPixel(x, 1, x < 2 ? 0xFFFFFFFF : 0xFF0000FF);
    }
    Dib half = platform::Resample(src, 2, 1);
    EXPECT_EQ(half.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(half.pixel(1, 0), 0xFF000080u); // black and blue averaged
    Dib same = platform::Resample(src, 4, 2);
    EXPECT_TRUE(Same(same, src));
}

TEST(Dib, ResampleKeepsPremultipliedColourWithinAlpha) {
    Dib src(3, 3);
    for (int i = 0; i < 9; ++i)
        src.setPixel(i % 3, i / 3, i % 2 ? 0x80808080 : 0x00000000);
    Dib out = platform::Resample(src, 2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            uint32_t p = out.pixel(x, y), a = p >> 24;
            for (int c = 0; c < 3; ++c)
                EXPECT_LE((p >> (8 * c)) & 0xFF, a);
        }
}

TEST(Dib, DrawOverBlendsByAlpha) {
    Dib dst(2, 1);
    dst.setPixel(0, 0, 0xFF000000);
    dst.setPixel(1, 0, 0xFF000000);
    Dib src(1, 1);
    src.setPixel(0, 0, 0x80808080); // white at half cover
    platform::DrawOver(dst, src, 1, 0);
    EXPECT_EQ(dst.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.pixel(1, 0), 0xFF808080u);
    platform::DrawOver(dst, src, 5, 5); // outside: nothing happens
    EXPECT_EQ(dst.pixel(1, 0), 0xFF808080u);
}

TEST(Dib, CutOutlineMakesTheOutsideExactlySilverAndTheInsideNeverSilver) {
    Dib dib(4, 1);
    dib.setPixel(0, 0, 0x00000000); // outside
    dib.setPixel(1, 0, 0x40404040); // mostly outside
    dib.setPixel(2, 0, kSilver);    // inside, but of the key colour
    dib.setPixel(3, 0, 0x80000000); // half-covered black edge
    platform::CutOutline(dib, kTransparentColour, RGB(0x40, 0x60, 0x80));
    EXPECT_EQ(dib.pixel(0, 0), kSilver);
    EXPECT_EQ(dib.pixel(1, 0), kSilver);
    EXPECT_NE(dib.pixel(2, 0), kSilver);
    EXPECT_EQ(dib.pixel(2, 0) >> 24, 0xFFu);
    EXPECT_EQ(dib.pixel(3, 0), 0xFF203040u); // black at half cover over the edge colour
}

TEST(Dib, RegionLeavesOutTheSilverPixels) {
    Dib dib(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            dib.setPixel(x, y, (x >= 1 && x < 5 && y >= 1 && y < 3) ? 0xFF102030 : kSilver);
    dib.setPixel(4, 2, kSilver); // a notch
    auto region = platform::RegionWithout(dib, kTransparentColour);
    auto rgn = static_cast<HRGN>(region.get());
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.top, 1);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 3);
    EXPECT_TRUE(PtInRegion(rgn, 4, 1));
    EXPECT_FALSE(PtInRegion(rgn, 4, 2));
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
}

TEST(Dib, DecodesTheEmbeddedArtworkAndRefusesGarbage) {
    Dib junk = platform::DecodeImage(ArtBytes("junk"));
    EXPECT_EQ(junk.width(), 128); // rendered at twice its 64-unit size
    EXPECT_EQ(junk.height(), 128);
    EXPECT_EQ(junk.pixel(0, 0) >> 24, 0u); // transparent around the drawing
    EXPECT_EQ(junk.pixel(64, 80) >> 24, 0xFFu);
    const unsigned char garbage[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    EXPECT_THROW(platform::DecodeImage(garbage), std::exception);
    EXPECT_THROW(ArtBytes("no_such_picture"), std::runtime_error);
}

TEST(LauncherArt, MainScreenIsSilverOutsideItsOutlineOnly) {
    for (int dpi : {96, 144}) {
        Dib back = MainScreen(dpi);
        EXPECT_EQ(back.width(), Px(kNavWidth, dpi));
        EXPECT_EQ(back.height(), Px(kNavHeight, dpi));
        EXPECT_TRUE(Opaque(back));
        EXPECT_EQ(back.pixel(0, 0), kSilver);
        EXPECT_EQ(back.pixel(back.width() - 1, back.height() - 1), kSilver);
        EXPECT_EQ(back.pixel(Px(400, dpi), Px(10, dpi)), kSilver);
        EXPECT_NE(back.pixel(Px(78, dpi), Px(12, dpi)), kSilver);
        // Every button and the hint place lie wholly inside the outline.
        std::vector<platform::Bounds> places{NavHintBounds()};
        for (int i = 0; i < kNavButtonCount; ++i)
            places.push_back(NavButtonBounds(static_cast<NavButton>(i)));
        for (const auto& b : places)
            for (auto [x, y] :
                 {std::pair{b.x, b.y}, {b.x + b.w - 1, b.y}, {b.x, b.y + b.h - 1}, {b.x + b.w - 1, b.y + b.h - 1}})
                EXPECT_NE(back.pixel(Px(x, dpi), Px(y, dpi)), kSilver) << x << "," << y << " at " << dpi;
    }
}

TEST(LauncherArt, ButtonsDoNotOverlap) {
    for (int i = 0; i < kNavButtonCount; ++i)
        for (int j = i + 1; j <= kNavButtonCount; ++j) {
            platform::Bounds a = NavButtonBounds(static_cast<NavButton>(i));
            platform::Bounds b = j < kNavButtonCount ? NavButtonBounds(static_cast<NavButton>(j)) : NavHintBounds();
            bool apart = a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
            EXPECT_TRUE(apart) << i << " and " << j;
        }
}

TEST(LauncherArt, EveryButtonHasDistinctFacesOfItsSize) {
    for (int dpi : {96, 120}) {
        std::vector<Dib> ups;
        for (int i = 0; i < kNavButtonCount; ++i) {
            auto b = static_cast<NavButton>(i);
            ButtonFaces faces = NavButtonFaces(b, dpi);
            platform::Bounds bounds = NavButtonBounds(b);
            EXPECT_EQ(faces.up.width(), Px(bounds.w, dpi));
            EXPECT_EQ(faces.up.height(), Px(bounds.h, dpi));
            EXPECT_TRUE(Opaque(faces.up));
            EXPECT_TRUE(Opaque(faces.down));
            EXPECT_FALSE(Same(faces.up, faces.down)) << i;
            if (IsTool(b)) {
                EXPECT_TRUE(Opaque(faces.over));
                EXPECT_FALSE(Same(faces.up, faces.over)) << i;
                EXPECT_FALSE(Same(faces.over, faces.down)) << i;
            } else {
                EXPECT_TRUE(faces.over.empty());
            }
            for (const Dib& other : ups)
                EXPECT_FALSE(Same(other, faces.up)) << "two buttons look alike: " << i;
            ups.push_back(std::move(faces.up));
        }
    }
}

TEST(LauncherArt, HintPicturesDifferAndFitTheirPlace) {
    platform::Bounds place = NavHintBounds();
    std::vector<Dib> hints;
    for (int i = 0; i < kNavButtonCount; ++i) {
        Dib hint = NavHint(static_cast<NavButton>(i), 96);
        EXPECT_EQ(hint.width(), place.w);
        EXPECT_EQ(hint.height(), place.h);
        EXPECT_TRUE(Opaque(hint));
        for (const Dib& other : hints)
            EXPECT_FALSE(Same(other, hint)) << i;
        hints.push_back(std::move(hint));
    }
}

TEST(HelpArt, BackgroundFacesAndVersionPanel) {
    Dib back = HelpBack(96);
    EXPECT_EQ(back.width(), kHelpWidth);
    EXPECT_EQ(back.pixel(0, 0), kSilver);
    EXPECT_NE(back.pixel(kHelpWidth / 2, kHelpHeight / 2), kSilver);
    for (HelpButton b : {HelpButton::Manual, HelpButton::Support, HelpButton::Close}) {
        ButtonFaces faces = HelpButtonFaces(b, 96);
        EXPECT_EQ(faces.up.width(), HelpButtonBounds(b).w);
        EXPECT_FALSE(Same(faces.up, faces.down));
    }
    Dib one = HelpInfo("Vantrel\nVersion 1.0", 96);
    Dib two = HelpInfo("Vantrel\nVersion 2.0", 96);
    EXPECT_EQ(one.width(), HelpInfoBounds().w);
    EXPECT_FALSE(Same(one, two)) << "the version text is drawn";
}

} // namespace
