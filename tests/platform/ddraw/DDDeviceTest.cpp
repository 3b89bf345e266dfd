// Entry points, capabilities, cooperative level, display modes and the
// vertical blank.
#include <algorithm>
#include <chrono>
#include <string>
#include <tuple>

#include "tests/platform/ddraw/DDrawFixture.h"

namespace {

class DeviceTest : public DDrawTest {
 protected:
  std::vector<DDDisplayMode> EnumeratedModes(DDSURFACEDESC* filter = nullptr) {
    std::vector<DDDisplayMode> modes;
    const auto collect = [](DDSURFACEDESC* mode, void* context) -> HRESULT {
      static_cast<std::vector<DDDisplayMode>*>(context)->push_back(
          {mode->dwWidth, mode->dwHeight, mode->ddpfPixelFormat.dwRGBBitCount});
      return DDENUMRET_OK;
    };
    EXPECT_EQ(FDevice->EnumDisplayModes(0, filter, &modes, collect), DD_OK);
    return modes;
  }
};

bool Has(const std::vector<DDDisplayMode>& modes, DWORD width, DWORD height, DWORD bits) {
  return std::any_of(modes.begin(), modes.end(), [&](const DDDisplayMode& mode) {
    return mode.width == width && mode.height == height && mode.bitCount == bits;
  });
}

TEST_F(DeviceTest, CreateExAnswersOnlyTheSeventhInterface) {
  void* object = &object;
  EXPECT_EQ(Module().createEx(nullptr, &object, IID_IDirectDraw4, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Module().createEx(nullptr, nullptr, IID_IDirectDraw7, nullptr), DDERR_INVALIDPARAMS);
  GUID driver{1, 2, 3, {}};
  EXPECT_EQ(Module().createEx(&driver, &object, IID_IDirectDraw7, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DeviceTest, DeviceAnswersEveryVersionAsTheSameObject) {
  IDirectDraw* plain = nullptr;
  ASSERT_EQ(Module().create(nullptr, &plain, nullptr), DD_OK);
  TRef<IDirectDraw> owned(plain);
  for (const IID& iid : {IID_IDirectDraw, IID_IDirectDraw4, IID_IDirectDraw7}) {
    void* object = nullptr;
    ASSERT_EQ(plain->QueryInterface(iid, &object), DD_OK);
    EXPECT_EQ(object, plain);
    plain->Release();
  }
  void* surface = nullptr;
  EXPECT_EQ(plain->QueryInterface(IID_IDirectDrawSurface, &surface), E_NOINTERFACE);
}

TEST_F(DeviceTest, EnumerateNamesOnlyThePrimaryDriver) {
  struct Seen {
    int calls = 0;
    bool nullGuid = false;
    std::string description;
  } seen;
  const auto callback = [](GUID* guid, const char* description, const char* name,
                           void* context) -> BOOL {
    auto* record = static_cast<Seen*>(context);
    ++record->calls;
    record->nullGuid = guid == nullptr;
    record->description = description;
    EXPECT_NE(std::string(name), "");
    return 1;
  };
  ASSERT_EQ(Module().enumerate(callback, &seen), DD_OK);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_TRUE(seen.nullGuid);
  EXPECT_FALSE(seen.description.empty());
  EXPECT_EQ(Module().enumerate(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DeviceTest, CapsOfferBlitsKeysStretchAndPalettesButNoGammaOr3D) {
  DDCAPS hardware;
  DDCAPS emulation;
  hardware.dwSize = emulation.dwSize = kDDCapsSize;
  ASSERT_EQ(FDevice->GetCaps(&hardware, &emulation), DD_OK);
  for (const DDCAPS* caps : {&hardware, &emulation}) {
    EXPECT_EQ(caps->dwSize, kDDCapsSize);
    for (const DWORD flag :
         {DDCAPS_BLT, DDCAPS_BLTCOLORFILL, DDCAPS_BLTSTRETCH, DDCAPS_COLORKEY, DDCAPS_PALETTE}) {
      EXPECT_TRUE(caps->dwCaps & flag) << flag;
    }
    EXPECT_FALSE(caps->dwCaps & DDCAPS_3D);
    EXPECT_FALSE(caps->dwCaps2 & DDCAPS2_PRIMARYGAMMA);
    EXPECT_TRUE(caps->dwCKeyCaps & DDCKEYCAPS_SRCBLT);
    EXPECT_TRUE(caps->dwPalCaps & DDPCAPS_8BIT);
    EXPECT_FALSE(caps->ddsCaps & (DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE));
  }
  DDCAPS wrong;
  wrong.dwSize = 100;
  EXPECT_EQ(FDevice->GetCaps(&wrong, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(FDevice->GetCaps(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DeviceTest, CooperativeLevelSetsAndClearsTheExclusiveWindow) {
  HWND form = FakeWindow(42);
  const DWORD viewer = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX |
                       DDSCL_NOWINDOWCHANGES | DDSCL_ALLOWREBOOT;
  ASSERT_EQ(FDevice->SetCooperativeLevel(form, viewer), DD_OK);
  EXPECT_EQ(FHost.exclusiveWindow, form);
  ASSERT_EQ(FDevice->SetCooperativeLevel(form, DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(FHost.exclusiveWindow, nullptr);
  EXPECT_EQ(FDevice->SetCooperativeLevel(form, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
  EXPECT_EQ(FDevice->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(FDevice->SetCooperativeLevel(form, 0), DDERR_INVALIDPARAMS);
  ASSERT_EQ(FDevice->SetCooperativeLevel(form, viewer), DD_OK);
  FDevice.reset();
  EXPECT_EQ(FHost.exclusiveWindow, nullptr);
}

struct MonitorCase {
  TSize monitor;
  std::vector<TSize> present;
  std::vector<TSize> absent;
};
void PrintTo(const MonitorCase& sample, std::ostream* out) {
  *out << sample.monitor.cx << "x" << sample.monitor.cy;
}

class ModeListTest : public DeviceTest, public ::testing::WithParamInterface<MonitorCase> {};

TEST_P(ModeListTest, OffersStandardSizesUpToTheMonitorAtFourDepths) {
  FHost.monitor = GetParam().monitor;
  const std::vector<DDDisplayMode> modes = EnumeratedModes();
  for (const TSize& size : GetParam().present) {
    for (const DWORD bits : {8u, 16u, 24u, 32u}) {
      EXPECT_TRUE(Has(modes, DWORD(size.cx), DWORD(size.cy), bits))
          << size.cx << "x" << size.cy << "x" << bits;
    }
  }
  for (const TSize& size : GetParam().absent) {
    EXPECT_FALSE(Has(modes, DWORD(size.cx), DWORD(size.cy), 16)) << size.cx << "x" << size.cy;
  }
  EXPECT_TRUE(std::is_sorted(
      modes.begin(), modes.end(), [](const DDDisplayMode& a, const DDDisplayMode& b) {
        return std::tie(a.width, a.height, a.bitCount) < std::tie(b.width, b.height, b.bitCount);
      }));
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, ModeListTest,
    ::testing::Values(
        MonitorCase{{1024, 768}, {{640, 480}, {800, 600}, {1024, 768}}, {{1152, 864}, {1280, 720}}},
        MonitorCase{{1920, 1080},
                    {{1280, 1024}, {1280, 800}, {1680, 1050}, {1920, 1080}, {1440, 900}},
                    {{1920, 1200}, {1600, 1200}}},
        MonitorCase{{800, 600}, {{640, 480}, {800, 600}, {1024, 768}}, {{1280, 720}}},
        MonitorCase{{1234, 777}, {{1234, 777}, {1024, 768}}, {{1280, 720}}}));

TEST_F(DeviceTest, EnumerationStopsWhenTheCallbackCancels) {
  int calls = 0;
  const auto stop = [](DDSURFACEDESC*, void* context) -> HRESULT {
    ++*static_cast<int*>(context);
    return DDENUMRET_CANCEL;
  };
  ASSERT_EQ(FDevice->EnumDisplayModes(0, nullptr, &calls, stop), DD_OK);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(FDevice->EnumDisplayModes(0, nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DeviceTest, TestsCanReplaceTheModeList) {
  const DDDisplayMode offered[] = {{1280, 1024, 16}, {1152, 864, 16}, {0, 10, 16}, {800, 600, 12}};
  Testing().SetDisplayModes(offered, 4);
  const std::vector<DDDisplayMode> modes = EnumeratedModes();
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0].width, 1152u);
  EXPECT_EQ(modes[1].width, 1280u);
  EXPECT_EQ(FDevice->SetDisplayMode(1024, 768, 16), DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(FDevice->SetDisplayMode(1152, 864, 16), DD_OK);
  Testing().ResetDisplayModes();
  EXPECT_TRUE(Has(EnumeratedModes(), 1024, 768, 16));
}

TEST_F(DeviceTest, FilterNarrowsTheEnumeration) {
  DDSURFACEDESC filter;
  filter.dwSize = kDDSurfaceDescSize;
  filter.dwFlags = DDSD_PIXELFORMAT | DDSD_WIDTH;
  filter.dwWidth = 1024;
  filter.ddpfPixelFormat.dwRGBBitCount = 16;
  const std::vector<DDDisplayMode> modes = EnumeratedModes(&filter);
  ASSERT_EQ(modes.size(), 1u);
  EXPECT_EQ(modes[0].height, 768u);
}

TEST_F(DeviceTest, SetDisplayModeMakesTheVirtualScreenAndTheFormat) {
  FHost.monitor = {1920, 1080};
  FHost.virtualScreen = {1920, 1080};
  ASSERT_EQ(FDevice->SetDisplayMode(1024, 768, 16), DD_OK);
  EXPECT_EQ(FHost.virtualScreen, (TSize{1024, 768}));
  auto primary = MakePrimary(false);
  const DDSURFACEDESC desc = Describe(primary.get());
  EXPECT_EQ(desc.dwWidth, 1024u);
  EXPECT_EQ(desc.dwHeight, 768u);
  EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE, DDSCAPS_PRIMARYSURFACE);
  EXPECT_EQ(Describe(MakeSurface(3, 3, 16).get()).ddpfPixelFormat.dwRGBBitCount, 16u);
  DDSURFACEDESC mode;
  mode.dwSize = kDDSurfaceDescSize;
  ASSERT_EQ(FDevice->GetDisplayMode(&mode), DD_OK);
  EXPECT_EQ(mode.dwWidth, 1024u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(FDevice->SetDisplayMode(1000, 700, 16), DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(FDevice->SetDisplayMode(1024, 768, 15), DDERR_UNSUPPORTEDMODE);
  ASSERT_EQ(FDevice->RestoreDisplayMode(), DD_OK);
  EXPECT_EQ(FHost.virtualScreen, (TSize{1920, 1080}));
}

TEST_F(DeviceTest, ReleasingTheDeviceGivesTheDesktopBack) {
  FHost.monitor = {1280, 1024};
  ASSERT_EQ(FDevice->SetDisplayMode(800, 600, 32), DD_OK);
  FDevice.reset();
  EXPECT_EQ(FHost.virtualScreen, (TSize{1280, 1024}));
}

TEST_F(DeviceTest, VerticalBlankWaitsForTheNextRefreshUnlessInstant) {
  FHost.refreshRate = 5;  // 200 ms between blanks
  Testing().SetInstantVerticalBlank(false);
  using Clock = std::chrono::steady_clock;
  ASSERT_EQ(FDevice->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  auto start = Clock::now();
  ASSERT_EQ(FDevice->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  // Right after one blank the next is a whole refresh away. Half of it is the
  // bound: a busy machine may hold this thread a while after the first wait.
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
  Testing().SetInstantVerticalBlank(true);
  start = Clock::now();
  for (int i = 0; i < 10; ++i) FDevice->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_EQ(FDevice->WaitForVerticalBlank(DDWAITVB_BLOCKBEGINEVENT, nullptr), DDERR_UNSUPPORTED);
}

}  // namespace
