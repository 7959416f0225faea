// Menu items: the item tree and its change listeners.
#include "platform/controls/Menus.h"

#include <algorithm>

const TClassInfo& TMenuItem::StaticClassInfo()
{
    using P = TProps<TMenuItem>;
    static const TClassInfo info({
        .Name = "TMenuItem",
        .Parent = &TComponent::StaticClassInfo(),
        .Properties = {P::Text("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Default(""),
                       P::Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false),
                       P::Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true),
                       P::Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true)},
        .Create = &CreateComponentOf<TMenuItem>,
    });
    return info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    FDestroying = true;
    const auto listeners = FListeners;
    for (const auto& l : listeners) l.second(this);
    FListeners.clear();
    for (TMenuItem* item : FItems) item->FParent = nullptr;
    FItems.clear();
    if (FParent) FParent->Remove(this);
}

void TMenuItem::SetCaption(const std::string& v)
{
    if (FCaption == v) return;
    FCaption = v;
    Changed();
}

void TMenuItem::SetChecked(bool v)
{
    if (FChecked == v) return;
    FChecked = v;
    Changed();
}

void TMenuItem::SetEnabled(bool v)
{
    if (FEnabled == v) return;
    FEnabled = v;
    Changed();
}

void TMenuItem::SetVisible(bool v)
{
    if (FVisible == v) return;
    FVisible = v;
    Changed();
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
    return FItems[static_cast<std::size_t>(index)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item) throw EMenuError("Menu inserted twice");
    if (item->FParent == this) throw EMenuError("Menu inserted twice");
    if (index < 0 || index > Count()) throw EMenuError("Menu index out of range");
    if (item->FParent) item->FParent->Remove(item);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    const int i = IndexOf(item);
    if (i < 0) throw EMenuError("Sub-menu is not in menu");
    FItems.erase(FItems.begin() + i);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Click()
{
    if (OnClick) OnClick(this);
}

int TMenuItem::AddListener(TMenuListener listener)
{
    FListeners.emplace_back(FNextListener, std::move(listener));
    return FNextListener++;
}

void TMenuItem::RemoveListener(int id)
{
    FListeners.erase(std::remove_if(FListeners.begin(), FListeners.end(), [id](const auto& l) { return l.first == id; }),
                     FListeners.end());
}

// A change of an item is a change of the menu that shows it, too.
void TMenuItem::Changed()
{
    const auto listeners = FListeners;
    for (const auto& l : listeners) l.second(this);
    if (FParent) FParent->Changed();
}
