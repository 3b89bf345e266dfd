#include "platform/framework/Component.h"

#include <strings.h>

#include <algorithm>

#include "platform/framework/Exception.h"

namespace {
constexpr const char* kDuplicateName = "A component named %s already exists";

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}
}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(std::unique_ptr<TComponent>(this));
}

TComponent::~TComponent() {
  Destroying();
  NotifyRemoval();
  DestroyComponents();
  // The owner lets go of the component without deleting it: it is going already.
  if (FOwner) static_cast<void>(FOwner->RemoveComponent(this).release());
}

void TComponent::NotifyRemoval() {
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    std::unique_ptr<TComponent> last = std::move(FComponents.back());
    FComponents.pop_back();
    last->FOwner = nullptr;
    last.reset();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (const auto& c : FComponents) c->Destroying();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError(FrameworkText::kListIndexError, index);
  return FComponents[static_cast<size_t>(index)].get();
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  for (int i = 0; i < FOwner->ComponentCount(); ++i)
    if (FOwner->FComponents[static_cast<size_t>(i)].get() == this) return i;
  return -1;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : FComponents)
    if (SameText(c->FName, name)) return c.get();
  return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  TComponent* c = component.get();
  if (!c->FName.empty() && FindComponent(c->FName)) throw EComponentError(kDuplicateName, c->FName);
  if (c->FOwner) static_cast<void>(c->FOwner->RemoveComponent(c).release());  // now ours
  c->FOwner = this;
  FComponents.push_back(std::move(component));
  Notification(c, opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  const auto it = std::find_if(FComponents.begin(), FComponents.end(),
                               [component](const auto& c) { return c.get() == component; });
  if (it == FComponents.end()) return nullptr;
  Notification(component, opRemove);
  std::unique_ptr<TComponent> removed = std::move(*it);
  FComponents.erase(it);
  removed->FOwner = nullptr;
  return removed;
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (FOwner && !SameText(name, FName) && FOwner->FindComponent(name))
    throw EComponentError(kDuplicateName, name);
  FName = name;
}

void TComponent::SetComponentState(TComponentStateItem item, bool on) {
  if (on)
    FComponentState.Include(item);
  else
    FComponentState.Exclude(item);
}

void TComponent::SetDesigning(bool designing) {
  SetComponentState(csDesigning, designing);
  for (const auto& c : FComponents) c->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(component);
    component->FFreeNotifies.push_back(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(FFreeNotifies, component);
  if (component) std::erase(component->FFreeNotifies, this);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  for (const auto& c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading() {
  if (FComponentState.Contains(csLoading)) Loaded();
  for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->EndLoading();
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i < FComponents.size()) FComponents[i]->Notification(component, operation);
  }
}
