// The map series' model: polygon i stays paired with point i through every kind of edit (a seeded random
// sequence checked against a plain list), copying, the stream of polygons, marks on convex, U-shaped and
// empty polygons, extents, sample shapes and gallery styles.
#include "SeriesTestSupport.h"

#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Polygon n carries n in its first vertex's x, and its point carries Z = n, label "Pn" and colour n.
void AddTagged(TMapSeries& map, int n, int vertices)
{
    TLumPolygon& p = *map.Shapes().AddPolygon();
    for (int v = 0; v < vertices; ++v) p.AddVertex(n, v);
    p.SetZ(n);
    p.SetText("P" + std::to_string(n));
    p.SetColor(static_cast<TColor>(n));
}

// Every polygon still sits beside the point that was made with it.
void ExpectPaired(const TMapSeries& map, const std::vector<int>& expected, const std::string& step)
{
    SCOPED_TRACE(step);
    ASSERT_EQ(map.Shapes().Count(), static_cast<int>(expected.size()));
    ASSERT_EQ(map.PointCount(), map.Shapes().Count());
    for (int i = 0; i < map.Shapes().Count(); ++i) {
        const TLumPolygon& p = *map.Shapes().GetPolygon(i);
        const int n = expected[static_cast<std::size_t>(i)];
        ASSERT_EQ(p.Index(), i);
        if (p.VertexSeries().PointCount() > 0) {
            EXPECT_EQ(p.VertexSeries().XValues().ValueAt(0), n) << "vertices of polygon " << i;
        }
        EXPECT_EQ(map.ZValues().ValueAt(i), n) << "Z of point " << i;
        EXPECT_EQ(map.PointLabel(i), "P" + std::to_string(n));
        EXPECT_EQ(map.StoredPointColor(i), static_cast<TColor>(n));
        EXPECT_EQ(p.Z(), n);
    }
}

} // namespace

TEST(MapPairing, PolygonsAndPointsStayPairedThroughARandomSequence)
{
    std::mt19937 random(20240611);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    TSeriesBench b;
    auto* map = &b.Add<TMapSeries>();
    std::unique_ptr<TMapSeries> copy;
    std::vector<int> model;
    int next = 1;
    for (int step = 0; step < 400; ++step) {
        const int n = static_cast<int>(model.size());
        std::string what;
        switch (n == 0 ? 0 : below(11)) {
        case 0:
        case 1:
            AddTagged(*map, next, 1 + below(5));
            model.push_back(next++);
            what = "add polygon";
            break;
        case 2: {
            const int i = below(n);
            map->Shapes().GetPolygon(i)->AddVertex(model[static_cast<std::size_t>(i)], below(100));
            what = "add vertex";
            break;
        }
        case 3: {
            const int i = below(n);
            map->DeletePoint(i);
            model.erase(model.begin() + i);
            what = "DeletePoint";
            break;
        }
        case 4: {
            const int start = below(n), count = 1 + below(n - start);
            map->DeletePointRange(start, count);
            model.erase(model.begin() + start, model.begin() + start + count);
            what = "DeletePointRange";
            break;
        }
        case 5: {
            const int i = below(n);
            if (below(2))
                map->Shapes().Delete(i);
            else
                map->Shapes().GetPolygon(i)->Free();
            model.erase(model.begin() + i);
            what = "collection delete";
            break;
        }
        case 6: {
            const int i = below(n), j = below(n);
            map->SwapValueIndex(i, j);
            std::swap(model[static_cast<std::size_t>(i)], model[static_cast<std::size_t>(j)]);
            what = "SwapValueIndex";
            break;
        }
        case 7: {
            const int from = below(n), to = below(n);
            map->Shapes().GetPolygon(from)->SetIndex(to);
            const int moved = model[static_cast<std::size_t>(from)];
            model.erase(model.begin() + from);
            model.insert(model.begin() + to, moved);
            what = "Index written";
            break;
        }
        case 8: {
            const int i = below(n), j = below(n);
            map->Shapes().Exchange(i, j);
            std::swap(model[static_cast<std::size_t>(i)], model[static_cast<std::size_t>(j)]);
            what = "collection exchange";
            break;
        }
        case 9: {
            auto fresh = std::make_unique<TMapSeries>(nullptr);
            fresh->Assign(*map);
            copy = std::move(fresh);
            map = copy.get();
            what = "Assign";
            break;
        }
        default:
            if (below(4) == 0) {
                map->ClearPoints();
                model.clear();
                what = "ClearPoints";
            } else {
                map->Shapes().Insert(below(n + 1));
                what = "collection insert";
                // An inserted polygon is untagged: tag it where it landed.
                for (int i = 0; i < map->Shapes().Count(); ++i) {
                    TLumPolygon& p = *map->Shapes().GetPolygon(i);
                    if (p.Text().empty()) {
                        p.AddVertex(next, 0);
                        p.SetZ(next);
                        p.SetText("P" + std::to_string(next));
                        p.SetColor(static_cast<TColor>(next));
                        model.insert(model.begin() + i, next++);
                    }
                }
            }
            break;
        }
        ExpectPaired(*map, model, std::to_string(step) + ": " + what);
        if (HasFatalFailure()) return;
    }
}

TEST(MapPairing, AssignGivesOnePointPerPolygonWithItsSettings)
{
    TMapSeries source(nullptr);
    AddTagged(source, 7, 3);
    AddTagged(source, 9, 4);
    TLumPolygon& second = *source.Shapes().GetPolygon(1);
    second.SetClosed(false);
    second.SetTransparency(40);
    second.SetParentPen(true);
    second.Gradient().SetVisible(true);
    source.SetPaletteSteps(5);
    TMapSeries copy(nullptr);
    AddTagged(copy, 1, 2);
    copy.Assign(source);
    ExpectPaired(copy, {7, 9}, "copy");
    const TLumPolygon& c = *copy.Shapes().GetPolygon(1);
    EXPECT_EQ(c.VertexSeries().PointCount(), 4);
    EXPECT_FALSE(c.Closed());
    EXPECT_EQ(c.Transparency(), 40);
    EXPECT_TRUE(c.ParentPen());
    EXPECT_TRUE(c.HasGradient() && c.Gradient().Visible());
    EXPECT_FALSE(copy.Shapes().GetPolygon(0)->HasGradient());
    EXPECT_EQ(copy.PaletteSteps(), 5);
    // Writing Shapes from a list of polygons is refused (a polygon has no copy of its own); an empty list
    // clears the polygons and their points.
    EXPECT_THROW(copy.SetShapes(source.Shapes()), EConvertError);
    EXPECT_EQ(copy.PointCount(), copy.Shapes().Count());
    TMapSeries empty(nullptr);
    copy.SetShapes(empty.Shapes());
    EXPECT_EQ(copy.Shapes().Count(), 0);
    EXPECT_EQ(copy.PointCount(), 0);
}

TEST(MapPairing, PolygonsTravelInThePropertyStream)
{
    TMapSeries source(nullptr);
    AddTagged(source, 3, 3);
    AddTagged(source, 4, 5);
    TLumPolygon& p = *source.Shapes().GetPolygon(1);
    p.SetParentPen(true);
    p.SetParentBrush(true);
    p.SetClosed(false);
    TMemoryStream stream;
    WritePropertyList(stream, source);
    stream.SetPosition(0);
    TMapSeries back(nullptr);
    AddTagged(back, 99, 1);
    ReadPropertyList(stream, back);
    ExpectPaired(back, {3, 4}, "read back");
    const TLumPolygon& q = *back.Shapes().GetPolygon(1);
    EXPECT_TRUE(q.ParentPen()) << "True is written and read back";
    EXPECT_TRUE(q.ParentBrush());
    EXPECT_FALSE(q.Closed());
    EXPECT_EQ(q.VertexSeries().PointCount(), 5);
    EXPECT_FALSE(back.Shapes().GetPolygon(0)->ParentPen());
    // The polygons carry the vertices; the series itself writes no point data.
    EXPECT_EQ(TMapSeries::StaticClassInfo().FindDefinedProperty("Data")->IsWritten(source), false);
    EXPECT_TRUE(TLumPolygon::StaticClassInfo().FindDefinedProperty("Data")->IsWritten(p));
    source.SetNeverStoreData(true);
    EXPECT_FALSE(TLumPolygon::StaticClassInfo().FindDefinedProperty("Data")->IsWritten(p));
}

TEST(MapMarks, OnTheBoxCentreOrFromThreeAveragingPasses)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& map = b.Add<TMapSeries>();
    // A "U": its box (40..280, 140..320) has its centre (160, 230) in the gap between the arms.
    TLumPolygon& u = *map.Shapes().AddPolygon();
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {6, 0}, {6, 6}, {4, 6}, {4, 2}, {2, 2}, {2, 6}, {0, 6}})
        u.AddVertex(x, y);
    u.SetText("U");
    TLumPolygon& square = *map.Shapes().AddPolygon();
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{7, 7}, {9, 7}, {9, 9}, {7, 9}}) square.AddVertex(x, y);
    square.SetText("S");
    map.Shapes().AddPolygon()->SetText("E"); // no vertices
    map.Marks().SetVisible(true);
    b.Layout();
    b.Recorder->Clear();
    map.PaintMarks();
    // Pass 1 from (160, 230): the vertical line x 160 meets edges at y 320 and 260, the horizontal line
    // y 230 meets x 280, 200, 120 and 40: (160, 290); passes 2 and 3 stay there, in the bottom bar.
    const std::pair<int, TPoint> centres[] = {{0, {160, 290}}, {1, {PixelX(8), PixelY(8)}}, {2, {0, 0}}};
    for (const auto& [index, centre] : centres) {
        SCOPED_TRACE(index);
        const TSeriesMarkPosition* p = map.Marks().Positions().PositionAt(index);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->LeftTop.x, centre.x - p->Width / 2);
        EXPECT_EQ(p->LeftTop.y, centre.y - p->Height / 2);
    }
    // The texts are written inside those boxes.
    const auto texts = b.Recorder->OfKind("TextOut");
    auto written = [&](const std::string& t) -> const TRecordingBackend::TRecord* {
        for (const auto* r : texts)
            if (r->Text == t) return r;
        return nullptr;
    };
    const auto* uText = written("U");
    ASSERT_NE(uText, nullptr);
    const TRect box = map.Marks().Positions().PositionAt(0)->GetBoundsRect();
    EXPECT_TRUE(RectContainsXY(box, uText->Args[0], uText->Args[1]));
    EXPECT_TRUE(map.Shapes().GetPolygon(0)->ScreenPoints().size() == 8);
}

TEST(MapMarks, EachOfTheThreeAveragingPassesMovesTheMark)
{
    TSeriesBench b;
    b.FixAxes(0, 10, 0, 10);
    auto& map = b.Add<TMapSeries>();
    // A dart at (190, 245), (220, 200), (100, 200), (170, 215), (150, 230): its box centre (160, 222)
    // lies outside it, and the passes go (183, 217), (188, 221), (184, 222): two passes or four would
    // give another place.
    TLumPolygon& dart = *map.Shapes().AddPolygon();
    for (const auto& [x, y] :
         std::vector<std::pair<double, double>>{{3.75, 2.5}, {4.5, 4}, {1.5, 4}, {3.25, 3.5}, {2.75, 3}})
        dart.AddVertex(x, y);
    dart.SetText("D");
    map.Marks().SetVisible(true);
    b.Layout();
    map.PaintMarks();
    ASSERT_EQ(PixelX(3.75), 190);
    ASSERT_EQ(PixelY(2.5), 245);
    const TSeriesMarkPosition* p = map.Marks().Positions().PositionAt(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->LeftTop.x, 184 - p->Width / 2);
    EXPECT_EQ(p->LeftTop.y, 222 - p->Height / 2);
}

TEST(MapModel, ExtentsComeFromTheVertices)
{
    TMapSeries map(nullptr);
    EXPECT_EQ(map.HighestX(), 0);
    EXPECT_EQ(map.LowestY(), 0);
    TLumPolygon& a = *map.Shapes().AddPolygon();
    a.AddVertex(2, -1);
    a.AddVertex(5, 3);
    TLumPolygon& c = *map.Shapes().AddPolygon();
    c.AddVertex(-4, 8);
    EXPECT_EQ(map.LowestX(), -4);
    EXPECT_EQ(map.HighestX(), 5);
    EXPECT_EQ(map.LowestY(), -1);
    EXPECT_EQ(map.HighestY(), 8);
    map.Shapes().AddPolygon(); // contributes 0
    EXPECT_EQ(map.HighestX(), 5);
    a.SetZ(6);
    c.SetZ(-2);
    EXPECT_EQ(map.HighestZ(), 6);
    EXPECT_EQ(map.LowestZ(), -2);
    EXPECT_EQ(map.MandatoryValues().Name(), "Z") << "polygon colours follow Z";
}

TEST(MapModel, SampleShapesAndGallery)
{
    RandomizeSeed(5);
    TMapSeries map(nullptr);
    EXPECT_EQ(map.DefaultSampleCount(), 12);
    map.AddRandomSampleValues(14, false);
    ASSERT_EQ(map.Shapes().Count(), 14);
    const int counts[] = {14, 9, 16, 8, 11, 12, 12, 10, 15, 12, 10, 7};
    for (int k = 0; k < 14; ++k) {
        const TLumPolygon& p = *map.Shapes().GetPolygon(k);
        EXPECT_EQ(p.Text(), std::string(1, char('A' + k % 12)));
        EXPECT_EQ(p.VertexSeries().PointCount(), counts[k % 12]);
        EXPECT_GE(p.Z(), 0);
        EXPECT_LT(p.Z(), 1);
    }
    // The 14th shape came after more than 12 points: moved by up to 11 in each direction.
    const double dx = map.Shapes().GetPolygon(13)->VertexSeries().XValues().ValueAt(0) -
                      map.Shapes().GetPolygon(1)->VertexSeries().XValues().ValueAt(0);
    EXPECT_GE(dx, 0);
    EXPECT_LT(dx, 12);
    EXPECT_EQ(map.Shapes().GetPolygon(12)->VertexSeries().XValues().ValueAt(0),
              map.Shapes().GetPolygon(0)->VertexSeries().XValues().ValueAt(0))
        << "the 13th came after exactly 12 points";

    std::vector<std::string> names;
    map.ListGalleryStyles([&](const std::string& n) { names.push_back(n); });
    EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Color Range", "Colors"}));
    TMapSeries target(nullptr);
    map.ApplyGalleryStyle(&target, 2);
    EXPECT_TRUE(target.ColorEachPoint());
    map.ApplyGalleryStyle(&target, 1);
    EXPECT_TRUE(target.UseColorRange());
    map.PrepareForGallery(false);
    EXPECT_EQ(map.Shapes().GetPolygon(3)->Color(), clSilver);
    EXPECT_EQ(map.EditorFormName(), "TMapSeriesEditor");
}

TEST(MapModel, PolygonProperties)
{
    TSeriesBench b;
    auto& map = b.Add<TMapSeries>();
    TLumPolygon& p = *map.Shapes().AddPolygon();
    EXPECT_EQ(map.PointCount(), 1);
    EXPECT_FALSE(p.ParentPen());
    EXPECT_FALSE(p.ParentBrush());
    EXPECT_TRUE(p.Closed());
    EXPECT_EQ(p.ParentSeries(), &map);
    EXPECT_EQ(p.VertexSeries().Polygon(), &p);
    EXPECT_EQ(p.DisplayName(), "TLumPolygon");
    p.SetText("Body 2");
    EXPECT_EQ(p.DisplayName(), "Body 2");
    EXPECT_EQ(map.PointLabel(0), "Body 2");
    const int before = b.Chart.Invalidations;
    p.SetZ(3.5);
    EXPECT_EQ(map.ZValues().ValueAt(0), 3.5);
    EXPECT_GT(b.Chart.Invalidations, before) << "a Z write repaints";
    p.SetColor(clRed);
    EXPECT_EQ(map.StoredPointColor(0), clRed);
    EXPECT_EQ(p.Color(), clRed);
    p.SetTransparency(150);
    EXPECT_EQ(p.Transparency(), 100);
    const int added = b.Chart.Invalidations;
    p.AddVertex(1, 1);
    EXPECT_GT(b.Chart.Invalidations, added) << "adding vertices repaints the map";
    TLumGradient g;
    g.SetVisible(true);
    p.SetGradient(&g);
    EXPECT_TRUE(p.Gradient().Visible());
    p.SetGradient(nullptr);
    EXPECT_FALSE(p.HasGradient());
    EXPECT_THROW(map.Shapes().GetPolygon(1), EListError);
    // Deleting a polygon through the collection takes its point; the rest keep their pairs.
    AddTagged(map, 5, 1);
    AddTagged(map, 6, 1);
    map.Shapes().DeleteRange(0, 1);
    ExpectPaired(map, {5, 6}, "after the range");
}
