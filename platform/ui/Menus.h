// Context menus. A check item (AutoCheck) toggles its mark before its OnClick
// runs; checking a radio item clears the other radio items of its group; an item
// whose caption is "-" is a separator.
#pragma once

#include <vector>

#include "platform/ui/Controls.h"

class TMenuItem : public TComponent {
 public:
  LOUPIX_CLASS(TMenuItem, TComponent)
  explicit TMenuItem(TComponent* owner) : TComponent(owner) {}

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  bool IsLine() const { return FCaption == "-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value) { FRadioItem = value; }
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t value) { FGroupIndex = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }

  // Sub-items in display order (not owned: the form owns every item).
  void Add(TMenuItem* item);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TMenuItem* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return FParent; }

  // Chooses the item, as a click in the menu does.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  void ClearRadioSiblings();

  std::string FCaption;
  bool FChecked = false;
  bool FAutoCheck = false;
  bool FRadioItem = false;
  bool FEnabled = true;
  uint8_t FGroupIndex = 0;
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
};

class TPopupMenu : public TComponent {
 public:
  LOUPIX_CLASS(TPopupMenu, TComponent)
  explicit TPopupMenu(TComponent* owner);

  TMenuItem& Items() { return *FItems; }
  // Opens the menu at a screen position and waits until it closes. The owning
  // form is told WM_INITMENU first. Tests may answer instead of a person.
  void Popup(int32_t x, int32_t y);
  TNotifyEvent OnPopup;

 private:
  TMenuItem* FItems;
};

// Replaces the opening of menus (nullptr restores it): the function gets the
// menu and the position, and may Click an item.
void SetPopupHandler(std::function<void(TPopupMenu& menu, TPoint at)> handler);
