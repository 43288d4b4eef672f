#pragma once
// Components: owned trees of named objects with state flags and free notification.

#include <cstdint>
#include <string>
#include <vector>

#include <fzl/support/EnumInfo.h>
#include <fzl/support/Persistent.h>

namespace fzl {

/// State flags of a component.
enum TComponentStateFlag : std::uint8_t { csLoading, csDesigning, csDestroying };
using TComponentState = TEnumSet<TComponentStateFlag>;

/// What Notification reports about a component.
enum TOperation : std::uint8_t { opInsert, opRemove };

/// A named object that may own other components (freed with it) and that tells
/// registered components, through Notification(this, opRemove), when it goes.
class TComponent : public TPersistent {
public:
    /// Creates the component; a non-null Owner will free it.
    explicit TComponent(TComponent* AOwner);

    /// The component that frees this one, or nullptr.
    [[nodiscard]] TComponent* Owner() const noexcept { return FOwner; }
    [[nodiscard]] TPersistent* GetOwner() const override { return FOwner; }
    [[nodiscard]] const std::string& GetName() const noexcept { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    [[nodiscard]] std::intptr_t GetTag() const noexcept { return FTag; }
    void SetTag(std::intptr_t Value) noexcept { FTag = Value; }

    [[nodiscard]] TComponentState ComponentState() const noexcept { return FComponentState; }
    /// Marks the component as being edited in a designer (or not).
    void SetDesigning(bool Value) noexcept;
    /// Marks the component as being read from a stream, until Loaded().
    void BeginLoading() noexcept { FComponentState.Include(csLoading); }
    /// Called after streaming in; clears the loading state.
    virtual void Loaded() { FComponentState.Exclude(csLoading); }

    /// AComponent will be told, through its Notification(this, opRemove), when this
    /// component is freed. If AComponent goes first, the registration goes with it.
    void FreeNotification(TComponent* AComponent);
    /// Undoes FreeNotification(AComponent).
    void RemoveFreeNotification(TComponent* AComponent);

protected:
    /// Points Link at Value (not owned), moving this component's free notification
    /// from the old target to the new one, so the link is dropped when its target goes.
    template <class T>
    void SetLink(T*& Link, T* Value) {
        if (Value == Link) return;
        if (Link != nullptr) Link->RemoveFreeNotification(this);
        Link = Value;
        if (Link != nullptr) Link->FreeNotification(this);
    }

public:
    [[nodiscard]] int ComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
    [[nodiscard]] TComponent* GetComponent(int Index) const {
        return FComponents.at(static_cast<std::size_t>(Index));
    }

    [[nodiscard]] std::string ClassName() const override { return "TComponent"; }

protected:
    ~TComponent() override = default;
    /// AComponent is being inserted or removed (freed); overrides call the inherited one.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void BeforeDestruction() override;

private:
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;  // told when this component goes
    std::vector<TComponent*> FNotifiers;     // will tell this component when they go
};

}  // namespace fzl
