#include "platform/ui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "platform/ui/QtBridge.h"
#include "platform/ui/QtScreenHost.h"

namespace {

std::function<void(TPopupMenu&, TPoint)>& PopupHandler() {
  static std::function<void(TPopupMenu&, TPoint)> handler;
  return handler;
}

// Builds the Qt menu; returns which item each action stands for.
std::vector<std::pair<QAction*, TMenuItem*>> Fill(QMenu& menu, TMenuItem& items) {
  std::vector<std::pair<QAction*, TMenuItem*>> actions;
  for (int32_t i = 0; i < items.Count(); ++i) {
    TMenuItem* item = items.Items(i);
    if (item->IsLine()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdString(item->Caption()));
    if (item->RadioItem()) {
      // Radio items of one group show round marks.
      QString groupName = QStringLiteral("radio%1").arg(item->GroupIndex());
      auto* group = menu.findChild<QActionGroup*>(groupName);
      if (!group) {
        group = new QActionGroup(&menu);
        group->setObjectName(groupName);
      }
      group->addAction(action);
    }
    action->setCheckable(item->AutoCheck() || item->RadioItem() || item->Checked());
    action->setChecked(item->Checked());
    action->setEnabled(item->Enabled());
    actions.emplace_back(action, item);
  }
  return actions;
}

}  // namespace

void TMenuItem::SetChecked(bool value) {
  FChecked = value;
  if (value && FRadioItem) ClearRadioSiblings();
}

void TMenuItem::ClearRadioSiblings() {
  if (!FParent) return;
  for (TMenuItem* sibling : FParent->FItems)
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
      sibling->FChecked = false;
}

void TMenuItem::Add(TMenuItem* item) {
  item->FParent = this;
  FItems.push_back(item);
  if (item->FChecked && item->FRadioItem) item->ClearRadioSiblings();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {}

void TPopupMenu::Popup(int32_t x, int32_t y) {
  if (auto* form = dynamic_cast<TControl*>(Owner())) form->Perform(WM_INITMENU);
  if (OnPopup) OnPopup(this);
  if (PopupHandler()) {
    PopupHandler()(*this, {x, y});
    return;
  }
  EnsureQtApplication();
  QMenu menu(MainFormWidget());
  auto actions = Fill(menu, *FItems);
  TQtScreenHost* host = QtScreenHost();
  QAction* chosen = menu.exec(host ? host->VirtualToGlobal({x, y}) : QPoint(x, y));
  // The item runs after the menu has closed, as a chosen command does.
  for (auto& [action, item] : actions)
    if (action == chosen) item->Click();
}

void SetPopupHandler(std::function<void(TPopupMenu&, TPoint)> handler) {
  PopupHandler() = std::move(handler);
}
