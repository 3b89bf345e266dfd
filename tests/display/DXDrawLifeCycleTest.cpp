#include <functional>

#include "DXDrawFixture.h"
#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "device/DirectDrawPalette.h"
#include "display/DXDrawDriver.h"
#include "platform/gdi/Gdi.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/CaseName.h"

namespace {

int gHandler;  // address used as a handler's owner
int gOtherHandler;

using DXDrawState = DXDrawFixture;

TEST_F(DXDrawState, DefaultsAfterConstruction) {
  TDXDraw dxDraw(nullptr);
  EXPECT_TRUE(dxDraw.AutoInitialize());
  EXPECT_TRUE(dxDraw.AutoSize());
  EXPECT_EQ(dxDraw.Width(), 100);
  EXPECT_EQ(dxDraw.Height(), 100);
  EXPECT_EQ(dxDraw.SurfaceWidth(), 0);
  EXPECT_EQ(dxDraw.SurfaceHeight(), 0);
  EXPECT_FALSE(dxDraw.ParentColor());
  EXPECT_EQ(dxDraw.Color(), static_cast<TColor>(0x8000000F));
  EXPECT_EQ(dxDraw.Options().Bits(), kDefaultDXDrawOptions.Bits());
  EXPECT_EQ(dxDraw.EffectiveOptions().Bits(), (TDXDrawOptions{doWaitVBlank, doCenter}).Bits());
  EXPECT_EQ(dxDraw.Display().Width(), 640);
  EXPECT_EQ(dxDraw.Display().BitCount(), 8);
  EXPECT_FALSE(dxDraw.Initialized());
  EXPECT_EQ(dxDraw.Device(), nullptr);
  EXPECT_EQ(dxDraw.Surface(), nullptr);
  EXPECT_EQ(dxDraw.Form(), nullptr);
}

TEST_F(DXDrawState, ColourTablesComeFromTheSystemPalette) {
  PALETTEENTRY system[256];
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, system);
  ReleaseDC(nullptr, screen);
  for (int i : {0, 7, 9, 10, 128, 246, 255}) {
    const RGBQUAD expected{system[i].peBlue, system[i].peGreen, system[i].peRed, 0};
    EXPECT_EQ(FDXDraw->ColorTable()[i], expected) << i;
    EXPECT_EQ(FDXDraw->RestoreColorTable()[i], expected) << i;
  }
}

TEST_F(DXDrawState, ColorTableToEntriesKeepsStaticColoursUnlessAllowed) {
  PALETTEENTRY system[256];
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, system);
  ReleaseDC(nullptr, screen);
  TColorTable table;
  for (int i = 0; i < 256; ++i)
    table[i] =
        RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 9};
  PALETTEENTRY entries[256];
  for (bool allow256 : {true, false}) {
    TCustomDXDraw::ColorTableToEntries(table, allow256, entries);
    for (int i = 0; i < 256; ++i) {
      const bool fromSystem = !allow256 && (i < 10 || i >= 246);
      const PALETTEENTRY expected =
          fromSystem ? PALETTEENTRY{system[i].peRed, system[i].peGreen, system[i].peBlue, 0x40}
                     : PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0x40};
      ASSERT_EQ(entries[i], expected) << i << " allow256 " << allow256;
    }
  }
}

TEST_F(DXDrawState, ViewerOptionsSelectTheBlitDriverInFullScreen) {
  EXPECT_EQ(FDXDraw->EffectiveOptions().Bits(),
            (TDXDrawOptions{doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank,
                            doAllowPalette256})
                .Bits());
  FDXDraw->Initialize();
  ASSERT_TRUE(FDXDraw->Initialized());
  EXPECT_NE(dynamic_cast<TDXDrawDriverBlt*>(FDXDraw->Driver()), nullptr);
  EXPECT_EQ(FDXDraw->Display().Width(), 1024);
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 1024);
  EXPECT_EQ(FDXDraw->SurfaceHeight(), 768);
  EXPECT_EQ(FDXDraw->Surface()->BitCount(), 16);
  EXPECT_NE(FDXDraw->Primary()->NativeSurface(), nullptr);
  EXPECT_NE(FDXDraw->Clipper(), nullptr);
  EXPECT_NE(FDXDraw->Palette()->NativePalette(), nullptr);
  EXPECT_NE(FDXDraw->Device()->NativeDevice7(), nullptr);
}

TEST_F(DXDrawState, OptionsWhileInitialisedChangeOnlyRunTimeOnes) {
  FDXDraw->Initialize();
  TDXDrawOptions options = kViewerOptions;
  options.Exclude(doWaitVBlank);
  options.Include(doStretch);
  options.Exclude(doFullScreen);
  FDXDraw->SetOptions(options);
  EXPECT_FALSE(FDXDraw->EffectiveOptions().Contains(doWaitVBlank));
  EXPECT_TRUE(FDXDraw->EffectiveOptions().Contains(doStretch));
  EXPECT_TRUE(FDXDraw->EffectiveOptions().Contains(doFullScreen));
  FDXDraw->Finalize();
  EXPECT_FALSE(FDXDraw->EffectiveOptions().Contains(doFullScreen));
}

TEST_F(DXDrawState, FinalizeKeepsTheSurfaceSizeAndDropsEverything) {
  FDXDraw->Initialize();
  FDXDraw->SetSize(800, 600);
  FDXDraw->Finalize();
  EXPECT_FALSE(FDXDraw->Initialized());
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 800);
  EXPECT_EQ(FDXDraw->SurfaceHeight(), 600);
  EXPECT_EQ(FDXDraw->Driver(), nullptr);
  EXPECT_EQ(FDXDraw->Device(), nullptr);
  EXPECT_EQ(FDXDraw->Surface(), nullptr);
  EXPECT_EQ(FDXDraw->Primary(), nullptr);
  EXPECT_EQ(FDXDraw->Palette(), nullptr);
  EXPECT_EQ(FDXDraw->Clipper(), nullptr);
}

TEST_F(DXDrawState, BackSurfaceFallsBackToSystemMemory) {
  DDrawHooks().SetVideoMemoryBudget(0);
  FDXDraw->Initialize();
  EXPECT_TRUE(FDXDraw->EffectiveOptions().Contains(doSystemMemory));
  EXPECT_TRUE(FDXDraw->Surface()->Description().ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY);
  DDrawHooks().ResetVideoMemoryBudget();
  FDXDraw->Initialize();
  EXPECT_FALSE(FDXDraw->EffectiveOptions().Contains(doSystemMemory));
}

TEST_F(DXDrawState, PaletteFollowsTheColourTable) {
  FDXDraw->SetColorTable(FDXDraw->ColorTable());  // not initialised: nothing happens
  FDXDraw->RefreshPalette();
  FDXDraw->Initialize();
  FDXDraw->ColorTable()[3] = RGBQUAD{10, 20, 30, 0};
  FDXDraw->RefreshPalette();
  PALETTEENTRY entries[256];
  ASSERT_EQ(FDXDraw->Palette()->NativePalette()->GetEntries(0, 0, 256, entries), DD_OK);
  EXPECT_EQ(entries[3], (PALETTEENTRY{30, 20, 10, 0x40}));
}

// --- Notifications ------------------------------------------------------------

using DXDrawNotifications = DXDrawFixture;

TEST_F(DXDrawNotifications, InitialiseAndFinaliseInOrder) {
  Listen(&gHandler, "");
  EXPECT_EQ(TakeLog(), Log{"nkSurfaceSize"});
  FDXDraw->Initialize();
  EXPECT_EQ(TakeLog(), (Log{"OnInitializing", "nkInitializing", "nkSurfaceSize", "nkInitialize",
                            "OnInitialize", "nkInitializeSurface", "OnInitializeSurface",
                            "nkRestore", "OnRestoreSurface"}));
  FDXDraw->Finalize();
  EXPECT_EQ(TakeLog(), (Log{"OnFinalizeSurface", "nkFinalizeSurface", "OnFinalize", "nkFinalize"}));
  FDXDraw->Finalize();
  EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(DXDrawNotifications, HandlersAreToldLastRegisteredFirst) {
  Listen(&gHandler, "a");
  Listen(&gOtherHandler, "b");
  TakeLog();
  FDXDraw->Finalize();  // never built: nothing
  EXPECT_EQ(TakeLog(), Log{});
  FDXDraw->Initialize();
  const Log log = TakeLog();
  EXPECT_EQ(Log(log.begin() + 1, log.begin() + 3), (Log{"b:nkInitializing", "a:nkInitializing"}));
}

TEST_F(DXDrawNotifications, LateHandlerIsBroughtUpToDateAndToldWhatGoes) {
  FDXDraw->Initialize();
  TakeLog();
  Listen(&gHandler, "");
  EXPECT_EQ(TakeLog(), (Log{"nkSurfaceSize", "nkInitialize", "nkInitializeSurface", "nkRestore"}));
  FDXDraw->RemoveNotifyHandler(&gHandler);
  EXPECT_EQ(TakeLog(), (Log{"nkFinalizeSurface", "nkFinalize"}));
  FDXDraw->RemoveNotifyHandler(&gHandler);
  EXPECT_EQ(TakeLog(), Log{});
}

TEST_F(DXDrawNotifications, HandlerRegisteredWhileInitialisingGetsNoRestoreAtOnce) {
  FDXDraw->OnInitialize = [this](TObject*) { Listen(&gOtherHandler, "late"); };
  FDXDraw->Initialize();
  const Log got = TakeLog();
  const Log late = {"late:nkSurfaceSize", "late:nkInitialize"};
  ASSERT_GE(got.size(), 2u);
  auto at = std::search(got.begin(), got.end(), late.begin(), late.end());
  ASSERT_NE(at, got.end());
  // Its first restore is the control's own, after it was registered.
  EXPECT_EQ(std::count(got.begin(), got.end(), "late:nkRestore"), 1);
  EXPECT_EQ(std::count(got.begin(), got.end(), "late:nkInitializeSurface"), 1);
}

TEST_F(DXDrawNotifications, ReRegisteringReplacesTheHandler) {
  FDXDraw->Initialize();
  Listen(&gHandler, "first");
  TakeLog();
  Listen(&gHandler, "second");
  EXPECT_EQ(TakeLog(),
            (Log{"first:nkFinalizeSurface", "first:nkFinalize", "second:nkSurfaceSize",
                 "second:nkInitialize", "second:nkInitializeSurface", "second:nkRestore"}));
}

TEST_F(DXDrawNotifications, HandlersMayLeaveWhileBeingTold) {
  static int first, second, third;
  Listen(&first, "a");
  auto log = FLog;
  FDXDraw->AddNotifyHandler(&second, [this, log](TCustomDXDraw*, TDXDrawNotifyKind kind) {
    log->push_back(std::string("b:") + NotifyName(kind));
    if (kind == nkFinalize) {
      FDXDraw->RemoveNotifyHandler(&first);
      FDXDraw->RemoveNotifyHandler(&second);
    }
  });
  Listen(&third, "c");
  FDXDraw->Initialize();
  TakeLog();
  FDXDraw->Finalize();
  // Removal itself tells a handler what goes; "a" is not told a second time.
  EXPECT_EQ(TakeLog(), (Log{"OnFinalizeSurface", "c:nkFinalizeSurface", "b:nkFinalizeSurface",
                            "a:nkFinalizeSurface", "OnFinalize", "c:nkFinalize", "b:nkFinalize",
                            "a:nkFinalize", "b:nkFinalize"}));
}

TEST_F(DXDrawNotifications, DestructionFinalisesThenSaysDestroying) {
  FDXDraw->Initialize();
  Listen(&gHandler, "");
  TakeLog();
  FForm.reset();
  EXPECT_EQ(TakeLog(), (Log{"OnFinalizeSurface", "nkFinalizeSurface", "OnFinalize", "nkFinalize",
                            "nkDestroying"}));
}

// --- Initialisation failures ----------------------------------------------------

struct FailureCase {
  const char* name;
  std::function<void(TTestDXDraw&)> Arrange;
  const char* ClassName;
  const char* Message;
  Log Told;
};

class DXDrawInitFailure : public DXDrawFixture, public testing::WithParamInterface<FailureCase> {};

TEST_P(DXDrawInitFailure, FinalisesAndReRaises) {
  const FailureCase& c = GetParam();
  Listen(&gHandler, "");
  c.Arrange(*FDXDraw);
  TakeLog();
  try {
    FDXDraw->Initialize();
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), c.ClassName);
    EXPECT_EQ(error.Message(), c.Message);
  }
  EXPECT_EQ(TakeLog(), c.Told);
  EXPECT_FALSE(FDXDraw->Initialized());
  EXPECT_EQ(FDXDraw->Device(), nullptr);
  EXPECT_EQ(FDXDraw->Driver(), nullptr);
  EXPECT_EQ(FDXDraw->Surface(), nullptr);
  EXPECT_EQ(FDXDraw->EffectiveOptions().Bits(), DeriveEffectiveOptions(FDXDraw->Options()).Bits());
}

const Log kBuiltAndTornDown = {"OnInitializing", "nkInitializing", "nkFinalizeSurface",
                               "nkFinalize"};

INSTANTIATE_TEST_SUITE_P(
    Cases, DXDrawInitFailure,
    testing::Values(FailureCase{"NoForm",
                                [](TTestDXDraw& d) { d.SetParent(nullptr); },
                                "EDXDrawError",
                                "Form not found",
                                {}},
                    FailureCase{"NoDisplayMode",
                                [](TTestDXDraw&) {
                                  const DDDisplayMode modes[] = {{640, 480, 16}, {800, 600, 32}};
                                  DDrawHooks().SetDisplayModes(modes, 2);
                                },
                                "EDXDrawError", "Display mode cannot be changed (1024x768 16bit)",
                                kBuiltAndTornDown},
                    FailureCase{"ThreeD",
                                [](TTestDXDraw& d) {
                                  TDXDrawOptions options = d.Options();
                                  options.Include(do3D);
                                  d.SetOptions(options);
                                },
                                "EDXDrawError", "3D device not found", kBuiltAndTornDown},
                    FailureCase{"ThreeDFlip",
                                [](TTestDXDraw& d) {
                                  d.SetOptions({doFullScreen, doFlip, do3D});
                                },
                                "EDXDrawError", "3D device not found", kBuiltAndTornDown},
                    FailureCase{"HandlerRaises",
                                [](TTestDXDraw& d) {
                                  d.OnInitializing = [](TObject*) { throw EAbort("stop"); };
                                },
                                "EAbort",
                                "stop",
                                {}}),
    CaseName());

// --- Sizes ----------------------------------------------------------------------

using DXDrawSize = DXDrawFixture;

TEST_F(DXDrawSize, SameSizeSendsNothing) {
  FDXDraw->SetSize(640, 480);
  Listen(&gHandler, "");
  TakeLog();
  FDXDraw->SetSize(640, 480);
  EXPECT_EQ(TakeLog(), Log{});
  FDXDraw->SetSize(320, 200);
  EXPECT_EQ(TakeLog(), Log{"nkSurfaceSize"});
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 320);
}

TEST_F(DXDrawSize, BlitDriverRebuildsTheBackSurface) {
  FDXDraw->Initialize();
  Listen(&gHandler, "");
  TakeLog();
  FDXDraw->SetSize(800, 600);
  EXPECT_EQ(TakeLog(), (Log{"nkFinalizeSurface", "OnFinalizeSurface", "nkInitializeSurface",
                            "OnInitializeSurface", "nkSurfaceSize"}));
  EXPECT_EQ(FDXDraw->Surface()->Width(), 800);
  EXPECT_EQ(FDXDraw->Surface()->Height(), 600);
  FDXDraw->SetSize(0, 0);
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 1);
  EXPECT_EQ(FDXDraw->SurfaceHeight(), 1);
}

TEST_F(DXDrawSize, FlipDriverKeepsItsSize) {
  FDXDraw->SetOptions({doFullScreen, doFlip});
  FDXDraw->Initialize();
  ASSERT_NE(dynamic_cast<TDXDrawDriverFlip*>(FDXDraw->Driver()), nullptr);
  Listen(&gHandler, "");
  TakeLog();
  const int32_t width = FDXDraw->SurfaceWidth();
  FDXDraw->SetSize(width / 2, 100);
  EXPECT_EQ(TakeLog(), (Log{}));
  EXPECT_EQ(FDXDraw->SurfaceWidth(), width);
}

TEST_F(DXDrawSize, BoundsFollowWithAutoSize) {
  FDXDraw->Initialize();
  FDXDraw->SetBounds(0, 0, 512, 384);
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 512);
  FDXDraw->SetAutoSize(false);
  FDXDraw->SetBounds(0, 0, 1024, 768);
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 512);
  FDXDraw->SetAutoSize(true);
  EXPECT_EQ(FDXDraw->SurfaceWidth(), 1024);
}

TEST_F(DXDrawSize, ErrorWhileResizingFinalises) {
  FDXDraw->Initialize();
  FDXDraw->OnFinalizeSurface = [](TObject*) { throw EAbort("resize refused"); };
  EXPECT_THROW(FDXDraw->SetSize(800, 600), EAbort);
  EXPECT_FALSE(FDXDraw->Initialized());
  EXPECT_EQ(FDXDraw->Device(), nullptr);
}

// --- Presenting -----------------------------------------------------------------

using DXDrawPresent = DXDrawFixture;

TEST_F(DXDrawPresent, FlipRestoresLostSurfacesFirst) {
  FDXDraw->Initialize();
  Listen(&gHandler, "");
  TakeLog();
  FDXDraw->Flip();
  EXPECT_EQ(TakeLog(), Log{});
  DDrawHooks().LoseAllSurfaces();
  FDXDraw->Surface()->Fill(0x1234);  // lost memory takes nothing
  FDXDraw->Flip();
  EXPECT_EQ(TakeLog(), (Log{"nkRestore", "OnRestoreSurface"}));
  EXPECT_EQ(FDXDraw->Primary()->RequiredSurface()->IsLost(), DD_OK);
  EXPECT_EQ(FDXDraw->Surface()->RequiredSurface()->IsLost(), DD_OK);
  EXPECT_TRUE(FDXDraw->ReadyToDraw());
}

TEST_F(DXDrawPresent, NothingHappensBeforeInitialisation) {
  EXPECT_FALSE(FDXDraw->ReadyToDraw());
  FDXDraw->Flip();
  FDXDraw->Restore();
  EXPECT_FALSE(FDXDraw->Initialized());
}

TEST_F(DXDrawPresent, FlipCopiesTheBackSurfaceOntoTheScreen) {
  FForm->Show();
  FDXDraw->Initialize();
  FDXDraw->Surface()->Fill(0xF800);
  FDXDraw->Flip();
  gdi::TPixelView screen;
  ASSERT_TRUE(DDrawHooks().ReadFramebuffer(&screen));
  ASSERT_EQ(screen.Format.BitCount, 16u);
  const TPoint origin = FDXDraw->ClientToScreen({0, 0});
  const auto* row = static_cast<const uint8_t*>(screen.Top) + (origin.Y + 10) * screen.Pitch;
  EXPECT_EQ(reinterpret_cast<const uint16_t*>(row)[origin.X + 10], 0xF800);
}

TEST_F(DXDrawPresent, FlipDriverPresentsOnlyForTheActiveForm) {
  FDXDraw->SetOptions({doFullScreen, doFlip});
  FDXDraw->Initialize();
  ASSERT_NE(FDXDraw->Surface()->NativeSurface(), nullptr);
  const auto frontPixel = [] {
    gdi::TPixelView screen;
    EXPECT_TRUE(DDrawHooks().ReadFramebuffer(&screen));
    return reinterpret_cast<const uint16_t*>(screen.Top)[0];
  };
  FDXDraw->Surface()->Fill(0x07E0);
  FDXDraw->Flip();  // the form is not active
  EXPECT_EQ(frontPixel(), 0);
  EXPECT_EQ(FDXDraw->Primary()->LastResult(), DD_OK);
  FForm->Show();
  FForm->SetFocus();
  Application().ProcessMessages();
  if (Screen().ActiveForm() != FForm.get()) GTEST_SKIP() << "no active window on this platform";
  FDXDraw->Surface()->Fill(0x07E0);
  FDXDraw->Flip();
  EXPECT_EQ(frontPixel(), 0x07E0);
}

TEST_F(DXDrawPresent, PaintFlipsWithoutWaitingAndKeepsTheOptions) {
  FDXDraw->Initialize();
  auto seen = std::make_shared<TDXDrawOptions>();
  FDXDraw->OnRestoreSurface = [this, seen](TObject*) { *seen = FDXDraw->EffectiveOptions(); };
  const TDXDrawOptions before = FDXDraw->EffectiveOptions();
  ASSERT_TRUE(before.Contains(doWaitVBlank));
  DDrawHooks().LoseAllSurfaces();  // so the flip inside Paint shows its options
  FDXDraw->Paint();
  EXPECT_FALSE(seen->Contains(doWaitVBlank));
  EXPECT_TRUE(seen->Contains(doFullScreen));
  EXPECT_EQ(FDXDraw->EffectiveOptions().Bits(), before.Bits());
}

struct PlacementCase {
  const char* name;
  TDXDrawOptions Extra;
  int32_t SurfaceWidth, SurfaceHeight;
  TPoint Source, OnScreen;
};

class DXDrawPlacement : public DXDrawFixture, public testing::WithParamInterface<PlacementCase> {};

TEST_P(DXDrawPlacement, BackSurfaceLandsWhereTheOptionsSay) {
  const PlacementCase& c = GetParam();
  FForm->Show();
  FDXDraw->SetAutoSize(false);
  FDXDraw->Initialize();
  TDXDrawOptions options = FDXDraw->Options();
  for (int i = doFullScreen; i <= doZBuffer; ++i)
    if (c.Extra.Contains(static_cast<TDXDrawOption>(i)))
      options.Include(static_cast<TDXDrawOption>(i));
  FDXDraw->SetOptions(options);
  FDXDraw->SetSize(c.SurfaceWidth, c.SurfaceHeight);
  TDirectDrawSurface& back = *FDXDraw->Surface();
  back.Fill(0);
  back.SetPixel(c.Source.X, c.Source.Y, 0xABCD);
  FDXDraw->Flip();
  gdi::TPixelView screen;
  ASSERT_TRUE(DDrawHooks().ReadFramebuffer(&screen));
  const TPoint at = FDXDraw->ClientToScreen(c.OnScreen);
  const auto pixel = [&](int32_t x, int32_t y) {
    const auto* row =
        static_cast<const uint8_t*>(screen.Top) + static_cast<ptrdiff_t>(y) * screen.Pitch;
    return reinterpret_cast<const uint16_t*>(row)[x];
  };
  EXPECT_EQ(pixel(at.X, at.Y), 0xABCD);
  EXPECT_EQ(pixel(at.X - 1, at.Y - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DXDrawPlacement,
    testing::Values(PlacementCase{"Plain", {}, 1024, 768, {20, 30}, {20, 30}},
                    PlacementCase{"CentredSmaller", {doCenter}, 1020, 760, {20, 30}, {22, 34}},
                    // (1024 - 1027) / 2 truncates to -1, not -2.
                    PlacementCase{"CentredLarger", {doCenter}, 1027, 771, {20, 30}, {19, 29}},
                    PlacementCase{"Stretched", {doStretch}, 512, 384, {20, 30}, {40, 60}}),
    CaseName());

// --- Form hook ------------------------------------------------------------------

using DXDrawForm = DXDrawFixture;

TEST_F(DXDrawForm, InitialisesOnceWhenTheFormIsFirstShown) {
  FDXDraw->SetAutoInitialize(true);
  FForm->Show();
  EXPECT_TRUE(FDXDraw->Initialized());
  FForm->Hide();
  FForm->Show();
  FForm->Hide();
  FForm->Show();
  const Log log = TakeLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "OnInitialize"), 1);
}

TEST_F(DXDrawForm, FormWindowDestroyedFinalises) {
  FDXDraw->Initialize();
  Listen(&gHandler, "");
  TakeLog();
  FForm->Perform(WM_DESTROY);
  EXPECT_FALSE(FDXDraw->Initialized());
  EXPECT_EQ(TakeLog(), (Log{"OnFinalizeSurface", "nkFinalizeSurface", "OnFinalize", "nkFinalize"}));
}

TEST_F(DXDrawForm, NoAutomaticInitialisationWhenSwitchedOff) {
  FForm->Show();
  EXPECT_FALSE(FDXDraw->Initialized());
}

TEST_F(DXDrawForm, FormHookIsRemovedWithTheControl) {
  EXPECT_EQ(FDXDraw->Form(), FForm.get());
  FDXDraw->SetParent(nullptr);
  EXPECT_EQ(FDXDraw->Form(), nullptr);
  FDXDraw->SetAutoInitialize(true);
  FForm->Show();
  EXPECT_FALSE(FDXDraw->Initialized());
}

TEST_F(DXDrawForm, LoadedWithoutFormInitialisesAtOnce) {
  TTestDXDraw dxDraw(nullptr);
  dxDraw.BeginLoading();
  dxDraw.SetSurfaceWidth(300);
  EXPECT_EQ(dxDraw.SurfaceWidth(), 300);
  try {
    dxDraw.EndLoading();
    FAIL() << "no error";
  } catch (const EDXDrawError& error) {
    EXPECT_EQ(error.Message(), "Form not found");
  }
  EXPECT_EQ(dxDraw.SurfaceWidth(), 100);  // AutoSize takes the control's size
}

TEST_F(DXDrawForm, LoadedOnAFormWaitsForTheShow) {
  FDXDraw->SetAutoInitialize(true);
  Listen(&gHandler, "");
  TakeLog();
  FDXDraw->BeginLoading();
  FDXDraw->EndLoading();
  EXPECT_EQ(TakeLog(), Log{"nkSurfaceSize"});
  EXPECT_FALSE(FDXDraw->Initialized());
}

}  // namespace
