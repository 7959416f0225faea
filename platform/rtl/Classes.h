// The object model: TPersistent (copying by Assign, a class description with its property table) and
// TComponent (an owner that frees the components it owns, a name unique among its owner's components,
// and notification of the components that asked to hear when another one is destroyed).
#pragma once

#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Put in a class body: declares the class's description (defined in its .cpp as a function returning a
// function-local static TClassInfo) and returns it as the object's ClassInfo. Leaves the access public.
#define VSP_PERSISTENT_CLASS                                                 \
public:                                                                      \
    static const TClassInfo& StaticClassInfo();                              \
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TPersistent {
public:
    virtual ~TPersistent() = default;

    static const TClassInfo& StaticClassInfo();
    // The class description of the object's own class (every persistent class declares one).
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().Name(); }
    // True for the named class and its descendants (letter case ignored).
    bool InheritsFrom(std::string_view className) const;

    // Copies Source into this object. A class overrides it for the sources it knows and passes others
    // to the inherited Assign; by default the source is asked (AssignTo), and when neither side knows
    // the other EConvertError "Cannot assign a <source class> to a <this class>" is raised.
    virtual void Assign(const TPersistent& Source);

protected:
    TPersistent() = default;
    TPersistent(const TPersistent&) = default;
    TPersistent& operator=(const TPersistent&) = default;

    // Copies this object into Dest, for sources that know a destination class that does not know them.
    virtual void AssignTo(TPersistent& Dest) const;
    [[noreturn]] void AssignError(const TPersistent& Source) const;
};

// The plain event: fired only when set, with the sender.
using TNotifyEvent = std::function<void(TPersistent* Sender)>;

enum TOperation { opInsert, opRemove };

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

// A component either has an owner, which frees it, or is held by a std::unique_ptr of whoever created
// it. A component with an owner is created with new; Free destroys it earlier (its owner forgets it).
class TComponent : public TPersistent {
    VSP_PERSISTENT_CLASS
public:
    explicit TComponent(TComponent* AOwner);
    // Tells the free-notification partners, frees the owned components (the last one first) and leaves
    // the owner. A descendant whose owned components use its own members calls DestroyComponents in
    // its own destructor.
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    void Free();

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError for an index outside 0..ComponentCount-1.
    TComponent* Components(int index) const;
    // Position in the owner's list; -1 without owner.
    int ComponentIndex() const;
    // The owned component of that name (letter case ignored); nullptr when none; "" finds none.
    TComponent* FindComponent(std::string_view name) const;
    // Takes a component into this owner's list (out of its former owner's); its name must be free here.
    void InsertComponent(TComponent* AComponent);
    // Lets an owned component go without freeing it; it then has no owner.
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();

    const std::string& Name() const { return FName; }
    // Raises EComponentError for a name that is no identifier ("'%s' is not a valid component name")
    // or that another component of the same owner has ("A component named %s already exists").
    void SetName(const std::string& NewName);
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t v) { FTag = v; }

    // Asks to be told (Notification with opRemove) when AComponent is destroyed, and tells AComponent
    // the same when this one is. Partners may be told more than once; the call is idempotent.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // The components a stream writes inside this one, in order (a chart's series and tools); none here.
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) const;
    // Joins this component, just read from a stream, to the component it was written inside.
    virtual void SetParentComponent(TComponent* Value);

    TComponentState ComponentState() const { return FState; }
    // Marks the component as being loaded from a stream; Loaded ends it.
    void BeginLoading() { FState += {csLoading, csReading}; }
    // Called when loading has finished; descendants do the work they deferred while loading.
    virtual void Loaded() { FState -= {csLoading, csReading}; }

protected:
    // Another component was inserted into or removed from this owner, or a free-notification partner
    // is being destroyed. At opRemove from a destructor the component is partly destroyed: compare its
    // address, do not call it. The base forgets a removed partner and passes the news on to every owned
    // component. Must not throw.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    void Unlink(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    std::int32_t FTag = 0;
    TComponentState FState;
};

// Factory for TClassDecl::Create: `.Create = &CreateComponentOf<TChartChart>`.
template <class T>
TComponent* CreateComponentOf(TComponent* owner) { return new T(owner); }

// Classes that streams name and create: registered at start-up, found by name (letter case ignored).
void RegisterClass(const TClassInfo& info);
void UnRegisterClass(const TClassInfo& info);
const TClassInfo* FindClassInfo(std::string_view name);
// Forgets every registration (tests).
void ResetClassRegistry();

// True when the text is a valid component name: a letter or "_", then letters, digits or "_".
bool IsValidIdent(std::string_view name);
