#include "pictures/DXImageList.h"

#include "display/DXDraw.h"

TCustomDXImageList::TCustomDXImageList(TComponent* owner)
    : TComponent(owner), FItems(std::make_unique<TPictureCollection>(this)) {}

TCustomDXImageList::~TCustomDXImageList() {
  SetDXDraw(nullptr);
  FItems.reset();
}

void TCustomDXImageList::SetDXDraw(TCustomDXDraw* value) {
  if (FDXDraw) {
    TCustomDXDraw* old = FDXDraw;
    old->RemoveNotifyHandler(this);
    old->RemoveFreeNotification(this);
  }
  FDXDraw = value;
  if (!value) return;
  value->FreeNotification(this);
  value->AddNotifyHandler(
      this, [this](TCustomDXDraw* sender, TDXDrawNotifyKind kind) { DisplayNotify(sender, kind); });
}

void TCustomDXImageList::DisplayNotify(TCustomDXDraw* sender, TDXDrawNotifyKind kind) {
  switch (kind) {
    case nkDestroying:
      SetDXDraw(nullptr);
      break;
    case nkInitialize:
      FItems->Initialize(sender);
      break;
    case nkFinalize:
      FItems->Finalize();
      break;
    case nkRestore:
      FItems->Restore();
      break;
    default:
      break;
  }
}

void TCustomDXImageList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove || component != FDXDraw) return;
  // A control already being torn down is only forgotten, not called.
  if (component->ComponentState().Contains(csDestroying)) {
    FItems->Finalize();
    FDXDraw = nullptr;
  } else {
    SetDXDraw(nullptr);
  }
}
