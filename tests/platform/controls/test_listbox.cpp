// The list box: items with objects, selection in both modes, sorting, clicks from the native list,
// owner-drawn items painted through the program's canvas, and a row dragged onto another.
#include "platform/controls/ListBox.h"

#include "platform/controls/QtApplication.h"
#include "platform/graphics/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QListWidget>

#include <gtest/gtest.h>

TEST(ListBox, ItemsObjectsAndSelection)
{
    TListBox list(nullptr);
    TComponent a(nullptr), b(nullptr);
    EXPECT_EQ(list.AddItem("one", &a), 0);
    EXPECT_EQ(list.AddItem("two", &b), 1);
    list.AddItem("three");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ItemObject(1), &b);
    EXPECT_EQ(list.ItemObject(2), nullptr);
    EXPECT_THROW(list.Item(3), EListError);
    EXPECT_EQ(list.ItemIndex(), -1);

    list.SetItemIndex(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_TRUE(list.Selected(1));
    list.SetMultiSelect(true);
    list.SetSelected(0, true);
    EXPECT_TRUE(list.Selected(0));
    EXPECT_TRUE(list.Selected(1));
    list.SetItemIndex(2);
    EXPECT_FALSE(list.Selected(0)) << "setting the index selects that item alone";

    list.Delete(0);
    EXPECT_EQ(list.Item(0), "two");
    EXPECT_EQ(list.ItemObject(0), &b);
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListBox, ClicksAndOwnerDrawnItems)
{
    TListBox list(nullptr);
    list.SetItems({"red", "blue"});
    int clicks = 0;
    list.OnClick = [&](TPersistent*) { ++clicks; };
    auto* native = static_cast<QListWidget*>(list.Widget());
    emit native->itemClicked(native->item(1));
    EXPECT_EQ(clicks, 1);

    list.SetStyle(lbOwnerDrawFixed);
    list.SetItemHeight(16);
    std::vector<int> drawn;
    list.OnDrawItem = [&](TPersistent*, int index, TRect rect, TOwnerDrawState) {
        drawn.push_back(index);
        list.Canvas().Brush().SetColor(index == 0 ? clRed : clBlue);
        list.Canvas().FillRect(rect);
    };
    list.SetBounds(0, 0, 80, 60);
    QImage image(list.Widget()->size(), QImage::Format_RGB32);
    list.Widget()->render(&image);
    EXPECT_EQ(drawn.size(), 2u);
    const QPoint first = native->visualItemRect(native->item(0)).center();
    const QPoint second = native->visualItemRect(native->item(1)).center();
    EXPECT_EQ(native->visualItemRect(native->item(0)).height(), 16);
    const QPoint offset = native->viewport()->mapTo(native, QPoint(0, 0));
    EXPECT_EQ(QColor(image.pixel(first + offset)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(second + offset)), QColor(Qt::blue));
}

TEST(ListBox, SortedItemsKeepTheirObjects)
{
    TListBox list(nullptr);
    TComponent a(nullptr), b(nullptr), c(nullptr);
    list.AddItem("pear", &a);
    list.AddItem("Apple", &b);
    list.SetSorted(true);
    EXPECT_EQ(list.Item(0), "Apple");
    EXPECT_EQ(list.ItemObject(0), &b);
    EXPECT_EQ(list.AddItem("banana", &c), 1) << "an append lands in its place, case aside";
    EXPECT_EQ(list.ItemObject(2), &a);
    auto* native = static_cast<QListWidget*>(list.Widget());
    EXPECT_EQ(native->item(1)->text(), "banana");

    list.Exchange(0, 2);
    EXPECT_EQ(list.Item(0), "pear");
    EXPECT_EQ(list.ItemObject(0), &a);
    EXPECT_EQ(native->item(2)->text(), "Apple");
    list.SetItemText(1, "cherry");
    EXPECT_EQ(native->item(1)->text(), "cherry");
}

TEST(ListBox, ARowDraggedPastTheThresholdDropsOnAnother)
{
    EnsureQtApplication();
    QWidget window;
    window.setGeometry(0, 0, 200, 200);
    TListBox list(nullptr);
    list.SetParentWidget(&window);
    list.SetBounds(0, 0, 200, 200);
    for (const char* t : {"a", "b", "c"}) list.AddItem(t);
    window.show();
    int drops = 0;
    TPoint dropAt;
    list.OnDragOver = [&](TPersistent*, TPersistent* Source, int, int, bool& Accept) { Accept = Source == &list; };
    list.OnDragDrop = [&](TPersistent*, TPersistent*, int X, int Y) {
        ++drops;
        dropAt = {X, Y};
    };
    list.OnMouseDown = [&](TPersistent*, TMouseButton, TShiftState, int, int) { list.BeginDrag(false, 5); };
    QWidget* viewport = static_cast<QListWidget*>(list.Widget())->viewport();
    auto send = [&](QEvent::Type type, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(20, y), viewport->mapToGlobal(QPointF(20, y)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    };
    auto rowY = [&](int row) { return (list.ItemRect(row).Top + list.ItemRect(row).Bottom) / 2; };
    // Below the threshold: a click, no drag.
    send(QEvent::MouseButtonPress, rowY(0), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, rowY(0) + 3, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, rowY(0) + 3, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(drops, 0);
    EXPECT_FALSE(list.Dragging());
    send(QEvent::MouseButtonPress, rowY(0), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, rowY(2), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(list.Dragging());
    EXPECT_EQ(list.ItemIndex(), 0) << "a drag does not sweep the selection";
    send(QEvent::MouseButtonRelease, rowY(2), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(list.ItemAtPos(dropAt), 2);
    EXPECT_FALSE(list.Dragging());
}
