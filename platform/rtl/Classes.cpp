// TPersistent's assignment protocol, TComponent's ownership, naming and free notification, and the
// registry of classes that streams create by name.
#include "platform/rtl/Classes.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <map>
#include <memory>

// ---- TPersistent ------------------------------------------------------------------------------------

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo info({.Name = "TPersistent"});
    return info;
}

bool TPersistent::InheritsFrom(std::string_view className) const
{
    for (const TClassInfo* c = &ClassInfo(); c; c = c->Parent())
        if (SameText(c->Name(), className)) return true;
    return false;
}

void TPersistent::Assign(const TPersistent& Source) { Source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& Dest) const { Dest.AssignError(*this); }

void TPersistent::AssignError(const TPersistent& Source) const
{
    throw EConvertError("Cannot assign a " + Source.ClassName() + " to a " + ClassName());
}

// ---- TComponent -------------------------------------------------------------------------------------

const TClassInfo& TComponent::StaticClassInfo()
{
    using P = TProps<TComponent>;
    static const TClassInfo info({
        .Name = "TComponent",
        .Parent = &TPersistent::StaticClassInfo(),
        // The name heads a component's entry in a stream rather than standing among its properties.
        .Properties = {P::Text("Name", &TComponent::Name, &TComponent::SetName).NotStored(),
                       P::Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0)},
        .Create = &CreateComponentOf<TComponent>,
    });
    return info;
}

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FState.Include(csDestroying);
    while (!FFreeNotifies.empty()) {
        TComponent* partner = FFreeNotifies.back();
        Unlink(partner);
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free() { delete this; }

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) const {}

void TComponent::SetParentComponent(TComponent*) {}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FComponents[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this) return;
    if (TComponent* other = FindComponent(AComponent->FName); other && other != AComponent)
        throw EComponentError("A component named " + AComponent->FName + " already exists");
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    std::erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        std::unique_ptr<TComponent> victim(FComponents.back());
        RemoveComponent(victim.get());
    }
}

void TComponent::SetName(const std::string& NewName)
{
    if (NewName == FName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (FOwner) {
        TComponent* other = FOwner->FindComponent(NewName);
        if (other && other != this) throw EComponentError("A component named " + NewName + " already exists");
    }
    FName = NewName;
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& theirs = AComponent->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (AComponent) Unlink(AComponent);
}

void TComponent::Unlink(TComponent* AComponent)
{
    std::erase(FFreeNotifies, AComponent);
    std::erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent) Unlink(AComponent);
    // An owned component may free others while it hears the news: walk by index from the end and
    // clamp the index to the list as it is now.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount()) i = ComponentCount() - 1;
        if (i < 0) break;
        FComponents[static_cast<std::size_t>(i)]->Notification(AComponent, Operation);
    }
}

// ---- class registry -------------------------------------------------------------------------------

namespace {

struct TClassRegistryState {
    std::map<std::string, const TClassInfo*> ByUpperName;
};

TClassRegistryState& Registry()
{
    static TClassRegistryState state;
    return state;
}

} // namespace

void RegisterClass(const TClassInfo& info) { Registry().ByUpperName[UpperCase(info.Name())] = &info; }

void UnRegisterClass(const TClassInfo& info)
{
    auto& map = Registry().ByUpperName;
    if (auto it = map.find(UpperCase(info.Name())); it != map.end() && it->second == &info) map.erase(it);
}

const TClassInfo* FindClassInfo(std::string_view name)
{
    const auto& map = Registry().ByUpperName;
    const auto it = map.find(UpperCase(name));
    return it == map.end() ? nullptr : it->second;
}

void ResetClassRegistry() { Registry() = TClassRegistryState{}; }

bool IsValidIdent(std::string_view name)
{
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (name.empty() || !alpha(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}
