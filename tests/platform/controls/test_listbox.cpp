// The list box: items with objects, selection in both modes, clicks from the native list, and owner-drawn
// items painted through the program's canvas.
#include "platform/controls/ListBox.h"

#include "platform/graphics/Canvas.h"

#include <QImage>
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
