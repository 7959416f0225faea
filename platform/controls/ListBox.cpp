// The list box over a QListWidget: items mirrored into the native list, selection, sorting, clicks,
// owner-drawn items painted through a TCanvas on an image of the item, and the mouse on the items with
// the drag of a row onto another.
#include "platform/controls/ListBox.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageBackend.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstdlib>

#include <QImage>
#include <QListWidget>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Paints owner-drawn items through the list's PaintItem; other styles paint natively.
class TListItemDelegate : public QStyledItemDelegate {
public:
    // The native list owns the delegate (a view does not own the delegates it is given).
    TListItemDelegate(TListBox& owner, QObject* parent) : QStyledItemDelegate(parent), FOwner(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (FOwner.Style() != lbOwnerDrawFixed) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        if (option.rect.isEmpty()) return;
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected) state.Include(odSelected);
        if (option.state & QStyle::State_HasFocus) state.Include(odFocused);
        if (!(option.state & QStyle::State_Enabled)) state.Include(odDisabled);
        QImage image(option.rect.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            TCanvas canvas(std::make_shared<TImageBackend>(ImageMemoryOf(image)));
            Application->Guarded(
                [&] { FOwner.PaintItem(canvas, index.row(), {0, 0, image.width(), image.height()}, state); });
        }
        painter->drawImage(option.rect.topLeft(), image);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (FOwner.Style() == lbOwnerDrawFixed) s.setHeight(FOwner.ItemHeight());
        return s;
    }

private:
    TListBox& FOwner;
};

} // namespace

struct TListBox::Native : QListWidget {
    // The list's own handling of an event of its items' window.
    bool NativeViewportEvent(QEvent* e) { return QListWidget::viewportEvent(e); }
};

// Mouse events on the items' window reach the list's mouse methods in the items' pixels.
struct TListBox::ViewportFilter : QObject {
    explicit ViewportFilter(TListBox& owner) : Owner(owner) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            bool eaten = false;
            Application->Guarded([&] { eaten = Owner.ViewportMouse(e); });
            return eaten;
        }
        default: return false;
        }
    }
    TListBox& Owner;
};

const TClassInfo& TListBox::StaticClassInfo()
{
    using P = TProps<TListBox>;
    static const TClassInfo info({
        .Name = "TListBox",
        .Parent = &TWinControl::StaticClassInfo(),
        .Properties = {P::Enumeration("Style", ListBoxStyleNames, &TListBox::Style, &TListBox::SetStyle).Default(lbStandard),
                       P::Integer("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight).Default(13),
                       P::Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false)},
        .Defaults = {{"TabStop", true}},
        .Create = &CreateComponentOf<TListBox>,
    });
    return info;
}

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner, NewControlWidget<Native>())
{
    auto* native = static_cast<Native*>(Widget());
    native->setItemDelegate(new TListItemDelegate(*this, native));
    // A click on an item, by the user, is the list's click.
    QObject::connect(native, &QListWidget::itemClicked, [this](QListWidgetItem*) {
        Application->Guarded([this] { Click(); });
    });
    native->setDragEnabled(false);
    FViewportFilter = std::make_unique<ViewportFilter>(*this);
    native->viewport()->setMouseTracking(true);
    native->viewport()->installEventFilter(FViewportFilter.get());
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox()
{
    if (auto* native = static_cast<Native*>(Widget())) native->viewport()->removeEventFilter(FViewportFilter.get());
}

const std::string& TListBox::Item(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)];
}

TPersistent* TListBox::ItemObject(int Index) const
{
    Item(Index);
    return FObjects[static_cast<std::size_t>(Index)];
}

int TListBox::SortedPlace(const std::string& Text) const
{
    const auto at = std::upper_bound(FItems.begin(), FItems.end(), Text,
                                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    return static_cast<int>(at - FItems.begin());
}

int TListBox::AddItem(const std::string& Text, TPersistent* Object)
{
    const int at = FSorted ? SortedPlace(Text) : Count();
    FItems.insert(FItems.begin() + at, Text);
    FObjects.insert(FObjects.begin() + at, Object);
    static_cast<Native*>(Widget())->insertItem(at, AnsiToQString(Text));
    return at;
}

void TListBox::SetSorted(bool v)
{
    if (v == FSorted) return;
    FSorted = v;
    if (!v) return;
    std::vector<std::size_t> order(FItems.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return CompareText(FItems[a], FItems[b]) < 0; });
    std::vector<std::string> items;
    std::vector<TPersistent*> objects;
    for (std::size_t i : order) {
        items.push_back(FItems[i]);
        objects.push_back(FObjects[i]);
    }
    FItems = std::move(items);
    FObjects = std::move(objects);
    Rebuild();
}

void TListBox::Exchange(int A, int B)
{
    Item(A);
    Item(B);
    if (A == B) return;
    std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
    std::swap(FObjects[static_cast<std::size_t>(A)], FObjects[static_cast<std::size_t>(B)]);
    auto* native = static_cast<Native*>(Widget());
    native->item(A)->setText(AnsiToQString(Item(A)));
    native->item(B)->setText(AnsiToQString(Item(B)));
}

void TListBox::SetItemText(int Index, const std::string& Text)
{
    Item(Index);
    FItems[static_cast<std::size_t>(Index)] = Text;
    static_cast<Native*>(Widget())->item(Index)->setText(AnsiToQString(Text));
}

TRect TListBox::ItemRect(int Index) const
{
    if (Index < 0 || Index >= Count()) return {};
    auto* native = static_cast<Native*>(Widget());
    const QRect r = native->visualItemRect(native->item(Index));
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

int TListBox::ItemAtPos(TPoint P) const
{
    auto* native = static_cast<Native*>(Widget());
    QListWidgetItem* item = native->itemAt(P.x, P.y);
    return item ? native->row(item) : -1;
}

void TListBox::BeginDrag(bool Immediate, int Threshold)
{
    FDragThreshold = Threshold < 0 ? 5 : Threshold;
    FDrag = Immediate ? TDragState::Dragging : TDragState::Pending;
    const QPoint p = static_cast<Native*>(Widget())->viewport()->mapFromGlobal(QCursor::pos());
    FDragStart = {p.x(), p.y()};
}

bool TListBox::DragOver(TPersistent* Source, int X, int Y)
{
    bool accept = false;
    if (OnDragOver) OnDragOver(this, Source, X, Y, accept);
    return accept;
}

void TListBox::DragDrop(TPersistent* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

bool TListBox::ViewportMouse(void* Event)
{
    auto& e = *static_cast<QMouseEvent*>(Event);
    auto* native = static_cast<Native*>(Widget());
    const QPoint p = e.position().toPoint();
    const TShiftState shift = ShiftStateOf(e.modifiers(), e.buttons());
    TMouseButton button = mbLeft;
    switch (e.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        native->NativeViewportEvent(&e);
        if (!MouseButtonOf(e.button(), button)) return true;
        FDragStart = {p.x(), p.y()};
        TShiftState s = shift;
        if (e.type() == QEvent::MouseButtonDblClick) {
            s.Include(ssDouble);
            DblClick();
        }
        WMMouseDown(button, s, p.x(), p.y());
        if (FDrag == TDragState::Pending) FDragStart = {p.x(), p.y()};
        return true;
    }
    case QEvent::MouseMove:
        if (FDrag == TDragState::Pending && (std::abs(p.x() - FDragStart.x) >= FDragThreshold ||
                                             std::abs(p.y() - FDragStart.y) >= FDragThreshold))
            FDrag = TDragState::Dragging;
        // A row being dragged does not sweep the selection along.
        if (FDrag == TDragState::None) native->NativeViewportEvent(&e);
        MouseMove(shift, p.x(), p.y());
        return true;
    case QEvent::MouseButtonRelease: {
        const TDragState drag = FDrag;
        FDrag = TDragState::None;
        native->NativeViewportEvent(&e);
        if (drag == TDragState::Dragging && native->viewport()->rect().contains(p) && DragOver(this, p.x(), p.y()))
            DragDrop(this, p.x(), p.y());
        else if (drag == TDragState::Dragging && !native->viewport()->rect().contains(p) && OnDropOutside) {
            const QPoint global = native->viewport()->mapToGlobal(p);
            OnDropOutside(this, {global.x(), global.y()});
        }
        if (MouseButtonOf(e.button(), button)) WMMouseUp(button, shift, p.x(), p.y());
        return true;
    }
    default: return false;
    }
}

void TListBox::SetItems(const std::vector<std::string>& Items)
{
    FItems = Items;
    FObjects.assign(Items.size(), nullptr);
    Rebuild();
}

void TListBox::Delete(int Index)
{
    Item(Index);
    FItems.erase(FItems.begin() + Index);
    FObjects.erase(FObjects.begin() + Index);
    delete static_cast<Native*>(Widget())->takeItem(Index);
}

void TListBox::Clear()
{
    FItems.clear();
    FObjects.clear();
    Rebuild();
}

void TListBox::Rebuild()
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    native->clear();
    for (const std::string& item : FItems) native->addItem(AnsiToQString(item));
    native->setCurrentRow(-1);
}

int TListBox::ItemIndex() const { return static_cast<Native*>(Widget())->currentRow(); }

void TListBox::SetItemIndex(int v)
{
    auto* native = static_cast<Native*>(Widget());
    const QSignalBlocker block(native);
    native->clearSelection();
    native->setCurrentRow(v < 0 || v >= Count() ? -1 : v);
}

void TListBox::SetMultiSelect(bool v)
{
    FMultiSelect = v;
    static_cast<Native*>(Widget())->setSelectionMode(v ? QAbstractItemView::ExtendedSelection
                                                       : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int Index) const
{
    Item(Index);
    return static_cast<Native*>(Widget())->item(Index)->isSelected();
}

void TListBox::SetSelected(int Index, bool v)
{
    Item(Index);
    static_cast<Native*>(Widget())->item(Index)->setSelected(v);
}

void TListBox::SetStyle(TListBoxStyle v)
{
    FStyle = v;
    Widget()->update();
}

void TListBox::SetItemHeight(int v)
{
    if (v < 1 || v == FItemHeight) return;
    FItemHeight = v;
    static_cast<Native*>(Widget())->doItemsLayout();
}

TCanvas& TListBox::Canvas() { return FItemCanvas.Canvas(); }

void TListBox::PaintItem(TCanvas& Canvas, int Index, TRect Rect, TOwnerDrawState State)
{
    FItemCanvas.PaintOn(Canvas, [&] { DrawItem(Index, Rect, State); });
}

void TListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FItemCanvas.DrawPlainItem(Rect, State, Index >= 0 && Index < Count() ? Item(Index) : std::string());
}
