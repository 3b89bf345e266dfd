#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/framework/Exception.h"

namespace {

std::vector<std::string> gEvents;

class TProbe : public TComponent {
 public:
  LOUPIX_CLASS(TProbe, TComponent)
  TProbe(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
  ~TProbe() override { gEvents.push_back("free " + Name()); }
  TComponent* Watched = nullptr;
  bool LoadingSeenInLoaded = false;

 protected:
  void Loaded() override {
    LoadingSeenInLoaded = ComponentState().Contains(csLoading);
    TComponent::Loaded();
    gEvents.push_back("loaded " + Name());
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Watched) {
      gEvents.push_back(Name() + " lost watched");
      Watched = nullptr;
    }
  }
};

class ComponentTest : public testing::Test {
 protected:
  void SetUp() override { gEvents.clear(); }
};

TEST_F(ComponentTest, OwnerFreesItsComponentsLastFirst) {
  {
    TProbe form(nullptr, "Form");
    new TProbe(&form, "A");
    auto* b = new TProbe(&form, "B");
    new TProbe(b, "B1");
    new TProbe(&form, "C");
    EXPECT_EQ(form.ComponentCount(), 3);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(b->Owner(), &form);
  }
  EXPECT_EQ(gEvents,
            (std::vector<std::string>{"free Form", "free C", "free B", "free B1", "free A"}));
}

TEST_F(ComponentTest, FreeingAComponentTakesItOutOfItsOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  auto* b = new TProbe(&form, "B");
  delete a;
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), b);
  EXPECT_THROW(form.Components(1), EListError);
}

TEST_F(ComponentTest, SiblingsHearOfARemovalThroughTheOwner) {
  TProbe form(nullptr, "Form");
  auto* draw = new TProbe(&form, "DXDraw1");
  auto* list = new TProbe(&form, "DXImageList1");
  list->Watched = draw;
  delete draw;
  EXPECT_EQ(list->Watched, nullptr);
  EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), "DXImageList1 lost watched"), gEvents.end());
}

TEST_F(ComponentTest, FreeNotificationReachesAcrossOwners) {
  TProbe formA(nullptr, "FormA");
  TProbe formB(nullptr, "FormB");
  auto* target = new TProbe(&formA, "Target");
  auto* watcher = new TProbe(&formB, "Watcher");
  watcher->Watched = target;
  target->FreeNotification(watcher);
  EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
}

TEST_F(ComponentTest, RemovedFreeNotificationStaysSilentAndWatcherMayGoFirst) {
  auto* target = new TProbe(nullptr, "Target");
  auto* watcher = new TProbe(nullptr, "Watcher");
  watcher->Watched = target;
  target->FreeNotification(watcher);
  target->RemoveFreeNotification(watcher);
  delete target;
  EXPECT_NE(watcher->Watched, nullptr);
  // The other way round: the watcher goes first and the target must not call it later.
  auto* target2 = new TProbe(nullptr, "Target2");
  target2->FreeNotification(watcher);
  delete watcher;
  delete target2;
}

TEST_F(ComponentTest, LoadingStateAndLoadedOrder) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  new TProbe(a, "A1");
  new TProbe(&form, "B");
  form.BeginLoading();
  EXPECT_TRUE(a->ComponentState().Contains(csLoading));
  form.EndLoading();
  EXPECT_EQ(gEvents,
            (std::vector<std::string>{"loaded Form", "loaded A", "loaded A1", "loaded B"}));
  EXPECT_TRUE(a->LoadingSeenInLoaded);
  EXPECT_FALSE(a->ComponentState().Contains(csLoading));
  gEvents.clear();
  form.EndLoading();  // nothing is loading any more
  EXPECT_TRUE(gEvents.empty());
}

TEST_F(ComponentTest, DesigningAndDestroyingReachOwnedComponents) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  form.SetDesigning(true);
  EXPECT_TRUE(a->ComponentState().Contains(csDesigning));
  form.Destroying();
  EXPECT_TRUE(a->ComponentState().Contains(csDestroying));
}

TEST_F(ComponentTest, NamesAreUniqueAmongAnOwnersComponents) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "Button1");
  auto* b = new TProbe(&form, "Button2");
  try {
    b->SetName("BUTTON1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
  }
  a->SetName("button1");  // a new spelling of its own name is fine
  EXPECT_EQ(form.FindComponent("BUTTON1"), a);
  EXPECT_EQ(form.FindComponent("nothing"), nullptr);
}

TEST_F(ComponentTest, RemoveAndInsertMoveOwnership) {
  TProbe formA(nullptr, "FormA");
  TProbe formB(nullptr, "FormB");
  auto* a = new TProbe(&formA, "A");
  std::unique_ptr<TComponent> taken = formA.RemoveComponent(a);
  EXPECT_EQ(a->Owner(), nullptr);
  EXPECT_EQ(formA.ComponentCount(), 0);
  formB.InsertComponent(std::move(taken));
  EXPECT_EQ(a->Owner(), &formB);
  EXPECT_EQ(formA.RemoveComponent(a), nullptr);
  // A name already taken at the new owner is refused.
  new TProbe(&formA, "A");
  EXPECT_THROW(formA.InsertComponent(formB.RemoveComponent(a)), EComponentError);
  EXPECT_EQ(formA.ComponentCount(), 1);
  EXPECT_EQ(formB.ComponentCount(), 0);
}

}  // namespace
