#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/DXErrors.h"
#include "device/DirectDraw.h"
#include "device/DirectDrawClipper.h"
#include "device/DirectDrawPalette.h"
#include "platform/ui/Library.h"
#include "surface/DirectDrawSurface.h"
#include "tests/support/CaseName.h"

namespace {

// Device objects on the real display services.
class DeviceObjects : public testing::Test {
 protected:
  void SetUp() override { FDevice = std::make_unique<TDirectDraw>(nullptr); }
  std::unique_ptr<TDirectDraw> FDevice;
};

TEST_F(DeviceObjects, DirectX7ModeHoldsAllThreeInterfaces) {
  EXPECT_NE(FDevice->NativeDevice(), nullptr);
  EXPECT_NE(FDevice->NativeDevice4(), nullptr);
  EXPECT_NE(FDevice->NativeDevice7(), nullptr);
  EXPECT_EQ(FDevice->RequiredDevice7(), FDevice->NativeDevice7());
  EXPECT_EQ(FDevice->HardwareCaps().dwSize, 380u);
  EXPECT_EQ(FDevice->EmulationCaps().dwSize, 380u);
}

TEST_F(DeviceObjects, MissingDeviceObjectHasNoInterfaces) {
  EXPECT_EQ(TDirectDraw::NativeDeviceOf(nullptr), nullptr);
  EXPECT_EQ(TDirectDraw::NativeDevice7Of(nullptr), nullptr);
  EXPECT_EQ(TDirectDraw::NativeDeviceOf(FDevice.get()), FDevice->NativeDevice());
  EXPECT_EQ(TDirectDraw::NativeDevice7Of(FDevice.get()), FDevice->NativeDevice7());
}

TEST_F(DeviceObjects, OlderModeHasNoDirectX7Interface) {
  TDirectDraw device(nullptr, false);
  EXPECT_NE(device.NativeDevice(), nullptr);
  EXPECT_NE(device.NativeDevice4(), nullptr);
  EXPECT_EQ(device.NativeDevice7(), nullptr);
  try {
    device.RequiredDevice7();
    FAIL() << "no error";
  } catch (const EDirectDrawError& error) {
    EXPECT_EQ(error.Message(), "IDirectDraw7 not made");
  }
}

TEST_F(DeviceObjects, PaletteWithoutNativePaletteRefusesEntries) {
  TDirectDrawPalette palette(*FDevice);
  PALETTEENTRY entries[256]{};
  palette.SetLastResult(DD_OK);
  EXPECT_FALSE(palette.SetEntries(0, 256, entries));
  EXPECT_EQ(palette.LastResult(), DD_OK);
  EXPECT_EQ(palette.NativePalette(), nullptr);
  try {
    palette.RequiredPalette();
    FAIL() << "no error";
  } catch (const EDirectDrawPaletteError& error) {
    EXPECT_EQ(error.Message(), "IDirectDrawPalette not made");
  }
}

TEST_F(DeviceObjects, PaletteTakesEntriesOnceCreated) {
  TDirectDrawPalette palette(*FDevice);
  PALETTEENTRY entries[256]{};
  entries[3] = {1, 2, 3, 0};
  ASSERT_TRUE(palette.CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries));
  EXPECT_EQ(palette.LastResult(), FDevice->LastResult());
  EXPECT_TRUE(palette.SetEntries(0, 256, entries));
  PALETTEENTRY back[256]{};
  ASSERT_EQ(palette.NativePalette()->GetEntries(0, 0, 256, back), DD_OK);
  EXPECT_EQ(back[3], entries[3]);
}

TEST_F(DeviceObjects, ClipperIsMadeAndTakesAClipList) {
  TDirectDrawClipper clipper(*FDevice);
  ASSERT_NE(clipper.NativeClipper(), nullptr);
  const TRect rects[] = {{0, 0, 10, 10}};
  clipper.ClipToRects(rects);
  EXPECT_EQ(clipper.LastResult(), DD_OK);
  EXPECT_EQ(FDevice->Clippers().Count(), 1);
}

template <typename Base>
class TLogged : public Base {
 public:
  TLogged(TDirectDraw& device, std::vector<std::string>& log, std::string name)
      : Base(device), FLog(log), FName(std::move(name)) {}
  ~TLogged() override { FLog.push_back(FName); }

 private:
  std::vector<std::string>& FLog;
  std::string FName;
};

TEST_F(DeviceObjects, DestructionFreesSurfacesThenPalettesThenClippers) {
  std::vector<std::string> log;
  new TLogged<TDirectDrawClipper>(*FDevice, log, "clipper 1");
  new TLogged<TDirectDrawPalette>(*FDevice, log, "palette 1");
  auto* sized = new TLogged<TDirectDrawSurface>(*FDevice, log, "surface");
  sized->SetSize(16, 16);
  new TLogged<TDirectDrawClipper>(*FDevice, log, "clipper 2");
  new TLogged<TDirectDrawPalette>(*FDevice, log, "palette 2");
  new TLogged<TDirectDrawSurface>(*FDevice, log, "surface");
  auto freed = new TLogged<TDirectDrawPalette>(*FDevice, log, "palette 3");
  delete freed;
  EXPECT_EQ(FDevice->Palettes().Count(), 2);
  log.clear();
  FDevice.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"surface", "surface", "palette 2", "palette 1",
                                           "clipper 2", "clipper 1"}));
}

// Creation where the display services fail, through stand-in libraries.
struct CreationCase {
  const char* name;
  const char* Module;
  bool Refuse;
  bool DirectX7;
  const char* ClassName;
  const char* Message;
};

class DeviceCreationFailure : public testing::TestWithParam<CreationCase> {
 protected:
  void SetUp() override { FreeLoadedLibraries(); }
  void TearDown() override { FreeLoadedLibraries(); }
};

TEST_P(DeviceCreationFailure, RaisesTheLayersMessage) {
  const CreationCase& c = GetParam();
  HMODULE module = LoadLibrary(c.Module);
  ASSERT_NE(module, nullptr);
  ListLoadedLibrary("DDraw.dll", module);
  if (auto refuse =
          reinterpret_cast<void (*)(bool)>(GetProcAddress(module, "LoupixFakeRefuseInterfaces")))
    refuse(c.Refuse);
  try {
    TDirectDraw device(nullptr, c.DirectX7);
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), c.ClassName);
    EXPECT_EQ(error.Message(), c.Message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceCreationFailure,
    testing::Values(CreationCase{"NoCreateEx", "libloupix_device_testmodule.so", false, true,
                                 "Exception", "DDraw.dll not loaded"},
                    CreationCase{"NoCreate", "libloupix_device_testmodule.so", false, false,
                                 "Exception", "DDraw.dll not loaded"},
                    CreationCase{"CreateExFails", "libloupix_device_fakeddraw.so", false, true,
                                 "EDirectDrawError", "DirectDraw cannot be initialized"},
                    CreationCase{"CreateFails", "libloupix_device_fakeddraw.so", false, false,
                                 "EDirectDrawError", "DirectDraw cannot be initialized"},
                    CreationCase{"NoOlderInterfaces", "libloupix_device_fakeddraw.so", true, true,
                                 "EDirectDrawError", "Necessary since DirectX 7"},
                    CreationCase{"NoDirectX6Interface", "libloupix_device_fakeddraw.so", true,
                                 false, "EDirectDrawError", "Necessary since DirectX 6"}),
    CaseName());

TEST(DisplayServicesLibrary, LoadedOnceWhateverTheCase) {
  FreeLoadedLibraries();
  void* first = LoadEntryPoint("DDraw.dll", "DirectDrawCreateEx");
  void* second = LoadEntryPoint("ddraw.dll", "DirectDrawCreateEx");
  EXPECT_EQ(first, second);
  EXPECT_NE(LoadEntryPoint("DDRAW.DLL", "DirectDrawCreate"), first);
  ASSERT_EQ(LoadedLibraries().size(), 1u);
  EXPECT_EQ(LoadedLibraries()[0].Name, "ddraw.dll");
  FreeLoadedLibraries();
}

TEST(DeviceEnumeration, ReportsThePrimaryDriverWithoutGuid) {
  struct Seen {
    int Count = 0;
    bool PrimaryWithoutGuid = false;
  } seen;
  auto callback = [](GUID* guid, const char*, const char*, void* context) -> BOOL {
    auto* s = static_cast<Seen*>(context);
    if (s->Count++ == 0) s->PrimaryWithoutGuid = guid == nullptr;
    return 1;
  };
  EXPECT_EQ(EnumerateDrivers(callback, &seen), DD_OK);
  EXPECT_GE(seen.Count, 1);
  EXPECT_TRUE(seen.PrimaryWithoutGuid);
}

}  // namespace
