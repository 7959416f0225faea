// The chart picture: made on demand, sized by its chart, loaded from a native chart file through the
// picture framework and drawn on white, saved with the native extension, copied with its points, and a
// chart given from outside that outlives the picture.
#include "ChartTestSupport.h"

#include "chart/control/LumEditPro.h"
#include "chart/control/LumStore.h"
#include "platform/rtl/Streams.h"
#include "tests/platform/rtl/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace chart_image_test {

class ChartImageTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterClass(TLineTestSeries::StaticClassInfo()); }
    void TearDown() override { UnRegisterClass(TLineTestSeries::StaticClassInfo()); }
};

std::string FileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST_F(ChartImageTest, ANewPictureIsEmptyUntilItsSizeIsAsked)
{
    TChartImage image;
    EXPECT_TRUE(image.Empty());
    EXPECT_GT(image.Width(), 0);
    EXPECT_FALSE(image.Empty());
    image.SetWidth(300);
    image.SetHeight(200);
    EXPECT_EQ(image.Chart().Width(), 300);
    EXPECT_EQ(image.Height(), 200);
    EXPECT_FALSE(image.Chart().BufferedDisplay());
    image.SetTransparent(true);
    EXPECT_EQ(image.Chart().Color(), clNone);
}

TEST_F(ChartImageTest, ALumFileLoadsThroughThePictureFrameworkAndDrawsOnWhite)
{
    TTempFolder folder;
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 320, 240);
    chart.SetColor(clNone);
    AddSeries(chart, {1, 3, 2}, "SP");
    SaveChartFile(chart, folder.File("profile"));
    TPicture picture;
    picture.LoadFromFile(folder.File("profile.lum"));
    auto* image = dynamic_cast<TChartImage*>(picture.Graphic());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(picture.Height(), 240);
    ASSERT_EQ(image->Chart().CountSeries(), 1);
    EXPECT_EQ(image->Chart().SeriesAt(0)->PointCount(), 3);
    // Drawn by a canvas: the chart over a white ground.
    TBitmap target(400, 300);
    target.Canvas().Brush().SetColor(clBlack);
    target.Canvas().FillRect({0, 0, 400, 300});
    target.Canvas().Draw(10, 10, *image);
    EXPECT_EQ(target.PixelRGB(11, 11), 0xFFFFFF);
    EXPECT_EQ(target.PixelRGB(5, 5), 0x000000);
    const TPixelBuffer own = image->ToPixels();
    EXPECT_EQ(own.Width, 320);
    EXPECT_EQ(TPixelBuffer(RenderChart(image->Chart())->ToPixels()).Pixels.size(), own.Pixels.size());
}

TEST_F(ChartImageTest, SavingWithoutExtensionWritesTheBinaryFormWithPoints)
{
    TTempFolder folder;
    TChartImage image;
    AddSeries(image.Chart(), {4, 5});
    image.SaveToFile(folder.File("picture"));
    TMemoryStream expected;
    SaveChartStream(image.Chart(), expected, true, false);
    EXPECT_EQ(FileBytes(folder.File("picture.lum")),
              std::string(reinterpret_cast<const char*>(expected.Memory()), static_cast<std::size_t>(expected.Size())));
}

TEST_F(ChartImageTest, ACopyCarriesTheSeriesAndTheirPoints)
{
    TChartImage source;
    source.Chart().SetBounds(0, 0, 250, 150);
    AddSeries(source.Chart(), {7, 8, 9}, "copied");
    TChartImage copy;
    copy.Assign(source);
    ASSERT_EQ(copy.Chart().CountSeries(), 1);
    EXPECT_EQ(copy.Chart().SeriesAt(0)->PointCount(), 3);
    EXPECT_EQ(copy.Chart().SeriesAt(0)->Title(), "copied");
    EXPECT_EQ(copy.Width(), 250);
    const std::unique_ptr<TGraphic> clone = source.Clone();
    EXPECT_EQ(static_cast<TChartImage&>(*clone).Chart().SeriesAt(0)->PointCount(), 3);
    TBitmap bitmap(2, 2);
    EXPECT_THROW(copy.Assign(bitmap), EInvalidGraphicOperation);
}

TEST_F(ChartImageTest, AChartGivenFromOutsideOutlivesThePicture)
{
    TChart outside(nullptr);
    AddSeries(outside, {1});
    int changes = 0;
    {
        TChartImage image;
        image.OnChange = [&](TGraphic*) { ++changes; };
        image.SetChart(&outside);
        EXPECT_EQ(&image.Chart(), &outside);
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(outside.CountSeries(), 1);
}

TEST_F(ChartImageTest, RefusedStreamsLeaveThePicturesChart)
{
    TChartImage image;
    AddSeries(image.Chart(), {1, 2});
    const std::string empty, wrong = "PK";
    EXPECT_THROW(image.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(empty.data()), 0), ChartException);
    EXPECT_THROW(image.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(wrong.data()), wrong.size()), ChartException);
    EXPECT_EQ(image.Chart().CountSeries(), 1);
    EXPECT_EQ(image.Chart().SeriesAt(0)->PointCount(), 2);
}

} // namespace chart_image_test
