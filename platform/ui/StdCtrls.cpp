#include "platform/ui/StdCtrls.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/ui/QtBridge.h"

// --- TLabel ---

TLabel::TLabel(TComponent* owner) : TControl(owner) {}

void TLabel::CreateWidget() {
  auto* label = new QLabel(TControlNative::ParentWidgetOf(*this));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Native().Attach(label);
}

void TLabel::UpdateWidget() {
  TControl::UpdateWidget();
  if (auto* label = qobject_cast<QLabel*>(Native().Widget.data()))
    label->setText(QString::fromStdString(Caption()));
}

// --- TButton ---

TButton::TButton(TComponent* owner) : TWinControl(owner) {}

void TButton::Click() {
  SetFocus();
  TWinControl::Click();
}

void TButton::CreateWidget() {
  auto* button = new QPushButton(TControlNative::ParentWidgetOf(*this));
  Native().Attach(button);
  QObject::connect(button, &QPushButton::clicked, [this] { RunGuarded([this] { Click(); }); });
}

void TButton::UpdateWidget() {
  TWinControl::UpdateWidget();
  if (auto* button = qobject_cast<QPushButton*>(Native().Widget.data()))
    button->setText(QString::fromStdString(Caption()));
}

// --- TListBox ---

int TListBoxStrings::Add(const std::string& line) {
  int index = FLines.Add(line);
  FOwner.LinesChanged();
  return index;
}

void TListBoxStrings::Clear() {
  FLines.Clear();
  FOwner.LinesChanged();
}

void TListBoxStrings::Assign(const TStringList& source) {
  FLines.Assign(source);
  FOwner.LinesChanged();
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {}

void TListBox::SetItemIndex(int32_t index) {
  FItemIndex = index >= 0 && index < FItems.Count() ? index : -1;
  if (auto* list = qobject_cast<QListWidget*>(Native().Widget.data()))
    list->setCurrentRow(FItemIndex);
}

void TListBox::SetItemHeight(int32_t value) {
  FItemHeight = value;
  LinesChanged();
}

void TListBox::LinesChanged() {
  FItemIndex = -1;
  FLinesChanged = true;
  UpdateWidget();
}

void TListBox::CreateWidget() {
  auto* list = new QListWidget(TControlNative::ParentWidgetOf(*this));
  list->setUniformItemSizes(true);
  Native().Attach(list);
  FLinesChanged = true;
  QObject::connect(list, &QListWidget::currentRowChanged, [this](int row) { FItemIndex = row; });
  QObject::connect(list, &QListWidget::itemDoubleClicked,
                   [this] { RunGuarded([this] { DblClick(); }); });
}

void TListBox::UpdateWidget() {
  TWinControl::UpdateWidget();
  auto* list = qobject_cast<QListWidget*>(Native().Widget.data());
  if (!list) return;
  if (FLinesChanged) {
    FLinesChanged = false;
    list->clear();
    for (int i = 0; i < FItems.Count(); ++i) {
      auto* item = new QListWidgetItem(QString::fromStdString(FItems.Strings(i)), list);
      item->setSizeHint(QSize(0, FItemHeight));
    }
  }
  list->setCurrentRow(FItemIndex);
}
