#include <algorithm>

#include <fzl/support/Component.h>
#include <fzl/support/PropertyList.h>

namespace fzl {
namespace {

void Erase(std::vector<TComponent*>& List, TComponent* Item) {
    List.erase(std::remove(List.begin(), List.end(), Item), List.end());
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr) AOwner->InsertComponent(this);
}

void TComponent::SetDesigning(bool Value) noexcept {
    if (Value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end()) return;
    FFreeNotifies.push_back(AComponent);
    AComponent->FNotifiers.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr) return;
    Erase(FFreeNotifies, AComponent);
    Erase(AComponent->FNotifiers, this);
}

std::shared_ptr<TComponent* const> TComponent::GetLifeCell() {
    if (!FLifeCell) FLifeCell = std::make_shared<TComponent*>(this);
    return FLifeCell;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove) Erase(FComponents, AComponent);
}

void TComponent::BeforeDestruction() {
    FComponentState.Include(csDestroying);
    if (FLifeCell) *FLifeCell = nullptr;
    // Tell every registered component while this one is still whole.
    while (!FFreeNotifies.empty()) {
        TComponent* Other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Erase(Other->FNotifiers, this);
        Other->Notification(this, opRemove);
    }
    // Those that would have told this component no longer need to.
    for (TComponent* Notifier : FNotifiers) Erase(Notifier->FFreeNotifies, this);
    FNotifiers.clear();
    while (!FComponents.empty()) FComponents.back()->Free();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
    TPersistent::BeforeDestruction();
}

void TComponent::InsertComponent(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    Erase(FComponents, AComponent);
    AComponent->FOwner = nullptr;
    Notification(AComponent, opRemove);
}

void TComponent::DefineProperties(TPropertyList& Properties) {
    TPersistent::DefineProperties(Properties);
    Properties.String<&TComponent::GetName, &TComponent::SetName>("Name", this);
    Properties.Integer<&TComponent::GetTag, &TComponent::SetTag>("Tag", this, 0);
}

}  // namespace fzl
