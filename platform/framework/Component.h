// Components: persistent objects with an owner that frees them, a name, a state
// (loading, designing, destroying) and removal notifications.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/Persistent.h"
#include "platform/framework/Set.h"

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csFreeNotification
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  LOUPIX_CLASS(TComponent, TPersistent)

  // With an owner, the owner takes the component and frees it with itself.
  explicit TComponent(TComponent* owner);
  // Frees the owned components, last first; tells those that asked for it.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError for a bad index.
  TComponent* Components(int index) const;
  // Position in the owner's list, or -1 without owner.
  int ComponentIndex() const;
  // Case-insensitive search of the owned components; nullptr when absent.
  TComponent* FindComponent(const std::string& name) const;

  // Takes ownership; the owner and its components get opInsert. A component whose
  // name is taken among this owner's components is refused (and freed).
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Gives ownership back to the caller; the owner and its components get opRemove.
  std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

  const std::string& Name() const { return FName; }
  // Names are unique among an owner's components (EComponentError otherwise).
  virtual void SetName(const std::string& name);
  int64_t Tag() const { return FTag; }
  void SetTag(int64_t tag) { FTag = tag; }

  TComponentState ComponentState() const { return FComponentState; }
  void SetDesigning(bool designing);

  // Asks to be told (Notification with opRemove) when component goes; mutual.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // For builders that fill components from a form description: BeginLoading marks
  // this component and everything it owns as loading; EndLoading calls Loaded on
  // this component first, then on its owned components in creation order.
  void BeginLoading();
  void EndLoading();

  // Marks this component and its owned ones as being destroyed. A derived class
  // whose owned components use its own members calls Destroying and
  // DestroyComponents first in its own destructor.
  void Destroying();
  void DestroyComponents();

 protected:
  // Runs after the component has been filled from stored data; clears csLoading.
  virtual void Loaded();
  // Told about insertion and removal of components; the default forgets removed
  // ones it watched and passes the news on to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);
  void SetComponentState(TComponentStateItem item, bool on);
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void NotifyRemoval();
  TComponent* FOwner = nullptr;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::string FName;
  int64_t FTag = 0;
  TComponentState FComponentState;
};
