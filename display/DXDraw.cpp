#include "display/DXDraw.h"

#include <exception>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "device/DirectDrawClipper.h"
#include "device/DirectDrawPalette.h"
#include "display/ControlSubClass.h"
#include "display/DXDrawDriver.h"
#include "display/FlagScope.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/Forms.h"
#include "surface/DirectDrawSurface.h"

namespace {

constexpr BYTE kReadOnlyEntry = 0x40;
constexpr TColor kButtonFace = 0x8000000F;

void SystemPaletteEntries(PALETTEENTRY* entries) {
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, entries);
  ReleaseDC(nullptr, screen);
}

// Runs one stage of tearing down; the first error is kept for later.
template <typename Stage>
void RunStage(std::exception_ptr& firstError, Stage stage) {
  try {
    stage();
  } catch (...) {
    if (!firstError) firstError = std::current_exception();
  }
}

}  // namespace

TCustomDXDraw::TCustomDXDraw(TComponent* owner) : TWinControl(owner) {
  FAutoInitialize = true;
  FDisplay = std::make_unique<TDXDrawDisplay>(*this);
  SetOptions(kDefaultDXDrawOptions);
  FAutoSize = true;
  PALETTEENTRY entries[256];
  SystemPaletteEntries(entries);
  for (int i = 0; i < 256; ++i)
    FColorTable[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  std::copy(std::begin(FColorTable), std::end(FColorTable), std::begin(FRestoreColorTable));
  // The surface size stays 0 until Loaded takes the control's size.
  TWinControl::SetBounds(Left(), Top(), 100, 100);
  SetParentColor(false);
  SetColor(kButtonFace);
}

TCustomDXDraw::~TCustomDXDraw() {
  // Errors of handlers cannot leave a destructor; the teardown itself goes on.
  try {
    Finalize();
  } catch (...) {
  }
  try {
    SendNotify(nkDestroying);
  } catch (...) {
  }
  FDisplay.reset();
  FFormHook.reset();
  FNotifyEventList.clear();
}

// --- Options and sizes --------------------------------------------------------

void TCustomDXDraw::SetOptions(TDXDrawOptions value) {
  FEffectiveOptions =
      FInitialized ? DeriveRunningOptions(FEffectiveOptions, value) : DeriveEffectiveOptions(value);
  FOptions = value;
}

void TCustomDXDraw::SetAutoSize(bool value) {
  FAutoSize = value;
  if (value) SetSize(Width(), Height());
}

int32_t TCustomDXDraw::SurfaceWidth() const {
  return FSurface && FSurface->NativeSurface() ? FSurface->Width() : FSurfaceWidth;
}

int32_t TCustomDXDraw::SurfaceHeight() const {
  return FSurface && FSurface->NativeSurface() ? FSurface->Height() : FSurfaceHeight;
}

void TCustomDXDraw::SetSurfaceWidth(int32_t value) {
  if (ComponentState().Contains(csLoading))
    FSurfaceWidth = value;
  else
    SetSize(value, SurfaceHeight());
}

void TCustomDXDraw::SetSurfaceHeight(int32_t value) {
  if (ComponentState().Contains(csLoading))
    FSurfaceHeight = value;
  else
    SetSize(SurfaceWidth(), value);
}

void TCustomDXDraw::SetSize(int32_t width, int32_t height) {
  if ((width == SurfaceWidth() && height == SurfaceHeight()) || FUpdating) return;
  if (FInitialized) {
    bool resized = false;
    try {
      resized = FDriver->SetSize(width, height);
    } catch (...) {
      Finalize();
      throw;
    }
    if (!resized) return;
  } else {
    FSurfaceWidth = width;
    FSurfaceHeight = height;
  }
  SendNotify(nkSurfaceSize);
}

void TCustomDXDraw::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  TWinControl::SetBounds(left, top, width, height);
  if (FAutoSize && !FUpdating) SetSize(width, height);
}

// --- Palette ------------------------------------------------------------------

void TCustomDXDraw::ColorTableToEntries(const TColorTable& table, bool allow256,
                                        PALETTEENTRY* entries) {
  for (int i = 0; i < 256; ++i)
    entries[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  if (!allow256) {
    PALETTEENTRY system[256];
    SystemPaletteEntries(system);
    for (int i = 0; i < 10; ++i) {
      entries[i] = system[i];
      entries[255 - i] = system[255 - i];
    }
  }
  for (int i = 0; i < 256; ++i) entries[i].peFlags = kReadOnlyEntry;
}

void TCustomDXDraw::SetColorTable(const TColorTable& table) {
  if (!FInitialized || !FPalette) return;
  PALETTEENTRY entries[256];
  ColorTableToEntries(table, FEffectiveOptions.Contains(doAllowPalette256), entries);
  FPalette->SetEntries(0, 256, entries);
}

void TCustomDXDraw::RefreshPalette() {
  if (FInitialized && FEffectiveOptions.Contains(doWaitVBlank) &&
      !(FDevice->HardwareCaps().dwPalCaps & DDPCAPS_VSYNC))
    FDevice->RequiredDevice()->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  SetColorTable(FColorTable);
}

// --- Notifications ------------------------------------------------------------

void TCustomDXDraw::AddNotifyHandler(const void* object, const TDXDrawNotifyEvent& handler) {
  RemoveNotifyHandler(object);
  FNotifyEventList.push_back({object, handler});
  handler(this, nkSurfaceSize);
  if (FInitialized) {
    handler(this, nkInitialize);
    if (FInitializeSurfaceFired) handler(this, nkInitializeSurface);
    if (FRestoreNotifyHold == 0) handler(this, nkRestore);
  }
}

void TCustomDXDraw::RemoveNotifyHandler(const void* object) {
  auto found = std::find_if(FNotifyEventList.begin(), FNotifyEventList.end(),
                            [&](const TNotifyRecord& record) { return record.Object == object; });
  if (found == FNotifyEventList.end()) return;
  const TDXDrawNotifyEvent handler = std::move(found->Handler);
  FNotifyEventList.erase(found);
  if (FInitializeSurfaceFired) handler(this, nkFinalizeSurface);
  if (FInitialized) handler(this, nkFinalize);
}

void TCustomDXDraw::SendNotify(TDXDrawNotifyKind kind) {
  // Last registered first. Handlers may remove themselves or others while they are
  // told, so each is looked up again; one removed before its turn is not told.
  std::vector<const void*> objects;
  for (const TNotifyRecord& record : FNotifyEventList) objects.push_back(record.Object);
  for (auto object = objects.rbegin(); object != objects.rend(); ++object) {
    auto found =
        std::find_if(FNotifyEventList.begin(), FNotifyEventList.end(),
                     [&](const TNotifyRecord& record) { return record.Object == *object; });
    if (found == FNotifyEventList.end()) continue;
    const TDXDrawNotifyEvent handler = found->Handler;
    handler(this, kind);
  }
}

// --- Event hooks --------------------------------------------------------------

void TCustomDXDraw::TriggerFinalize() {
  if (OnFinalize) OnFinalize(this);
}
void TCustomDXDraw::TriggerFinalizeSurface() {
  if (OnFinalizeSurface) OnFinalizeSurface(this);
}
void TCustomDXDraw::TriggerInitialize() {
  if (OnInitialize) OnInitialize(this);
}
void TCustomDXDraw::TriggerInitializeSurface() {
  if (OnInitializeSurface) OnInitializeSurface(this);
}
void TCustomDXDraw::TriggerInitializing() {
  if (OnInitializing) OnInitializing(this);
}
void TCustomDXDraw::TriggerRestoreSurface() {
  if (OnRestoreSurface) OnRestoreSurface(this);
}

// --- Form and window ----------------------------------------------------------

void TCustomDXDraw::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  FForm = nullptr;
  FFormHook.reset();
  if (ComponentState().Contains(csDesigning)) return;
  FForm = parent ? GetParentForm(parent) : nullptr;
  if (FForm) FFormHook = std::make_unique<TControlSubClass>(*FForm, FormWindowProc, this);
}

void TCustomDXDraw::FormWindowProc(TObject* data, TMessage& message, const TWndMethod& previous) {
  auto* self = static_cast<TCustomDXDraw*>(data);
  switch (message.Msg) {
    case WM_DESTROY:
      self->Finalize();
      break;
    case WM_ACTIVATE:
      if (LoWord(message.WParam) == WA_INACTIVE) self->ReturnToGDI();
      break;
    case WM_INITMENU:
      self->ReturnToGDI();
      break;
    case WM_WINDOWPOSCHANGED: {
      if (previous) previous(message);
      const auto* position = reinterpret_cast<const WINDOWPOS*>(message.LParam);
      if (position && (position->flags & SWP_SHOWWINDOW) && self->FAutoInitialize &&
          !self->FInitializeRequested)
        self->Initialize();
      return;
    }
    default:
      break;
  }
  if (previous) previous(message);
}

void TCustomDXDraw::ReturnToGDI() {
  if (FInitialized && FEffectiveOptions.Contains(doFullScreen) &&
      FEffectiveOptions.Contains(doFlip))
    FDevice->RequiredDevice()->FlipToGDISurface();
}

void TCustomDXDraw::WndProc(TMessage& message) {
  if (message.Msg == WM_QUERYNEWPALETTE) {
    Restore();
    message.Result = 1;
    return;
  }
  TWinControl::WndProc(message);
  if (message.Msg == WM_CREATE && FInitialized && !FUpdating) {
    if (FClipper) FClipper->SetHandle(Handle());
    ApplyCooperativeLevel();
  }
}

void TCustomDXDraw::Loaded() {
  TWinControl::Loaded();
  if (FAutoSize) {
    FSurfaceWidth = Width();
    FSurfaceHeight = Height();
  }
  SendNotify(nkSurfaceSize);
  if (FAutoInitialize && !ComponentState().Contains(csDesigning) && !FFormHook) Initialize();
}

void TCustomDXDraw::Paint() {
  const TDXDrawOptions saved = FEffectiveOptions;
  FEffectiveOptions.Exclude(doWaitVBlank);
  try {
    Flip();
  } catch (...) {
    FEffectiveOptions = saved;
    throw;
  }
  FEffectiveOptions = saved;
  if (Parent() && FInitialized && FSurface &&
      (FSurface->Description().ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY))
    Parent()->Invalidate();
}

// --- Life cycle ---------------------------------------------------------------

void TCustomDXDraw::Initialize() {
  FInitializeRequested = true;
  Finalize();
  if (!FForm) throw EDXDrawError(DXText::kFormNotFound);
  try {
    TriggerInitializing();
    Build();
  } catch (...) {
    Finalize();
    throw;
  }
  FInitialized = true;
  NotifyInitialized();
  Restore();
}

void TCustomDXDraw::Build() {
  FBuildStarted = true;
  TFlagScope updating(FUpdating);
  SendNotify(nkInitializing);
  if (FEffectiveOptions.Contains(doFlip))
    FDriver = std::make_unique<TDXDrawDriverFlip>(*this);
  else
    FDriver = std::make_unique<TDXDrawDriverBlt>(*this);
  ApplyCooperativeLevel();
  if (FEffectiveOptions.Contains(doFullScreen) &&
      !FDisplay->SelectMode(FDisplay->Width(), FDisplay->Height(), FDisplay->BitCount()))
    throw EDXDrawError(DXText::kModeNotChanged, FDisplay->Width(), FDisplay->Height(),
                       FDisplay->BitCount());
  if (FAutoSize) {
    FSurfaceWidth = Width();
    FSurfaceHeight = Height();
  }
  FDriver->Initialize();
}

void TCustomDXDraw::NotifyInitialized() {
  THoldRestoreNotify hold(*this);
  SendNotify(nkSurfaceSize);
  SendNotify(nkInitialize);
  FInitializeFired = true;
  TriggerInitialize();
  SendNotify(nkInitializeSurface);
  FInitializeSurfaceFired = true;
  TriggerInitializeSurface();
}

void TCustomDXDraw::ApplyCooperativeLevel() {
  HWND window = FForm ? FForm->Handle() : Handle();
  DWORD flags = DDSCL_NORMAL;
  if (FEffectiveOptions.Contains(doFullScreen)) {
    flags = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
    if (FEffectiveOptions.Contains(doNoWindowChange)) flags |= DDSCL_NOWINDOWCHANGES;
    if (FEffectiveOptions.Contains(doAllowReboot)) flags |= DDSCL_ALLOWREBOOT;
  }
  FDevice->SetLastResult(FDevice->RequiredDevice()->SetCooperativeLevel(window, flags));
}

void TCustomDXDraw::Finalize() {
  if (!FBuildStarted) return;
  FSurfaceWidth = SurfaceWidth();
  FSurfaceHeight = SurfaceHeight();
  FDisplay->ClearModes();
  FUpdating = true;
  std::exception_ptr error;
  RunStage(error, [&] {
    if (FInitializeSurfaceFired) {
      FInitializeSurfaceFired = false;
      TriggerFinalizeSurface();
    }
  });
  RunStage(error, [&] { SendNotify(nkFinalizeSurface); });
  RunStage(error, [&] {
    if (FInitializeFired) {
      FInitializeFired = false;
      TriggerFinalize();
    }
  });
  RunStage(error, [&] { SendNotify(nkFinalize); });
  FBuildStarted = false;
  FInitialized = false;
  FEffectiveOptions = DeriveEffectiveOptions(FOptions);
  FDriver.reset();
  FDevice.reset();
  FUpdating = false;
  if (error) std::rethrow_exception(error);
}

void TCustomDXDraw::Flip() {
  if (FInitialized && !FUpdating && ReadyToDraw()) FDriver->Flip();
}

bool TCustomDXDraw::ReadyToDraw() {
  if (!FInitialized || FUpdating || !FPrimary || !FPrimary->NativeSurface()) return false;
  auto lost = [](const TDirectDrawSurface& surface) {
    return surface.RequiredSurface()->IsLost() == DDERR_SURFACELOST;
  };
  if (!lost(*FPrimary) && !lost(*FSurface)) return true;
  Restore();
  return FPrimary->RequiredSurface()->IsLost() == DD_OK &&
         FSurface->RequiredSurface()->IsLost() == DD_OK;
}

void TCustomDXDraw::Restore() {
  if (!FInitialized || FUpdating) return;
  TFlagScope updating(FUpdating);
  if (!FDriver->Restore()) return;
  FPrimary->SetPalette(FPalette.get());
  FSurface->SetPalette(FPalette.get());
  SetColorTable(FRestoreColorTable);
  SendNotify(nkRestore);
  TriggerRestoreSurface();
  SetColorTable(FColorTable);
}
