// The push button and the combo box over Qt's: native painting into an image, the program's painting on
// the same image, then the image on the window; owner-drawn combo box items the same way.
#include "platform/controls/StdCtrls.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Screen.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageBackend.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Paints `native` into an image of the rectangle's size, runs `program` with a canvas on that image, and
// puts the image on the painter at the rectangle.
template <class Native, class Program>
void PaintLayered(QPainter& target, const QRect& rect, Native&& native, Program&& program)
{
    if (rect.isEmpty()) return;
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        native(p);
    }
    {
        TCanvas canvas(std::make_shared<TImageBackend>(ImageMemoryOf(image)));
        Application->Guarded([&] { program(canvas); });
    }
    target.drawImage(rect.topLeft(), image);
}

} // namespace

// ---- TButton -----------------------------------------------------------------------------------------

struct TButton::Native : QPushButton {
    explicit Native(TButton* owner) : Owner(owner) {}

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (Owner->FOwnerDraw) {
            PaintLayered(painter, rect(), [](QPainter&) {}, [this](TCanvas& c) {
                TOwnerDrawState state;
                if (isDown()) state.Include(odSelected);
                if (hasFocus()) state.Include(odFocused);
                if (!isEnabled()) state.Include(odDisabled);
                Owner->DrawItem(c, {0, 0, width(), height()}, state);
            });
            return;
        }
        PaintLayered(
            painter, rect(),
            [this](QPainter& p) {
                QStyleOptionButton option;
                initStyleOption(&option);
                style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
            },
            [this](TCanvas& c) { Owner->PaintWindow(c); });
    }
    QSize sizeHint() const override { return Widened(QPushButton::sizeHint()); }
    QSize minimumSizeHint() const override { return Widened(QPushButton::minimumSizeHint()); }
    QSize Widened(QSize size) const { return {size.width() + 2 * Owner->CaptionSideRoom(), size.height()}; }

    TButton* Owner;
};

const TClassInfo& TButton::StaticClassInfo()
{
    using P = TProps<TButton>;
    static const TClassInfo info({
        .Name = "TButton",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Text("Caption", &TButton::Caption, &TButton::SetCaption).Default(""),
                       P::Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone),
                       P::Boolean("Default", &TButton::Default, &TButton::SetDefault).Default(false)},
        .Defaults = {{"TabStop", true}, {"Color", clBtnFace}},
        .Create = &CreateComponentOf<TButton>,
    });
    return info;
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    auto* native = static_cast<Native*>(Widget());
    QObject::connect(native, &QPushButton::clicked, [this] { Application->Guarded([this] { Click(); }); });
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

std::string TButton::Text() const { return QStringToAnsi(static_cast<QPushButton*>(Widget())->text()); }

void TButton::SetText(const std::string& v)
{
    if (Text() == v) return;
    static_cast<QPushButton*>(Widget())->setText(AnsiToQString(v));
    TextChanged();
}

bool TButton::Default() const { return static_cast<QPushButton*>(Widget())->isDefault(); }

void TButton::SetDefault(bool v) { static_cast<QPushButton*>(Widget())->setDefault(v); }

void TButton::PerformClick() { static_cast<QPushButton*>(Widget())->click(); }

void TButton::Click()
{
    TForm* form = ParentForm(this);
    if (!form || FModalResult == mrNone) {
        TWinControl::Click();
        return;
    }
    // The form closes after OnClick, which may still clear the result.
    form->DeferClose([&] {
        form->SetModalResult(FModalResult);
        TWinControl::Click();
    });
}

void TButton::PaintWindow(TCanvas&) {}

void TButton::SetOwnerDraw(bool v)
{
    if (FOwnerDraw == v) return;
    FOwnerDraw = v;
    Invalidate();
}

void TButton::DrawItem(TCanvas& Canvas, const TRect& Rect, TOwnerDrawState)
{
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(Rect);
}

bool TButton::ActiveStyle() const { return Default() || Focused(); }

bool TButton::Down() const { return static_cast<QPushButton*>(Widget())->isDown(); }

// ---- TComboBox ---------------------------------------------------------------------------------------

namespace {

// Owner-drawn items: each item is painted by the control's DrawItem on a canvas over the item's pixels.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    TOwnerDrawDelegate(std::function<void(QPainter&, const QRect&, int, TOwnerDrawState)> draw,
                       std::function<int()> itemHeight, QObject* parent)
        : QStyledItemDelegate(parent), FDraw(std::move(draw)), FItemHeight(std::move(itemHeight))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected) state.Include(odSelected);
        if (option.state & QStyle::State_HasFocus) state.Include(odFocused);
        if (!(option.state & QStyle::State_Enabled)) state.Include(odDisabled);
        FDraw(*painter, option.rect, index.row(), state);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(FItemHeight());
        return s;
    }

private:
    std::function<void(QPainter&, const QRect&, int, TOwnerDrawState)> FDraw;
    std::function<int()> FItemHeight;
};

bool IsOwnerDrawn(TComboBoxStyle s) { return s == csOwnerDrawFixed || s == csOwnerDrawVariable; }

} // namespace

struct TComboBox::Native : QComboBox {
    explicit Native(TComboBox* owner) : Owner(owner) {}

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QRect edit = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        const bool ownerDrawn = IsOwnerDrawn(Owner->FStyle);
        if (Owner->FShowsColor) {
            const QColor face = QtColorOf(Owner->Color());
            if (palette().color(QPalette::Disabled, QPalette::Base) != face || palette().color(QPalette::Active, QPalette::Base) != face) {
                QPalette pal = palette();
                for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) pal.setColor(group, QPalette::Base, face);
                setPalette(pal);
            }
        }
        PaintLayered(
            painter, rect(),
            [&](QPainter& p) {
                style()->drawComplexControl(QStyle::CC_ComboBox, &option, &p, this);
                if (!ownerDrawn) style()->drawControl(QStyle::CE_ComboBoxLabel, &option, &p, this);
            },
            [&](TCanvas& c) {
                if (ownerDrawn && currentIndex() >= 0) {
                    TOwnerDrawState state{odComboBoxEdit};
                    if (hasFocus()) state += {odSelected, odFocused};
                    Owner->DrawItemOn(c, currentIndex(), {edit.left(), edit.top(), edit.right() + 1, edit.bottom() + 1}, state);
                }
                Owner->PaintWindow(c);
            });
    }

    void showPopup() override
    {
        if (Owner->OnDropDown) Application->Guarded([this] { Owner->OnDropDown(Owner); });
        if (Owner->FDropDownWidth > 0) view()->setMinimumWidth(Owner->FDropDownWidth);
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (Owner->OnCloseUp) Application->Guarded([this] { Owner->OnCloseUp(Owner); });
    }

    TComboBox* Owner;
};

const TClassInfo& TComboBox::StaticClassInfo()
{
    using P = TProps<TComboBox>;
    static const TClassInfo info({
        .Name = "TComboBox",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Enumeration("Style", ComboBoxStyleNames, &TComboBox::Style, &TComboBox::SetStyle)
                           .Default(csDropDown),
                       P::Integer("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight).Default(16),
                       P::Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1),
                       P::Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8),
                       P::Text("Text", &TComboBox::Text, &TComboBox::SetText).Default("")},
        .Defaults = {{"TabStop", true}},
        .Create = &CreateComponentOf<TComboBox>,
    });
    return info;
}

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    auto* native = static_cast<Native*>(Widget());
    native->setEditable(true);
    native->setMaxVisibleItems(8);
    native->setItemDelegate(new TOwnerDrawDelegate(
        [this](QPainter& p, const QRect& r, int index, TOwnerDrawState state) {
            PaintLayered(
                p, r, [](QPainter&) {},
                [&](TCanvas& c) { DrawItemOn(c, index, {0, 0, r.width(), r.height()}, state); });
        },
        [this] { return FItemHeight; }, native)); // the combo box owns its delegate
    // Only the user's changes reach the program's Change and Select.
    QObject::connect(native, QOverload<int>::of(&QComboBox::activated), [this](int) {
        Application->Guarded([this] {
            Select();
            Change();
        });
    });
    QObject::connect(native, &QComboBox::editTextChanged, [this, native](const QString&) {
        if (native->isEditable() && native->lineEdit() && native->lineEdit()->isModified())
            Application->Guarded([this] { Change(); });
    });
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
    SetStyle(csDropDown);
}

TComboBox::~TComboBox() = default;

int TComboBox::ItemCount() const { return static_cast<int>(FItems.size()); }

std::string TComboBox::Item(int index) const
{
    if (index < 0 || index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TComboBox::SetItems(const std::vector<std::string>& items)
{
    auto* native = static_cast<Native*>(Widget());
    FItems = items;
    FObjects.assign(items.size(), nullptr);
    const QSignalBlocker block(native);
    native->clear();
    for (const std::string& item : items) native->addItem(AnsiToQString(item));
    native->setCurrentIndex(-1);
}

int TComboBox::AddItem(const std::string& item)
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    FItems.push_back(item);
    FObjects.push_back(nullptr);
    const int keep = native->currentIndex();
    native->addItem(AnsiToQString(item));
    native->setCurrentIndex(keep);
    return ItemCount() - 1;
}

void TComboBox::ClearItems() { SetItems({}); }

int TComboBox::ItemIndex() const { return static_cast<Native*>(Widget())->currentIndex(); }

void TComboBox::SetItemIndex(int v)
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    native->setCurrentIndex(v < 0 || v >= ItemCount() ? -1 : v);
}

std::string TComboBox::Text() const { return QStringToAnsi(static_cast<Native*>(Widget())->currentText()); }

void TComboBox::SetText(const std::string& v)
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    if (native->isEditable())
        native->setEditText(AnsiToQString(v));
    else
        native->setCurrentIndex(native->findText(AnsiToQString(v), Qt::MatchFixedString));
    TextChanged();
}

void TComboBox::SetStyle(TComboBoxStyle v)
{
    FStyle = v;
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    const QPointer<QLineEdit> old = native->lineEdit();
    native->setEditable(v == csDropDown || v == csSimple);
    // The edit part of an editable combo box goes at once, not from the message loop later, where taking
    // it away would move the focus off a combo box focused meanwhile.
    if (old && !native->isEditable()) QCoreApplication::sendPostedEvents(old.data(), QEvent::DeferredDelete);
    native->update();
}

void TComboBox::SetItemHeight(int v)
{
    if (v < 1 || FItemHeight == v) return;
    FItemHeight = v;
    Widget()->update();
}

int TComboBox::DropDownCount() const { return static_cast<Native*>(Widget())->maxVisibleItems(); }

void TComboBox::SetDropDownCount(int v) { static_cast<Native*>(Widget())->setMaxVisibleItems(std::max(1, v)); }

int TComboBox::DropDownWidth() const { return FDropDownWidth > 0 ? FDropDownWidth : Width(); }

void TComboBox::SetDropDownWidth(int v) { FDropDownWidth = std::max(0, v); }

bool TComboBox::DroppedDown() const { return static_cast<Native*>(Widget())->view()->isVisible(); }

void TComboBox::SetShowsColor(bool v)
{
    FShowsColor = v;
    if (!v) Widget()->setPalette(QPalette());
    Widget()->update();
}

void TComboBox::SetDroppedDown(bool v)
{
    auto* native = static_cast<Native*>(Widget());
    if (v == DroppedDown()) return;
    if (v) native->showPopup();
    else native->hidePopup();
}

std::u16string TComboBox::ItemWide(int index) const
{
    Item(index);   // the index check
    return static_cast<Native*>(Widget())->itemText(index).toStdU16String();
}

int TComboBox::AddItemWide(const std::u16string& item)
{
    InsertItemWide(ItemCount(), item);
    return ItemCount() - 1;
}

void TComboBox::InsertItemWide(int index, const std::u16string& item)
{
    if (index < 0 || index > ItemCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    const QString q = QString::fromStdU16String(item);
    FItems.insert(FItems.begin() + index, QStringToAnsi(q));
    FObjects.insert(FObjects.begin() + index, nullptr);
    const int keep = native->currentIndex();
    const QString text = native->currentText();
    native->insertItem(index, q);
    native->setCurrentIndex(keep >= index && keep >= 0 ? keep + 1 : keep);
    if (native->isEditable()) native->setEditText(text);
}

void TComboBox::DeleteItem(int index)
{
    Item(index);
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    FItems.erase(FItems.begin() + index);
    FObjects.erase(FObjects.begin() + index);
    native->removeItem(index);
}

int TComboBox::FindItemExact(const std::u16string& item) const
{
    return static_cast<Native*>(Widget())->findText(QString::fromStdU16String(item), Qt::MatchFixedString);
}

TPersistent* TComboBox::ItemObject(int index) const
{
    Item(index);
    return FObjects[static_cast<std::size_t>(index)];
}

void TComboBox::SetItemObject(int index, TPersistent* object)
{
    Item(index);
    FObjects[static_cast<std::size_t>(index)] = object;
}

std::u16string TComboBox::TextWide() const { return static_cast<Native*>(Widget())->currentText().toStdU16String(); }

void TComboBox::SetTextWide(const std::u16string& v)
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    const QString q = QString::fromStdU16String(v);
    if (native->isEditable()) native->setEditText(q);
    else native->setCurrentIndex(native->findText(q, Qt::MatchFixedString));
    TextChanged();
}

int TComboBox::EditSelStart() const
{
    const QLineEdit* e = static_cast<Native*>(Widget())->lineEdit();
    if (!e) return 0;
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

int TComboBox::EditSelLength() const
{
    const QLineEdit* e = static_cast<Native*>(Widget())->lineEdit();
    return e ? static_cast<int>(e->selectedText().size()) : 0;
}

void TComboBox::SetEditSel(int start, int length)
{
    QLineEdit* e = static_cast<Native*>(Widget())->lineEdit();
    if (!e) return;
    const int n = static_cast<int>(e->text().size());
    start = std::clamp(start, 0, n);
    e->setSelection(start, std::clamp(length, 0, n - start));
    if (length <= 0) e->setCursorPosition(start);
}

int TComboBox::EditCharFromPos(int x, int y) const
{
    QLineEdit* e = static_cast<Native*>(Widget())->lineEdit();
    if (!e) return -1;
    const QPoint p = e->mapFrom(Widget(), QPoint(x, y));
    if (!e->rect().contains(p)) return -1;
    return e->cursorPositionAt(p);
}

TCanvas& TComboBox::Canvas() { return FItemCanvas.Canvas(); }

void TComboBox::DrawItemOn(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state)
{
    FItemCanvas.PaintOn(canvas, [&] { DrawItem(index, rect, state); });
}

void TComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TComboBox::Select()
{
    if (OnSelect) OnSelect(this);
}

void TComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FItemCanvas.DrawPlainItem(Rect, State, Index >= 0 && Index < ItemCount() ? Item(Index) : std::string());
}

void TComboBox::PaintWindow(TCanvas&) {}

// ---- Owner-drawn item canvas ------------------------------------------------------------------------

TCanvas& TItemCanvasSlot::Canvas()
{
    if (FItemCanvas) return *FItemCanvas;
    if (!FIdleCanvas) FIdleCanvas = std::make_unique<TCanvas>();
    return *FIdleCanvas;
}

void TItemCanvasSlot::PaintOn(TCanvas& canvas, const std::function<void()>& paint)
{
    TCanvas* previous = FItemCanvas;
    FItemCanvas = &canvas;
    try {
        paint();
    } catch (...) {
        FItemCanvas = previous;
        throw;
    }
    FItemCanvas = previous;
}

void TItemCanvasSlot::DrawPlainItem(const TRect& rect, TOwnerDrawState state, const std::string& text)
{
    TCanvas& c = Canvas();
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(state.Contains(odSelected) ? clHighlight : clWindow);
    c.FillRect(rect);
    c.Font().SetColor(state.Contains(odSelected) ? clHighlightText : clWindowText);
    if (!text.empty()) c.TextOut(rect.Left + 2, rect.Top, text);
}

// ---- TCheckBox ---------------------------------------------------------------------------------------

struct TCheckBox::Native : QCheckBox {
    explicit Native(TCheckBox* owner) : Owner(owner) {}
    // The native box does not change itself: a click goes to the control, which decides the new state.
    void nextCheckState() override
    {
        Application->Guarded([this] { Owner->ClickToggle(); });
    }
    TCheckBox* Owner;
};

const TClassInfo& TCheckBox::StaticClassInfo()
{
    using P = TProps<TCheckBox>;
    static const TClassInfo info({
        .Name = "TCheckBox",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Text("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption).Default(""),
                       P::Enumeration("State", CheckBoxStateNames, &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked),
                       P::Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false)},
        .Defaults = {{"TabStop", true}},
        .Create = &CreateComponentOf<TCheckBox>,
    });
    return info;
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>(this))
{
    static_cast<Native*>(Widget())->setTristate(true);
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

std::string TCheckBox::Text() const { return QStringToAnsi(static_cast<Native*>(Widget())->text()); }

void TCheckBox::SetText(const std::string& v)
{
    static_cast<Native*>(Widget())->setText(AnsiToQString(v));
    TextChanged();
}

void TCheckBox::SetState(TCheckBoxState v)
{
    FState = v;
    static_cast<Native*>(Widget())->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::ClickToggle()
{
    Toggle();
    Click();
}

// ---- System metrics ----------------------------------------------------------------------------------

int GetSystemMetrics(int index)
{
    struct TMetric {
        int Index, Value;
    };
    static constexpr TMetric kMetrics[] = {
        {SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CYCAPTION, 19}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1},
        {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3}, {SM_CYVTHUMB, 17},  {SM_CXHTHUMB, 17}, {SM_CXICON, 32},
        {SM_CYICON, 32},    {SM_CXCURSOR, 32},  {SM_CYCURSOR, 32},  {SM_CYMENU, 19},   {SM_CYVSCROLL, 17},
        {SM_CXHSCROLL, 17}, {SM_CXSIZE, 18},    {SM_CYSIZE, 18},    {SM_CXEDGE, 2},    {SM_CYEDGE, 2},
    };
    if (index == SM_CXSCREEN) return Screen->Width();
    if (index == SM_CYSCREEN) return Screen->Height();
    for (const TMetric& m : kMetrics)
        if (m.Index == index) return m.Value;
    return 0;
}
