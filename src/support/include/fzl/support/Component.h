#pragma once
// Components: owned trees of named objects with state flags and free notification.

#include <cstdint>
#include <memory>
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
    /// Name (default empty) and Tag (default 0).
    void DefineProperties(TPropertyList& Properties) override;

    /// AComponent will be told, through its Notification(this, opRemove), when this
    /// component is freed. If AComponent goes first, the registration goes with it.
    void FreeNotification(TComponent* AComponent);
    /// Undoes FreeNotification(AComponent).
    void RemoveFreeNotification(TComponent* AComponent);
    /// A cell that holds this component until it is freed and then holds null: how an
    /// object that is not a component keeps a link that cannot dangle (TComponentRef).
    [[nodiscard]] std::shared_ptr<TComponent* const> GetLifeCell();

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
    std::shared_ptr<TComponent*> FLifeCell;  // made on first request, emptied when the component goes
};

/// A link to a component that reads null once the component is freed, for holders
/// that are not components (free notification needs a component on both sides).
/// Copies share the link; it owns nothing.
template <class T>
class TComponentRef {
public:
    TComponentRef() noexcept = default;
    explicit TComponentRef(T* Component)
        : FComponent(Component), FCell(Component != nullptr ? Component->GetLifeCell() : nullptr) {}

    /// The component, or nullptr when none was given or it has been freed.
    [[nodiscard]] T* Get() const noexcept { return FCell && *FCell != nullptr ? FComponent : nullptr; }
    /// The component given, alive or not (for comparisons only).
    [[nodiscard]] T* Target() const noexcept { return FComponent; }

private:
    T* FComponent = nullptr;  // typed: T may reach TComponent through more than one base
    std::shared_ptr<TComponent* const> FCell;
};

}  // namespace fzl
