// The "Body parameters" dialog on the sample's model: the resistivity and label typed as a user types them,
// the conductor type and the label it gives, the copy boxes, "As default" for new polygons, the look
// buttons and leaving without a command, and the one undo step the double-click's edit takes.
#include "MainWindowFixture.h"
#include "tests/views/DialogTestSupport.h"

#include "chart/base/LumPenDlgForm.h"
#include "chart/series/LumMapSeries.h"
#include "views/AppDialogParts.h"
#include "views/PolygonChart.h"
#include "views/PolygonChartUndo.h"
#include "views/bsetupun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

class BodyParameters : public MainWindow {
protected:
    TPolygonChart& Chart() { return *Form->PolygonChart1; }
    PolygonProperties& Row(int body, int sub) { return Chart().Model.Bodies[body][sub].properties; }
    void SetUp() override
    {
        MainWindow::SetUp();
        Start();
        OpenSample();
        ASSERT_GE(Chart().Model.Bodies.Length(), 3) << "the sample has two bodies besides the host";
    }
    // The dialog for body 1, sub-polygon 0, run with the script.
    TModalResult Run(const std::function<void(TBsetup&)>& Step, int body = 1)
    {
        Script->DriveForm([&](TForm& form) { Step(dynamic_cast<TBsetup&>(form)); });
        ShowBodyParameters(Dialog, nullptr, Chart(), Chart().ShapeOfSubPolygon(body, 0), body, 0);
        return Dialog->ModalResult();
    }
    // The cursor inside body `body` (the mean of its first ring's nodes).
    void CursorInto(int body)
    {
        TPolygonChart& c = Chart();
        const arofintM& ring = c.Model.Bodies[body][0].ring;
        double x = 0, z = 0;
        for (int n : ring) {
            x += c.Model.Nodes[n].x;
            z += c.Model.Nodes[n].z;
        }
        c.CursorX = x / ring.Length();
        c.CursorZ = z / ring.Length();
    }
    void TearDown() override
    {
        Dialog.reset();
        MainWindow::TearDown();
    }
    std::unique_ptr<TBsetup> Dialog;
};

} // namespace

TEST_F(BodyParameters, ResistivityAndLabelAsTyped)
{
    PolygonProperties& row = Row(1, 0);
    row[psResistivity] = 123.456789;
    struct Case {
        const char* Typed;
        double Expected;
    };
    const Case cases[] = {{"1,5", 1.5}, {"abc", 1.5}, {"0", 1.5}, {"-3", 1.5}, {"inf", 1.5}, {"2e3", 2000}};
    // Untouched, the rounded text shown does not replace the exact value.
    Run([&](TBsetup& d) {
        EXPECT_EQ(d.Caption(), "Body parameters");
        EXPECT_EQ(d.Label1->text(), QString(QChar(0x03C1)));
        EXPECT_EQ(EditText(*d.Edit1), FormatValue(123.456789, 2, true));
        d.Button4->click();
    });
    EXPECT_EQ(row[psResistivity].AsDouble(), 123.456789);
    for (const Case& c : cases) {
        Run([&](TBsetup& d) {
            TypeInto(*d.Edit1, c.Typed);
            d.Button3->click();
            EXPECT_TRUE(d.isVisible()) << "Apply keeps the dialog open";
            d.close();
        });
        EXPECT_EQ(Row(1, 0)[psResistivity].AsDouble(), c.Expected) << c.Typed;
    }
    // An emptied label stores one blank.
    Run([&](TBsetup& d) {
        TypeInto(*d.Edit5, "");
        d.Button4->click();
    });
    EXPECT_EQ(Row(1, 0)[psLabelText], Variant(" "));
}

TEST_F(BodyParameters, ConductorTypeAndTheLabelItGives)
{
    for (const bool electronic : {true, false}) {
        Run([&](TBsetup& d) {
            d.CheckBox6->setChecked(electronic);
            d.ComboBox1->setCurrentIndex(2);
            d.Button4->click();
        });
        EXPECT_EQ(Row(1, 0)[psConductorType], Variant(electronic ? 0.0 : 1.0));
        EXPECT_EQ(Row(1, 0)[psLabelMode], Variant(std::int32_t(2)));
        const std::string label = Chart().ShapeSeries().Shapes().GetPolygon(Chart().ShapeOfSubPolygon(1, 0))->Text();
        ASSERT_GE(label.size(), 2u);
        EXPECT_EQ(label.substr(label.size() - 2), electronic ? " E" : " I") << label;
    }
}

TEST_F(BodyParameters, CopyBoxesReachEverySubPolygonButTheHost)
{
    const PolygonProperties host = Row(0, 0);
    Run([&](TBsetup& d) {
        TPolygonChart& c = Chart();
        // A look of its own on the shape: colour, brush and pen.
        TLumPolygon& shape = *c.ShapeSeries().Shapes().GetPolygon(d.Shape());
        shape.SetColor(clFuchsia);
        shape.Brush().SetStyle(bsDiagCross);
        shape.SetParentPen(false);
        shape.Pen().SetWidth(3);
        d.ComboBox1->setCurrentIndex(3);
        for (QCheckBox* b : {d.CheckBox1, d.CheckBox2, d.CheckBox3, d.CheckBox4, d.CheckBox5}) b->setChecked(true);
        d.Button4->click();
    });
    const PolygonProperties& edited = Row(1, 0);
    for (int b = 0; b < Chart().Model.Bodies.Length(); ++b)
        for (int s = 0; s < Chart().Model.Bodies[b].Length(); ++s) {
            if (b == 0 && s == 0) continue;
            for (int slot : {psFillColor, psPenText, psBrushText, psGradientText, psLabelMode})
                EXPECT_EQ(Row(b, s)[slot], edited[slot]) << b << "," << s << " slot " << slot;
        }
    for (int slot = 1; slot < PolygonPropertyCount; ++slot) EXPECT_EQ(Row(0, 0)[slot], host[slot]) << "host slot " << slot;
    EXPECT_EQ(Row(2, 0)[psFillColor], Variant(std::int32_t(clFuchsia)));
}

TEST_F(BodyParameters, AsDefaultGivesNewPolygonsTheEditedPropertiesWithTheirOwnShape)
{
    Run([&](TBsetup& d) {
        TypeInto(*d.Edit1, "77");
        d.CheckBox6->setChecked(true);
        d.ComboBox1->setCurrentIndex(1);
        TypeInto(*d.Edit5, "ore");
        d.Button8->click();
        d.close();
    });
    const PolygonProperties edited = Row(1, 0);
    EXPECT_EQ(Chart().NewPolygonProperties, edited);
    TPolygonChart& c = Chart();
    const int bodies = c.Model.Bodies.Length();
    const TModelBox& box = c.Model.ModelBox;
    const double x0 = box.XMin + 0.05 * (box.XMax - box.XMin), z0 = box.ZMax * 0.8;
    const double x1 = box.XMin + 0.15 * (box.XMax - box.XMin), z1 = box.ZMax * 0.9;
    ASSERT_TRUE(c.ApplyAddPolygon({{x0, z0}, {x1, z0}, {x1, z1}, {x0, z1}}));
    ASSERT_EQ(c.Model.Bodies.Length(), bodies + 1);
    const PolygonProperties& added = c.Model.Bodies[bodies][0].properties;
    for (int slot = 1; slot < PolygonPropertyCount; ++slot) EXPECT_EQ(added[slot], edited[slot]) << "slot " << slot;
    EXPECT_NE(added[psShapeIndex], edited[psShapeIndex]) << "its own shape";
    EXPECT_GE(c.ShapeOfSubPolygon(bodies, 0), 0);
}

TEST_F(BodyParameters, LeavingWithoutACommandGivesTheShapeItsStoredLook)
{
    for (const TDialogExit& exit : DialogExits) {
        const TColor stored = Chart().ShapeSeries().Shapes().GetPolygon(Chart().ShapeOfSubPolygon(1, 0))->Color();
        const TModalResult result = Run([&](TBsetup& d) {
            TLumPolygon& shape = *Chart().ShapeSeries().Shapes().GetPolygon(d.Shape());
            Script->Expect(TPromptKind::ColorDialog, [](TPrompt& p) {
                p.Color->Color = clAqua;
                p.Result = mrOk;
            });
            Script->DriveForm([](TForm& form) {
                auto& pen = dynamic_cast<TPenDialog&>(form);
                pen.SEWidth->setValue(4);
                pen.BOk->click();
            });
            d.Button7->click();
            EXPECT_EQ(shape.Color(), clAqua) << "the look shows on the shape at once";
            d.Button5->click();
            EXPECT_EQ(shape.Pen().Width(), 4);
            exit.Leave(d);
        });
        EXPECT_EQ(result, mrCancel) << exit.Name;
        const TLumPolygon& shape = *Chart().ShapeSeries().Shapes().GetPolygon(Chart().ShapeOfSubPolygon(1, 0));
        EXPECT_EQ(shape.Color(), stored) << exit.Name;
        EXPECT_NE(shape.Pen().Width(), 4) << exit.Name;
    }
}

TEST_F(BodyParameters, OneUndoAfterTheDialogGivesTheModelAsBefore)
{
    TPolygonChart& c = Chart();
    c.ShowBodyDialog = [this](int shape, int body, int sub) {
        ShowBodyParameters(Dialog, nullptr, Chart(), shape, body, sub);
    };
    const TModelSnapshot before{c.Model.Bodies, c.Model.Nodes, c.Model.ModelBox};
    const int depth = c.UndoStack().SnapshotCount();
    CursorInto(2);
    Script->DriveForm([](TForm& form) {
        auto& d = dynamic_cast<TBsetup&>(form);
        EXPECT_EQ(d.Body(), 2);
        TypeInto(*d.Edit1, "5000");
        d.CheckBox3->setChecked(true);
        d.Button3->click();
        TypeInto(*d.Edit5, "changed twice");
        d.Button4->click();
    });
    c.EditBodyAt();
    EXPECT_EQ(c.Model.Bodies[2][0].properties[psResistivity].AsDouble(), 5000);
    EXPECT_EQ(c.UndoStack().SnapshotCount(), depth + 1) << "one snapshot for the dialog";
    c.UndoEdit();
    EXPECT_TRUE(SameModel(c.Model.Bodies, c.Model.Nodes, c.Model.ModelBox, before));
}
