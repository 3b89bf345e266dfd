// The display control: owns its form's display device, the display mode, one
// presentation driver and the front and back surfaces it presents from.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "display/DXDrawDisplay.h"
#include "display/DXDrawOptions.h"
#include "platform/ui/Controls.h"

class TControlSubClass;
class TCustomForm;
class TDirectDraw;
class TDirectDrawClipper;
class TDirectDrawPalette;
class TDirectDrawSurface;
class TDXDrawDriver;
class TCustomDXDraw;

using TDXDrawNotifyEvent = std::function<void(TCustomDXDraw* sender, TDXDrawNotifyKind kind)>;

class TCustomDXDraw : public TWinControl, public TDXDrawDisplayOwner {
 public:
  LOUPIX_CLASS(TCustomDXDraw, TWinControl)
  explicit TCustomDXDraw(TComponent* owner);
  ~TCustomDXDraw() override;

  // Life cycle.
  void Initialize();
  void Finalize();
  void Flip();
  bool ReadyToDraw();
  void Restore();
  void SetSize(int32_t width, int32_t height);

  // Palette.
  void RefreshPalette();
  void SetColorTable(const TColorTable& table);
  TColorTable& ColorTable() { return FColorTable; }
  TColorTable& RestoreColorTable() { return FRestoreColorTable; }
  // Palette entries for a colour table: red and blue swapped, flags read-only;
  // without `allow256` the 20 static system colours replace entries 0-9 and 246-255.
  static void ColorTableToEntries(const TColorTable& table, bool allow256, PALETTEENTRY* entries);

  // Handlers are known by the object they belong to; one per object.
  void AddNotifyHandler(const void* object, const TDXDrawNotifyEvent& handler);
  void RemoveNotifyHandler(const void* object);

  // Properties.
  bool AutoInitialize() const { return FAutoInitialize; }
  void SetAutoInitialize(bool value) { FAutoInitialize = value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TDXDrawDisplay& Display() const { return *FDisplay; }
  void SetDisplay(TDXDrawDisplay& value) { FDisplay->Assign(&value); }
  TDXDrawOptions Options() const { return FOptions; }
  void SetOptions(TDXDrawOptions value);
  TDXDrawOptions EffectiveOptions() const { return FEffectiveOptions; }
  int32_t SurfaceWidth() const;
  void SetSurfaceWidth(int32_t value);
  int32_t SurfaceHeight() const;
  void SetSurfaceHeight(int32_t value);

  bool Initialized() const { return FInitialized; }
  TCustomForm* Form() const { return FForm; }
  TDirectDraw* Device() const override { return FDevice.get(); }
  const GUID* DriverGUID() const override { return FDriverGUID ? &*FDriverGUID : nullptr; }
  TDXDrawDriver* Driver() const { return FDriver.get(); }
  TDirectDrawSurface* Primary() const { return FPrimary.get(); }
  TDirectDrawSurface* Surface() const { return FSurface.get(); }
  TDirectDrawClipper* Clipper() const { return FClipper.get(); }
  TDirectDrawPalette* Palette() const { return FPalette.get(); }

  void SetParent(TWinControl* parent) override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void WndProc(TMessage& message) override;

  TNotifyEvent OnFinalize;
  TNotifyEvent OnFinalizeSurface;
  TNotifyEvent OnInitialize;
  TNotifyEvent OnInitializeSurface;
  TNotifyEvent OnInitializing;
  TNotifyEvent OnRestoreSurface;

 protected:
  void Loaded() override;
  void Paint() override;

  virtual void TriggerFinalize();
  virtual void TriggerFinalizeSurface();
  virtual void TriggerInitialize();
  virtual void TriggerInitializeSurface();
  virtual void TriggerInitializing();
  virtual void TriggerRestoreSurface();

 private:
  struct TNotifyRecord {
    const void* Object;
    TDXDrawNotifyEvent Handler;
  };
  // Raises RestoreNotifyHold for one scope, whatever happens in it.
  class THoldRestoreNotify {
   public:
    explicit THoldRestoreNotify(TCustomDXDraw& dxDraw) : FHold(dxDraw.FRestoreNotifyHold) {
      ++FHold;
    }
    ~THoldRestoreNotify() { --FHold; }
    THoldRestoreNotify(const THoldRestoreNotify&) = delete;
    THoldRestoreNotify& operator=(const THoldRestoreNotify&) = delete;

   private:
    int32_t& FHold;
  };
  friend class TDXDrawDriver;
  friend class TDXDrawDriverBlt;
  friend class TDXDrawDriverFlip;

  static void FormWindowProc(TObject* data, TMessage& message, const TWndMethod& previous);
  void SendNotify(TDXDrawNotifyKind kind);
  void Build();
  void NotifyInitialized();
  void ApplyCooperativeLevel();
  void ReturnToGDI();

  bool FAutoInitialize = true;
  bool FAutoSize = true;
  bool FInitializeFired = false;
  bool FInitializeSurfaceFired = false;
  TCustomForm* FForm = nullptr;
  std::vector<TNotifyRecord> FNotifyEventList;
  bool FInitialized = false;
  bool FInitializeRequested = false;
  bool FBuildStarted = false;
  bool FUpdating = false;
  std::unique_ptr<TControlSubClass> FFormHook;
  TDXDrawOptions FEffectiveOptions;
  TDXDrawOptions FOptions;
  int32_t FRestoreNotifyHold = 0;
  std::unique_ptr<TDXDrawDriver> FDriver;
  std::optional<GUID> FDriverGUID;
  std::unique_ptr<TDirectDraw> FDevice;
  std::unique_ptr<TDXDrawDisplay> FDisplay;
  std::unique_ptr<TDirectDrawClipper> FClipper;
  std::unique_ptr<TDirectDrawPalette> FPalette;
  std::unique_ptr<TDirectDrawSurface> FPrimary;
  std::unique_ptr<TDirectDrawSurface> FSurface;
  int32_t FSurfaceWidth = 0;
  int32_t FSurfaceHeight = 0;
  TColorTable FColorTable{};
  TColorTable FRestoreColorTable{};
};

// The published form of the control.
class TDXDraw : public TCustomDXDraw {
 public:
  LOUPIX_CLASS(TDXDraw, TCustomDXDraw)
  using TCustomDXDraw::TCustomDXDraw;
};
