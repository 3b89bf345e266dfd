// The picture list component: a picture collection that follows a display control's
// life through its notifications.
#pragma once

#include <memory>

#include "display/DXDrawOptions.h"
#include "pictures/PictureCollection.h"
#include "platform/framework/Component.h"

class TCustomDXDraw;

class TCustomDXImageList : public TComponent {
 public:
  LOUPIX_CLASS(TCustomDXImageList, TComponent)

  explicit TCustomDXImageList(TComponent* owner);
  // Unbinds first, so the items drop their surfaces while the device still exists.
  ~TCustomDXImageList() override;

  TCustomDXDraw* DXDraw() const { return FDXDraw; }
  // Unregisters from the bound control (which finalizes the items if it is
  // initialized), then registers with value (which initializes and restores them).
  void SetDXDraw(TCustomDXDraw* value);
  TPictureCollection& Items() const { return *FItems; }
  // Copies of value's items replace the items; the colour table stays.
  void SetItems(TPictureCollection* value) { FItems->Assign(value); }

  // The handler registered with the display control.
  void DisplayNotify(TCustomDXDraw* sender, TDXDrawNotifyKind kind);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomDXDraw* FDXDraw = nullptr;
  std::unique_ptr<TPictureCollection> FItems;
};

class TDXImageList : public TCustomDXImageList {
 public:
  LOUPIX_CLASS(TDXImageList, TCustomDXImageList)
  using TCustomDXImageList::TCustomDXImageList;
};
