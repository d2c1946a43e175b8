// SVG documents through librsvg: what is taken for SVG, and renderings whose
// pixels are known (straight alpha out of cairo's premultiplied words).
#include <gtest/gtest.h>

#include <string>

#include "imaging/SvgImage.h"

using namespace sigil;

namespace {

ByteView bytesOf(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct SniffCase {
    const char* name;
    std::string text;
    bool svg;
};

class SvgSniff : public testing::TestWithParam<SniffCase> {};

TEST_P(SvgSniff, FirstElementDecides)
{
    EXPECT_EQ(looksLikeSvg(bytesOf(GetParam().text)), GetParam().svg);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SvgSniff,
    testing::Values(SniffCase{"Bare", "<svg xmlns='http://www.w3.org/2000/svg'/>", true},
                    SniffCase{"AfterDeclarationCommentAndDoctype",
                              "\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- made by hand -->\n<!DOCTYPE svg PUBLIC "
                              "'-//W3C//DTD SVG 1.1//EN' 'x'>\n<svg/>",
                              true},
                    SniffCase{"Prefixed", "<svg:svg xmlns:svg='http://www.w3.org/2000/svg'/>", true},
                    SniffCase{"OtherXml", "<?xml version='1.0'?><html/>", false},
                    SniffCase{"NotXml", "\x89PNG\r\n\x1a\n", false}, SniffCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

const std::string kSquares = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 4 4'>"
                             "<rect width='2' height='4' fill='#ff0000'/>"
                             "<rect x='2' width='2' height='4' fill='#0080ff' fill-opacity='0.5'/></svg>";

TEST(SvgImage, RendersStraightAlphaAtAnySize)
{
    if (!svgRendererAvailable())
        GTEST_SKIP() << "librsvg is not installed";
    std::string reason;
    const auto svg = SvgImage::parse(bytesOf(kSquares), reason);
    ASSERT_TRUE(svg) << reason;
    for (const int side : {4, 16, 64}) {
        const RgbaImage image = svg->render(side, side);
        ASSERT_EQ(image.width, side);
        ASSERT_EQ(image.height, side);
        const uint8_t* left = image.bytes.data() + (int64_t(side / 2) * side + side / 4) * 4;
        const uint8_t* right = image.bytes.data() + (int64_t(side / 2) * side + 3 * side / 4) * 4;
        EXPECT_EQ(std::vector<int>(left, left + 4), (std::vector<int>{255, 0, 0, 255})) << side;
        // 0.5 of 255 is stored as 128; 0x80 premultiplied by it and back.
        EXPECT_NEAR(right[0], 0, 1);
        EXPECT_NEAR(right[1], 128, 2);
        EXPECT_NEAR(right[2], 255, 1);
        EXPECT_NEAR(right[3], 128, 1);
    }
}

TEST(SvgImage, WideDocumentIsFittedAndCentred)
{
    if (!svgRendererAvailable())
        GTEST_SKIP() << "librsvg is not installed";
    std::string reason;
    const auto svg = SvgImage::parse(
        bytesOf("<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'><rect width='40' height='20'/></svg>"),
        reason);
    ASSERT_TRUE(svg) << reason;
    const RgbaImage image = svg->render(16, 16);
    ASSERT_EQ(image.width, 16);
    EXPECT_EQ(image.bytes[(0 * 16 + 8) * 4 + 3], 0);    // above the band
    EXPECT_EQ(image.bytes[(8 * 16 + 8) * 4 + 3], 255);  // inside it
    EXPECT_EQ(image.bytes[(15 * 16 + 8) * 4 + 3], 0);   // below it
}

TEST(SvgImage, RefusesWhatItCannotTake)
{
    if (!svgRendererAvailable())
        GTEST_SKIP() << "librsvg is not installed";
    std::string reason;
    EXPECT_FALSE(SvgImage::parse(bytesOf("<svg"), reason));
    EXPECT_FALSE(reason.empty());
    reason.clear();
    EXPECT_FALSE(SvgImage::parse(bytesOf(std::string(kMaxSvgBytes + 1, ' ')), reason));
    EXPECT_NE(reason.find("MB"), std::string::npos);
    const auto svg = SvgImage::parse(bytesOf(kSquares), reason);
    ASSERT_TRUE(svg);
    EXPECT_TRUE(svg->render(0, 16).empty());
    EXPECT_TRUE(svg->render(kMaxSvgSide + 1, 16).empty());
}

}  // namespace
