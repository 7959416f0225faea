// The list box over a QListWidget: items mirrored into the native list, selection, clicks, and owner-drawn
// items painted through a TCanvas on an image of the item.
#include "platform/controls/ListBox.h"

#include "platform/controls/AnsiText.h"
#include "platform/controls/Application.h"
#include "platform/controls/ControlWidget.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/ImageBackend.h"

#include <QImage>
#include <QListWidget>
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

struct TListBox::Native : QListWidget {};

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
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() = default;

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

int TListBox::AddItem(const std::string& Text, TPersistent* Object)
{
    FItems.push_back(Text);
    FObjects.push_back(Object);
    static_cast<Native*>(Widget())->addItem(AnsiToQString(Text));
    return Count() - 1;
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
