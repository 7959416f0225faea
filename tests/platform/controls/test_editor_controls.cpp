// The controls the grid's editors stand on: the check box that a click toggles through the program, the
// combo box with Unicode items, objects, an edit selection and its list dropped by the program, the edit's
// Unicode text, margins and typed Unicode characters, the date and time picker (kinds, modes, check box,
// calendar, formats), the rich edit's documents and rich text, and a form telling of its deactivation.
#include "platform/controls/Application.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/Edit.h"
#include "platform/controls/Forms.h"
#include "platform/controls/RichEdit.h"
#include "platform/controls/StdCtrls.h"
#include "platform/graphics/Canvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

void SendClick(QWidget* w, QPoint p)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void SendChar(QWidget* w, const QString& text, int key = 0)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

struct EditorHost {
    EditorHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(30, 30, 400, 300);
        Window->show();
        Application->ProcessMessages();
    }
    std::unique_ptr<QWidget> Window;
};

// A check box whose clicks the program sees and may take over.
class TCountingCheckBox : public TCheckBox {
public:
    using TCheckBox::TCheckBox;
    int Toggles = 0;
    void Toggle() override
    {
        ++Toggles;
        TCheckBox::Toggle();
    }
};

// An edit that reports the 8-bit characters it sees and may drop them.
class TCharEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    std::string Seen;
    bool Drop = false;

protected:
    void KeyPress(char& Key) override
    {
        Seen += Key;
        if (Drop) Key = 0;
    }
};

} // namespace

TEST(EditorControls, CheckBoxClicksToggleThroughTheProgram)
{
    EditorHost h;
    TCountingCheckBox box(nullptr);
    box.SetParentWidget(h.Window.get());
    box.SetCaption("Done");
    EXPECT_EQ(box.Caption(), "Done");
    EXPECT_EQ(box.State(), cbUnchecked);
    int clicks = 0;
    box.OnClick = [&](TPersistent*) { ++clicks; };
    SendClick(box.Widget(), {5, 8});
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(box.Toggles, 1);
    EXPECT_EQ(clicks, 1);
    SendClick(box.Widget(), {5, 8});
    EXPECT_FALSE(box.Checked());
    box.SetAllowGrayed(true);
    box.Toggle();
    EXPECT_EQ(box.State(), cbGrayed);
    EXPECT_EQ(static_cast<QCheckBox*>(box.Widget())->checkState(), Qt::PartiallyChecked);
    box.Toggle();
    EXPECT_EQ(box.State(), cbChecked);
    EXPECT_EQ(clicks, 2);   // a program's toggle is no click
}

TEST(EditorControls, ComboBoxUnicodeItemsObjectsAndSelection)
{
    EditorHost h;
    TComboBox combo(nullptr);
    combo.SetParentWidget(h.Window.get());
    combo.AddItemWide(u"\u0416uk");
    combo.AddItemWide(u"beta");
    combo.InsertItemWide(0, u"Alpha");
    EXPECT_EQ(combo.ItemCount(), 3);
    EXPECT_EQ(combo.ItemWide(1), u"\u0416uk");
    EXPECT_EQ(combo.Item(1), "?uk");   // no such letter in the code page
    EXPECT_EQ(combo.FindItemExact(u"BETA"), 2);
    EXPECT_EQ(combo.FindItemExact(u"gamma"), -1);
    TCheckBox tag(nullptr);
    combo.SetItemObject(2, &tag);
    EXPECT_EQ(combo.ItemObject(2), &tag);
    EXPECT_EQ(combo.ItemObject(0), nullptr);
    combo.DeleteItem(0);
    EXPECT_EQ(combo.ItemObject(1), &tag);
    EXPECT_THROW(combo.ItemWide(5), EListError);
    combo.SetTextWide(u"\u0416ukov");
    EXPECT_EQ(combo.TextWide(), u"\u0416ukov");
    combo.SetEditSel(2, 3);
    EXPECT_EQ(combo.EditSelStart(), 2);
    EXPECT_EQ(combo.EditSelLength(), 3);
    combo.SetDroppedDown(true);
    EXPECT_TRUE(combo.DroppedDown());
    combo.SetDroppedDown(false);
    EXPECT_FALSE(combo.DroppedDown());
    combo.SetItems({"x"});
    EXPECT_EQ(combo.ItemObject(0), nullptr);
}

TEST(EditorControls, EditUnicodeTextMarginsAndTypedCharacters)
{
    EditorHost h;
    TCharEdit edit(nullptr);
    edit.SetParentWidget(h.Window.get());
    edit.SetWideText(u"\u20ac and \u0416");
    EXPECT_EQ(edit.Text(), "\x80 and ?");
    EXPECT_EQ(edit.WideText(), u"\u20ac and \u0416");
    edit.SetWideText(u"");
    SendChar(edit.Widget(), "a", Qt::Key_A);
    SendChar(edit.Widget(), QString(QChar(0x0416)));
    SendChar(edit.Widget(), QString(QChar(0x00e9)));
    // The 8-bit step sees '?' for a character the code page lacks; the edit holds the real one.
    EXPECT_EQ(edit.Seen, "a?\xE9");
    EXPECT_EQ(edit.WideText(), u"a\u0416\u00e9");
    edit.Drop = true;
    SendChar(edit.Widget(), "b", Qt::Key_B);
    EXPECT_EQ(edit.WideText(), u"a\u0416\u00e9");
    // Margins keep the text away from the edges: the first character moves right.
    const TPoint before = edit.PosFromChar(0);
    edit.SetTextMargins(20, 18);
    EXPECT_EQ(edit.PosFromChar(0).x, before.x + 20);
}

TEST(EditorControls, DateTimePickerKindsModesAndCalendar)
{
    EditorHost h;
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().DateSeparator = '.';
    TDateTimePicker p(nullptr);
    p.SetParentWidget(h.Window.get());
    p.SetBounds(10, 10, 160, 22);
    const TDateTime d = EncodeDate(2004, 2, 29) + EncodeTime(13, 45, 10, 0);
    p.SetDateTime(d);
    EXPECT_DOUBLE_EQ(p.DateTime(), d);
    EXPECT_DOUBLE_EQ(p.Date(), EncodeDate(2004, 2, 29));
    EXPECT_NEAR(p.Time(), EncodeTime(13, 45, 10, 0), 1e-9);
    p.SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(p.Date(), EncodeDate(2004, 2, 29));
    p.SetDate(EncodeDate(1999, 12, 31));
    EXPECT_NEAR(p.Time(), EncodeTime(8, 0, 0, 0), 1e-9);
    // The locale's format, then the picker's own letters.
    EXPECT_EQ(static_cast<QDateTimeEdit*>(p.Widget())->text(), "31.12.1999");
    p.SetFormat("yyyy-MM-dd");
    EXPECT_EQ(static_cast<QDateTimeEdit*>(p.Widget())->text(), "1999-12-31");
    p.SetKind(dtkTime);
    p.SetFormat("HH:mm");
    EXPECT_EQ(static_cast<QDateTimeEdit*>(p.Widget())->text(), "08:00");
    p.SetFormat("h:mm tt");
    EXPECT_EQ(static_cast<QDateTimeEdit*>(p.Widget())->text(), "8:00 AM");
    // The calendar drops down for a date in combo mode only.
    p.SetFormat("");
    p.SetKind(dtkDate);
    p.SetDroppedDown(true);
    EXPECT_TRUE(p.DroppedDown());
    p.SetDroppedDown(false);
    EXPECT_FALSE(p.DroppedDown());
    p.SetDateMode(dmUpDown);
    p.SetDroppedDown(true);
    EXPECT_FALSE(p.DroppedDown());
    // Without a check box a value is always chosen; with one, its click decides.
    EXPECT_TRUE(p.Checked());
    p.SetChecked(false);
    EXPECT_TRUE(p.Checked());
    p.SetShowCheckbox(true);
    int changes = 0;
    p.OnChange = [&](TPersistent*) { ++changes; };
    p.SetChecked(false);
    EXPECT_FALSE(p.Checked());
    auto* check = p.Widget()->findChild<QCheckBox*>();
    ASSERT_NE(check, nullptr);
    check->click();
    EXPECT_TRUE(p.Checked());
    EXPECT_EQ(changes, 1);
    ResetFormatSettings();
}

TEST(EditorControls, RichEditDocumentsRoundTrip)
{
    EditorHost h;
    TRichEdit e(nullptr);
    e.SetParentWidget(h.Window.get());
    TRichDocument doc;
    TRichParagraph p1;
    p1.Runs.push_back({"plain ", "", 0, {}, clNone});
    p1.Runs.push_back({"bold", "", 0, {fsBold}, clNone});
    TRichParagraph p2;
    p2.Alignment = raCenter;
    p2.Runs.push_back({"red big", "Arial", 14, {fsItalic, fsUnderline}, clRed});
    doc.Paragraphs = {p1, p2};
    e.SetDocument(doc);
    EXPECT_EQ(e.Document(), doc);
    EXPECT_EQ(e.Text(), "plain bold\r\nred big");
    const std::string rtf = e.RichText();
    EXPECT_TRUE(IsRichText(rtf));
    TRichEdit back(nullptr);
    back.LoadRichText(rtf);
    EXPECT_EQ(back.Document(), doc);
    back.LoadRichText("just text");
    EXPECT_EQ(back.Text(), "just text");
    back.LoadRichText("");
    EXPECT_TRUE(back.Document().Paragraphs.empty());
    // The selection's style is written on it.
    e.SetText("abc");
    e.SetSelStart(1);
    e.SetSelLength(1);
    e.SetSelStyle({fsBold});
    EXPECT_TRUE(e.SelStyle().Contains(fsBold));
    ASSERT_EQ(e.Document().Paragraphs.size(), 1u);
    EXPECT_EQ(e.Document().Paragraphs[0].Runs.size(), 3u);
    // More lines ask for more height.
    TRect asked{0, 0, 0, 0};
    e.OnResizeRequest = [&](TPersistent*, const TRect& r) { asked = r; };
    e.SetText("one");
    const int h1 = asked.Height();
    e.SetText("one\r\ntwo\r\nthree");
    EXPECT_GT(asked.Height(), h1);
}

TEST(EditorControls, FormTellsItsDeactivation)
{
    TForm form;
    int deactivated = 0;
    form.OnDeactivate = [&](TForm* f) {
        EXPECT_EQ(f, &form);
        ++deactivated;
    };
    form.show();
    QEvent e(QEvent::WindowDeactivate);
    QApplication::sendEvent(&form, &e);
    EXPECT_EQ(deactivated, 1);
}
