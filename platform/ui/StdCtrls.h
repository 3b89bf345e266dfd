// Standard controls: label, push button, list box.
#pragma once

#include "platform/framework/StringList.h"
#include "platform/ui/Controls.h"

class TLabel : public TControl {
 public:
  LOUPIX_CLASS(TLabel, TControl)
  explicit TLabel(TComponent* owner);

 protected:
  void CreateWidget() override;
  void UpdateWidget() override;
};

class TButton : public TWinControl {
 public:
  LOUPIX_CLASS(TButton, TWinControl)
  explicit TButton(TComponent* owner);
  // Presses the button: it takes the focus first, so a field being edited
  // gives up (and settles) its value before OnClick runs.
  void Click() override;

 protected:
  void CreateWidget() override;
  void UpdateWidget() override;
};

class TListBox;

// The lines of a list box, kept in step with its window.
class TListBoxStrings {
 public:
  explicit TListBoxStrings(TListBox& owner) : FOwner(owner) {}
  int Count() const { return FLines.Count(); }
  const std::string& Strings(int index) const { return FLines.Strings(index); }
  int Add(const std::string& line);
  void Clear();
  void Assign(const TStringList& source);

 private:
  TListBox& FOwner;
  TStringList FLines;
};

class TListBox : public TWinControl {
 public:
  LOUPIX_CLASS(TListBox, TWinControl)
  explicit TListBox(TComponent* owner);

  TListBoxStrings& Items() { return FItems; }
  // The selected line, or -1.
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t index);
  int32_t ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t value);
  // What a double click on a line does after selecting it: OnDblClick.
  using TWinControl::DblClick;

 protected:
  void CreateWidget() override;
  void UpdateWidget() override;

 private:
  friend class TListBoxStrings;
  void LinesChanged();

  TListBoxStrings FItems{*this};
  int32_t FItemIndex = -1;
  int32_t FItemHeight = 13;
  bool FLinesChanged = false;
};
