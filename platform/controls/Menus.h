// TMenuItem: a menu entry of the class library (caption, check mark, enabled and visible states, a click
// event) holding its sub-items in order. Qt-free: form code shows an item's sub-items in a Qt menu through
// BindMenu (MenuBinding.h), which follows every change.
#pragma once

#include "platform/rtl/Classes.h"

#include <functional>
#include <string>
#include <vector>

class TMenuItem : public TComponent {
    VSP_PERSISTENT_CLASS
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent item; its sub-items are left without parent (their owners free them).
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Sub-items, in menu order.
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EMenuError "Menu index out of range" outside 0..Count-1.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    // Index among the parent's items; -1 without parent.
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    // Inserts at index 0..Count (an item that has a parent leaves it first); raises EMenuError
    // "Menu index out of range" for another index and "Menu inserted twice" for the item itself or one
    // of its parents.
    void Insert(int index, TMenuItem* item);
    void Add(TMenuItem* item) { Insert(Count(), item); }
    // Takes the item out of the sub-items (not freed); raises EMenuError "Sub-menu is not in menu" when
    // it is not one of them.
    void Remove(TMenuItem* item);

    // What a user's click on the item does: fires OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

    // Told of every change of the item, its sub-items or their order (menu code follows it), and once
    // more when the item is being destroyed (Destroying() is then true).
    using TMenuListener = std::function<void(TMenuItem* Sender)>;
    int AddListener(TMenuListener listener);
    void RemoveListener(int id);
    bool Destroying() const { return FDestroying; }

private:
    void Changed();

    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    std::vector<std::pair<int, TMenuListener>> FListeners;
    int FNextListener = 1;
    bool FDestroying = false;
};

VSP_DECLARE_EXCEPTION(EMenuError, Exception);
