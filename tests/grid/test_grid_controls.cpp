// The editor controls on their own: the wide string list (line breaks, case-insensitive search, objects
// through assignment, its stream property), the spin edit (characters by type, limits, readings, steps by
// caret field, auto-repeat, button widths), the edit with a button (F4, a disabled editor, the minimum
// height, units from the menu) and the flat combo (button widths, colours when disabled).
#include "GridHosts.h"
#include "grid/ESGEdit.h"
#include "grid/EsgUni.h"
#include "grid/asgcombo.h"
#include "grid/asgspin.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Menus.h"
#include "platform/controls/Prompter.h"
#include "platform/controls/ShellApi.h"
#include "platform/rtl/PropertyStream.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <QEnterEvent>

using namespace gridtest;

namespace {

// A wide string list kept in memory, with objects.
class TTestWideList : public TWideStrings {
public:
    std::u16string Get(int i) const override { return Items.at(static_cast<std::size_t>(i)).first; }
    int GetCount() const override { return static_cast<int>(Items.size()); }
    TPersistent* GetObject(int i) const override { return Items.at(static_cast<std::size_t>(i)).second; }
    void PutObject(int i, TPersistent* o) override { Items.at(static_cast<std::size_t>(i)).second = o; }
    void Clear() override { Items.clear(); }
    void Delete(int i) override { Items.erase(Items.begin() + i); }
    void Insert(int i, const std::u16string& s) override { Items.insert(Items.begin() + i, {s, nullptr}); }
    void SetUpdateState(bool updating) override { Updates.push_back(updating); }
    std::vector<std::pair<std::u16string, TPersistent*>> Items;
    std::vector<bool> Updates;
};

using W = std::vector<std::u16string>;

W Lines(const TWideStrings& l)
{
    W v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
}

struct ControlHost {
    ControlHost()
    {
        Application->ProcessMessages();
        Window = std::make_unique<QWidget>();
        Window->setGeometry(20, 20, 420, 300);
        Window->show();
        Application->ProcessMessages();
    }
    template <class T>
    std::unique_ptr<T> Make(int x = 10, int y = 10, int w = 120, int h = 24)
    {
        auto c = std::make_unique<T>(nullptr);
        c->SetParentWidget(Window.get());
        c->SetBounds(x, y, w, h);
        c->Show();
        return c;
    }
    std::unique_ptr<QWidget> Window;
};

struct LocaleScope {
    LocaleScope()
    {
        FormatSettings().DecimalSeparator = ',';
        FormatSettings().ThousandSeparator = '.';
        FormatSettings().DateSeparator = '.';
        FormatSettings().TimeSeparator = ':';
        FormatSettings().ShortDateFormat = "dd.mm.yyyy";
        FormatSettings().LongTimeFormat = "hh:nn:ss";
    }
    ~LocaleScope() { ResetFormatSettings(); }
};

void Enter(QWidget* w)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(w, &e);
}

void Press(QWidget* w, bool down)
{
    SendMouse(w, down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, 3, 3, down ? Qt::LeftButton : Qt::NoButton);
}

} // namespace

TEST(WideStrings, TextFormBreaksAtEveryLineBreak)
{
    struct Case {
        std::u16string Text;
        W Lines;
    };
    const Case cases[] = {
        {u"a\r\nb\rc\nd\u2028e", {u"a", u"b", u"c", u"d", u"e"}},
        {u"x\r\n", {u"x"}},
        {u"a\n\nb", {u"a", u"", u"b"}},
        {u"v\x0Bw\x0Cy\u2029z", {u"v", u"w", u"y", u"z"}},
        {u"\r\n", {u""}},
        {std::u16string(u"one\0two", 7), {u"one"}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        TTestWideList l;
        l.SetText(c.Text);
        EXPECT_EQ(Lines(l), c.Lines);
        EXPECT_EQ(l.Updates, (std::vector<bool>{true, false}));   // one update bracket
    }
    TTestWideList l;
    l.Add(u"a");
    l.Add(u"\u0416");
    EXPECT_EQ(l.Text(), u"a\r\n\u0416\r\n");
    const auto buf = l.GetText();
    EXPECT_EQ(std::u16string(buf.get()), u"a\r\n\u0416\r\n");
    l.SetText(u"q\r\nr");
    EXPECT_EQ(Lines(l), (W{u"q", u"r"}));
}

TEST(WideStrings, SearchWithoutCaseAndObjectsThroughAssignment)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TTestWideList a;
    TCheckBox o1(nullptr), o2(nullptr);
    a.AddObject(u"Stra\u00dfe", &o1);
    a.AddObject(u"abc", &o2);
    a.Add(u"\u00c9t\u00e9");
    EXPECT_EQ(a.IndexOf(u"ABC"), 1);
    EXPECT_EQ(a.IndexOf(u"\u00e9t\u00e9"), 2);
    EXPECT_EQ(a.IndexOf(u"abcd"), -1);
    TTestWideList b;
    b.Assign(a);
    EXPECT_EQ(b.Objects(0), &o1);
    EXPECT_EQ(b.Objects(1), &o2);
    EXPECT_TRUE(a.Equals(b));
    b.Put(1, u"ABC");   // Put keeps the object
    EXPECT_EQ(b.Objects(1), &o2);
    EXPECT_FALSE(a.Equals(b));   // Equals minds the case
    b.Exchange(0, 1);
    EXPECT_EQ(b.Objects(0), &o2);
    EXPECT_EQ(b.Strings(1), u"Stra\u00dfe");
    b.Move(0, 2);
    EXPECT_EQ(Lines(b), (W{u"Stra\u00dfe", u"\u00c9t\u00e9", u"ABC"}));
    EXPECT_EQ(b.Objects(2), &o2);
    // The 8-bit view carries the objects too; a string list gets the 8-bit forms.
    TTestWideList c;
    c.Assign(a.AnsiStrings());
    EXPECT_EQ(c.Objects(1), &o2);
    TStringList ansi;
    a.Add(u"\u0416");
    ansi.Assign(a);
    EXPECT_EQ(ansi.Count(), 4);
    EXPECT_EQ(ansi[0], "Stra\xDF" "e");
    EXPECT_EQ(ansi[3], "?");
    EXPECT_EQ(a.AnsiStrings().Strings(2), "\xC9t\xE9");
    TTestWideList d;
    d.Assign(ansi);
    EXPECT_EQ(d.Strings(0), u"Stra\u00dfe");
    TComponent other(nullptr);
    EXPECT_THROW(d.Assign(other), EConvertError);
    QLocale::setDefault(saved);
}

TEST(WideStrings, StreamPropertyWrittenOnlyWithEntries)
{
    TTestWideList empty;
    TMemoryStream s0;
    WritePropertyList(s0, empty);
    EXPECT_EQ(s0.Size(), 2);   // vaList, vaNull: nothing stored
    TTestWideList l;
    l.Add(u"\u0416uk");
    l.Add(u"");
    TMemoryStream s;
    WritePropertyList(s, l);
    s.SetPosition(0);
    TTestWideList back;
    ReadPropertyList(s, back);
    EXPECT_EQ(Lines(back), (W{u"\u0416uk", u""}));
    // 8-bit strings in the list are read as well; a damaged list raises.
    TMemoryStream t;
    t.WriteByte(vaList);
    t.WriteByte(11);
    t.WriteBytes("WideStrings");
    t.WriteByte(vaList);
    t.WriteByte(vaString);
    t.WriteByte(2);
    t.WriteBytes("\xE9t");
    t.WriteByte(vaNull);
    t.WriteByte(vaNull);
    t.SetPosition(0);
    ReadPropertyList(t, back);
    EXPECT_EQ(Lines(back), (W{u"\u00e9t"}));
    TMemoryStream bad;
    bad.WriteByte(vaList);
    bad.WriteByte(11);
    bad.WriteBytes("WideStrings");
    bad.WriteByte(vaList);
    bad.WriteByte(vaWString);
    bad.WriteInt32(1000);
    bad.SetPosition(0);
    EXPECT_THROW(ReadPropertyList(bad, back), EReadError);
}

TEST(SpinEdit, CharactersAcceptedByType)
{
    LocaleScope locale;
    struct Case {
        TEsgSpinType Type;
        const char* Text;
        int Caret;
        char Key;
        bool Accepted;
        char After;
        int Precision = 0;
    };
    const Case cases[] = {
        {sptNormal, "12", 2, '5', true, '5'},
        {sptNormal, "12", 2, 'a', false, 'a'},
        {sptNormal, "12", 2, ',', true, ','},     // separators pass for integers (the text then reads as none)
        {sptNormal, "12", 2, ':', false, ':'},
        {sptNormal, "12", 2, '\r', false, '\r'},
        {sptNormal, "12", 2, '\b', true, '\b'},
        {sptFloat, "1", 1, '.', true, ','},      // a thousand separator becomes the decimal one
        {sptFloat, "1,5", 3, ',', false, ','},
        {sptFloat, "1,25", 4, '7', false, '7', 2},
        {sptFloat, "1,25", 1, '7', true, '7', 2},
        {sptFloat, "1,2", 3, '7', true, '7', 2},
        {sptDate, "01.02", 5, '.', true, '.'},
        {sptDate, "01.02", 5, ':', false, ':'},
        {sptTime, "10:20", 5, ':', true, ':'},
        {sptTime, "10:20:30", 8, ':', false, ':'},
        {sptTime, "10", 2, '.', false, '.'},
    };
    for (const Case& c : cases) {
        TEsgSpinEdit e(nullptr);
        e.SetPrecision(c.Precision);
        e.SetText(c.Text);
        e.SetSpinType(c.Type);
        e.SetText(c.Text);
        e.SetSelStart(c.Caret);
        char key = c.Key;
        EXPECT_EQ(e.AcceptsKey(key), c.Accepted) << c.Type << " " << c.Text << " " << c.Key;
        EXPECT_EQ(key, c.After) << c.Type << " " << c.Text << " " << c.Key;
    }
    // With a selection the precision lets a digit in; without the editor nothing printable passes.
    TEsgSpinEdit f(nullptr);
    f.SetSpinType(sptFloat);
    f.SetPrecision(2);
    f.SetText("1,25");
    f.SetSelStart(3);
    f.SetSelLength(1);
    char k = '9';
    EXPECT_TRUE(f.AcceptsKey(k));
    f.SetEditorEnabled(false);
    k = '9';
    EXPECT_FALSE(f.AcceptsKey(k));
    k = '\b';
    EXPECT_FALSE(f.AcceptsKey(k));
}

TEST(SpinEdit, LimitsAndReadings)
{
    LocaleScope locale;
    TEsgSpinEdit e(nullptr);
    EXPECT_EQ(e.Text(), "0");
    struct Case {
        int Min, Max, Write, Read;
    };
    for (const Case c : {Case{0, 100, 250, 100}, {0, 100, -5, 0}, {0, 0, 1000, 1000}, {5, 5, -3, -3}, {-10, 10, 7, 7}}) {
        e.MinValue = c.Min;
        e.MaxValue = c.Max;
        e.SetValue(c.Write);
        EXPECT_EQ(e.Value(), c.Read) << c.Min << ".." << c.Max << " " << c.Write;
    }
    // Text that does not read falls back and never raises.
    e.MinValue = 3;
    e.MaxValue = 100;
    e.SetText("abc");
    EXPECT_EQ(e.Value(), 3);
    EXPECT_DOUBLE_EQ(e.FloatValue(), 3.0);
    EXPECT_DOUBLE_EQ(e.TimeValue(), 0.0);
    e.MinDateValue = EncodeDate(2000, 1, 1);
    EXPECT_DOUBLE_EQ(e.DateValue(), EncodeDate(2000, 1, 1));
    e.SetText("");
    EXPECT_NEAR(e.DateValue(), Now(), 1.0 / 24);
    e.SetText("0");
    EXPECT_NEAR(e.DateValue(), Now(), 1.0 / 24);
    // Float writes clamp and format by precision; the decimal separator is the locale's.
    e.SetSpinType(sptFloat);
    e.MinFloatValue = 0;
    e.MaxFloatValue = 10;
    e.SetFloatValue(12.5);
    EXPECT_EQ(e.Text(), "10");
    e.SetPrecision(2);
    e.SetFloatValue(2.5);
    EXPECT_EQ(e.Text(), "2,50");
    e.IncrementFloat = 0;
    e.SetText("2,5");
    e.StepUp();   // no increment: only the format
    EXPECT_EQ(e.Text(), "2,50");
}

TEST(SpinEdit, LeavingPutsTheValueInRange)
{
    LocaleScope locale;
    ControlHost h;
    auto e = h.Make<TEsgSpinEdit>();
    auto other = h.Make<TEsgSpinEdit>(10, 50);
    e->SetFocus();
    Type(e->Widget(), "250");   // the entry selected the text: typing replaces it
    EXPECT_EQ(e->Text(), "250");
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Text(), "100");
    // Letters are refused key by key, with a beep each.
    e->SetFocus();
    const int beeps = MessageBeepCount();
    Key(e->Widget(), Qt::Key_A, Qt::NoModifier, "a");
    Key(e->Widget(), Qt::Key_A, Qt::NoModifier, "x");
    EXPECT_EQ(MessageBeepCount(), beeps + 2);
    // A text that does not read stays when the focus leaves.
    e->SetText("4x");
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(e->Text(), "4x");
    EXPECT_EQ(e->Value(), 0);
}

TEST(SpinEdit, StepsByCaretField)
{
    LocaleScope locale;
    struct Case {
        TEsgSpinType Type;
        const char* Text;
        int Caret;
        bool Up;
        const char* Result;
    };
    const Case cases[] = {
        {sptDate, "31.01.2004", 1, true, "01.02.2004"},
        {sptDate, "31.01.2004", 4, true, "29.02.2004"},
        {sptDate, "31.01.2004", 8, true, "31.01.2005"},
        {sptDate, "29.02.2004", 8, true, "28.02.2005"},   // a year on from 29 February
        {sptDate, "01.03.2004", 0, false, "29.02.2004"},
        {sptTime, "00:30:00", 1, false, "23:30:00"},
        {sptTime, "23:30:00", 0, true, "00:30:00"},
        {sptTime, "10:59:00", 4, true, "11:00:00"},
        {sptTime, "10:00:00", 7, false, "09:59:59"},
        {sptNormal, "7", 0, true, "8"},
        {sptNormal, "100", 0, true, "100"},
    };
    for (const Case& c : cases) {
        TEsgSpinEdit e(nullptr);
        e.SetSpinType(c.Type);
        e.SetText(c.Text);
        e.SetSelStart(c.Caret);
        if (c.Up) e.StepUp();
        else e.StepDown();
        EXPECT_EQ(e.Text(), c.Result) << c.Text << " at " << c.Caret;
    }
    // An empty date starts from today (without separators the caret is in no day or month field: a
    // year); a read-only edit only beeps.
    TEsgSpinEdit d(nullptr);
    d.SetSpinType(sptDate);
    d.SetText("");
    d.StepUp();
    int y = 0, m = 0, day = 0;
    DecodeDate(Now(), y, m, day);
    const std::string nextYear = DateToStr(EncodeDate(y + 1, m, std::min(day, DaysInAMonth(y + 1, m))));
    EXPECT_EQ(d.Text(), nextYear);
    d.SetReadOnly(true);
    const int beeps = MessageBeepCount();
    d.StepUp();
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    EXPECT_EQ(d.Text(), nextYear);
}

TEST(SpinEdit, ButtonsRepeatAndKeepTheirWidths)
{
    ControlHost h;
    auto e = h.Make<TEsgSpinEdit>();
    e->MaxValue = 1000;
    TExtTimerSpeedButton* up = e->SpinButton()->UpPart();
    Enter(up->Widget());
    Press(up->Widget(), true);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->Enabled());
    EXPECT_EQ(up->RepeatTimer()->Interval(), 400);
    EXPECT_EQ(e->Value(), 0);
    // Driving the timer: each tick clicks while the part stays down, now every 100 ms.
    up->RepeatTimer()->OnTimer(up->RepeatTimer());
    EXPECT_EQ(up->RepeatTimer()->Interval(), 100);
    EXPECT_EQ(e->Value(), 1);
    up->RepeatTimer()->OnTimer(up->RepeatTimer());
    EXPECT_EQ(e->Value(), 2);
    Press(up->Widget(), false);   // the release clicks once more
    EXPECT_EQ(e->Value(), 3);
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
    // A short press gives its one click at the release.
    TExtTimerSpeedButton* down = e->SpinButton()->DownPart();
    Enter(down->Widget());
    Press(down->Widget(), true);
    Press(down->Widget(), false);
    EXPECT_EQ(e->Value(), 2);
    // The least widths: 15 vertical, 20 horizontal.
    TEsgSpinButton b(nullptr);
    b.SetParentWidget(h.Window.get());
    b.SetBounds(0, 0, 10, 30);
    EXPECT_EQ(b.Width(), 15);
    EXPECT_EQ(b.UpPart()->Height(), 15);
    b.SetDirection(spHorizontal);
    EXPECT_EQ(b.Width(), 20);
    b.SetBounds(0, 0, 12, 20);
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.UpPart()->Left(), 11);
    EXPECT_EQ(b.DownPart()->PartDirection, 0);
    // The default glyph: a black triangle on olive, 9 x 6.
    TBitmap g;
    TEsgSpinButton::DefaultGlyph(g, true);
    EXPECT_EQ(g.Width(), 9);
    EXPECT_EQ(g.Canvas().GetPixel(4, 1), clBlack);
    EXPECT_EQ(g.Canvas().GetPixel(0, 4), clOlive);
    EXPECT_EQ(g.Canvas().GetPixel(1, 4), clBlack);
}

TEST(SpinEdit, ArrowKeysStepAndReturnMovesOn)
{
    ControlHost h;
    auto e = h.Make<TEsgSpinEdit>();
    auto next = h.Make<TEsgSpinEdit>(10, 50);
    e->SetFocus();
    Key(e->Widget(), Qt::Key_Up);
    Key(e->Widget(), Qt::Key_Up);
    Key(e->Widget(), Qt::Key_Down);
    EXPECT_EQ(e->Value(), 1);
    e->ReturnIsTab = true;
    Key(e->Widget(), Qt::Key_Return, Qt::NoModifier, "\r");
    Application->ProcessMessages();
    EXPECT_TRUE(next->Focused());
}

TEST(EditButton, F4ClicksOnceAndTheEditorCanBeOff)
{
    ControlHost h;
    auto e = h.Make<TEsgEditBtn>();
    std::vector<TPersistent*> senders;
    e->OnClickBtn = [&](TPersistent* s) { senders.push_back(s); };
    e->SetFocus();
    Key(e->Widget(), Qt::Key_F4);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], e.get());
    TExtSpeedButton* b = e->ButtonHost()->Button();
    Enter(b->Widget());
    Press(b->Widget(), true);
    Press(b->Widget(), false);
    ASSERT_EQ(senders.size(), 2u);
    EXPECT_EQ(senders[1], e->ButtonHost());
    // Without the editor typing does nothing; the button still works.
    e->SetText("12");
    e->SetEditorEnabled(false);
    e->SetSelStart(2);
    Type(e->Widget(), "3");
    EXPECT_EQ(e->Text(), "12");
    Key(e->Widget(), Qt::Key_F4);
    EXPECT_EQ(senders.size(), 3u);
    // Never lower than the text needs.
    e->SetHeight(4);
    EXPECT_EQ(e->Height(), e->MinimumHeight());
    EXPECT_GT(e->MinimumHeight(), 10);
}

TEST(EditButton, UnitChosenFromTheMenu)
{
    ControlHost h;
    auto e = h.Make<TEsgUnitEditBtn>(10, 10, 160, 24);
    EXPECT_TRUE(e->RightAlign());
    EXPECT_EQ(e->UnitSpace(), 20);
    TStringList units;
    units.SetText("mm\ncm\nkm\n");
    e->SetUnits(&units);
    e->SetUnits(nullptr);
    EXPECT_EQ(e->Units().Count(), 3);
    e->SetText("12,5");
    TPromptScript script;
    std::vector<std::string> captions;
    script.Expect(TPromptKind::PopupMenu, [&](TPrompt& p) {
        for (int i = 0; i < p.Menu->Count(); ++i) captions.push_back(p.Menu->Items(i)->Caption());
        p.MenuIndex = 2;
        p.Result = mrOk;
    });
    TExtSpeedButton* b = e->ButtonHost()->Button();
    Enter(b->Widget());
    Press(b->Widget(), true);
    Press(b->Widget(), false);
    EXPECT_EQ(captions, (std::vector<std::string>{"mm", "cm", "km"}));
    EXPECT_EQ(e->UnitID(), "km");
    EXPECT_EQ(e->Text(), "12,5");
    EXPECT_TRUE(script.Failures().empty());
}

TEST(FlatCombo, ButtonWidthLimitsAndColoursWhenDisabled)
{
    ControlHost h;
    TCustomPanel panel(nullptr);
    panel.SetParentWidget(h.Window.get());
    panel.SetBounds(0, 0, 300, 100);
    panel.SetColor(clYellow);
    TESGComboBox combo(nullptr);
    combo.SetParent(&panel);
    combo.SetBounds(10, 10, 140, 22);
    combo.SetColor(clWhite);
    panel.Show();
    EXPECT_EQ(combo.ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
    struct Case {
        int Write, Read;
    };
    for (const Case c : {Case{13, 21}, {14, 14}, {32, 32}, {33, 32}, {10, 32}, {40, 32}, {16, 16}}) {
        combo.SetButtonWidth(c.Write);
        EXPECT_EQ(combo.ButtonWidth(), c.Read) << c.Write;
    }
    // The colour inside the frame, where the text stands.
    auto innerRing = [&] {
        QImage image(combo.Widget()->size(), QImage::Format_RGB32);
        combo.Widget()->render(&image);
        const QColor q(image.pixel(3, 3));
        return static_cast<TColor>(q.red() | q.green() << 8 | q.blue() << 16);
    };
    EXPECT_EQ(innerRing(), clWhite);
    combo.SetEnabled(false);
    EXPECT_EQ(combo.Color(), clYellow);
    EXPECT_TRUE(combo.ParentColor());
    EXPECT_EQ(innerRing(), clYellow);
    combo.SetEnabled(true);
    EXPECT_EQ(combo.Color(), clWhite);
    EXPECT_FALSE(combo.ParentColor());
    EXPECT_EQ(innerRing(), clWhite);
    // The outer rings take the parent's colour while the combo is not hot.
    QImage image(combo.Widget()->size(), QImage::Format_RGB32);
    combo.Widget()->render(&image);
    EXPECT_EQ(QColor(image.pixel(0, 5)), QColor(Qt::yellow));
}
