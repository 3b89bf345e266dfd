#include "tests/platform/ddraw/DDrawFixture.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "tests/support/SurfaceDescription.h"

namespace {

std::string TestBinaryFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) return ".";
  const std::string text(path, static_cast<size_t>(length));
  return text.substr(0, text.find_last_of('/'));
}

TDDrawModule LoadModule() {
  TDDrawModule module;
  const std::string file = TestBinaryFolder() + "/" + kDDrawModuleFile;
  module.handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module.handle) {
    ADD_FAILURE() << "cannot load " << file << ": " << dlerror();
    return module;
  }
  module.createEx =
      reinterpret_cast<DirectDrawCreateExFn>(dlsym(module.handle, "DirectDrawCreateEx"));
  module.create = reinterpret_cast<DirectDrawCreateFn>(dlsym(module.handle, "DirectDrawCreate"));
  module.enumerate =
      reinterpret_cast<DirectDrawEnumerateAFn>(dlsym(module.handle, "DirectDrawEnumerateA"));
  const auto testing =
      reinterpret_cast<LoupixDDrawTestingFn>(dlsym(module.handle, kDDrawTestingEntry));
  module.testing = testing ? testing() : nullptr;
  return module;
}

uint32_t PixelMask(uint32_t bitCount) {
  return bitCount == 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1;
}

}  // namespace

const TDDrawModule& Module() {
  static const TDDrawModule module = LoadModule();
  return module;
}

HWND FakeWindow(uintptr_t id) { return reinterpret_cast<HWND>(id); }

void DDrawTest::SetUp() {
  ASSERT_NE(Module().createEx, nullptr);
  ASSERT_NE(Module().testing, nullptr);
  SetScreenHost(&FHost);
  Testing().ResetVideoMemoryBudget();
  Testing().ResetDisplayModes();
  Testing().SetInstantVerticalBlank(true);
  Testing().SetForceGenericBlits(false);
  void* device = nullptr;
  ASSERT_EQ(Module().createEx(nullptr, &device, IID_IDirectDraw7, nullptr), DD_OK);
  FDevice.reset(static_cast<IDirectDraw7*>(device));
}

void DDrawTest::TearDown() {
  FDevice.reset();
  SetScreenHost(nullptr);
}

TRef<IDirectDrawSurface7> DDrawTest::MakeSurface(int32_t width, int32_t height, uint32_t bitCount,
                                                 DWORD caps) {
  DDSURFACEDESC desc = SurfaceDescription(width, height, bitCount, caps);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(FDevice->CreateSurface(&desc, &surface, nullptr), DD_OK);
  return TRef<IDirectDrawSurface7>(static_cast<IDirectDrawSurface7*>(surface));
}

TRef<IDirectDrawSurface7> DDrawTest::MakePrimary(bool flipping) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  desc.dwFlags = DDSD_CAPS | (flipping ? DDSD_BACKBUFFERCOUNT : 0);
  desc.dwBackBufferCount = flipping ? 1 : 0;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | (flipping ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(FDevice->CreateSurface(&desc, &surface, nullptr), DD_OK);
  return TRef<IDirectDrawSurface7>(static_cast<IDirectDrawSurface7*>(surface));
}

TRef<IDirectDrawClipper> DDrawTest::MakeClipList(const std::vector<TRect>& rects) {
  IDirectDrawClipper* clipper = nullptr;
  EXPECT_EQ(FDevice->CreateClipper(0, &clipper, nullptr), DD_OK);
  std::vector<char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(TRect));
  RGNDATAHEADER header;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(TRect));
  std::memcpy(block.data(), &header, sizeof(header));
  if (!rects.empty())
    std::memcpy(block.data() + sizeof(header), rects.data(), rects.size() * sizeof(TRect));
  EXPECT_EQ(clipper->SetClipList(reinterpret_cast<const RGNDATA*>(block.data()), 0), DD_OK);
  return TRef<IDirectDrawClipper>(clipper);
}

DDSURFACEDESC DDrawTest::Describe(IDirectDrawSurface* surface) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  EXPECT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
  return desc;
}

uint32_t DDrawTest::PixelAt(IDirectDrawSurface* surface, int32_t x, int32_t y) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  const TRect one{x, y, x + 1, y + 1};
  if (surface->Lock(&one, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0xDEADBEEF;
  uint32_t value = 0;
  std::memcpy(&value, desc.lpSurface, desc.ddpfPixelFormat.dwRGBBitCount / 8);
  surface->Unlock(desc.lpSurface);
  return value;
}

void DDrawTest::SetPixelAt(IDirectDrawSurface* surface, int32_t x, int32_t y, uint32_t value) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  const TRect one{x, y, x + 1, y + 1};
  ASSERT_EQ(surface->Lock(&one, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  std::memcpy(desc.lpSurface, &value, desc.ddpfPixelFormat.dwRGBBitCount / 8);
  surface->Unlock(desc.lpSurface);
}

void DDrawTest::FillPattern(IDirectDrawSurface* surface, uint32_t seed) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
  const uint32_t mask = PixelMask(desc.ddpfPixelFormat.dwRGBBitCount);
  uint32_t state = seed * 2654435761u + 1;
  for (DWORD y = 0; y < desc.dwHeight; ++y) {
    auto* row = static_cast<uint8_t*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch;
    for (DWORD x = 0; x < desc.dwWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      const uint32_t value = (state >> 7) & mask;
      std::memcpy(row + x * bytes, &value, bytes);
    }
  }
  surface->Unlock(desc.lpSurface);
}

std::vector<uint32_t> DDrawTest::ReadAll(IDirectDrawSurface* surface) {
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  std::vector<uint32_t> pixels;
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return pixels;
  const uint32_t bytes = desc.ddpfPixelFormat.dwRGBBitCount / 8;
  for (DWORD y = 0; y < desc.dwHeight; ++y) {
    const auto* row =
        static_cast<const uint8_t*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch;
    for (DWORD x = 0; x < desc.dwWidth; ++x) {
      uint32_t value = 0;
      std::memcpy(&value, row + x * bytes, bytes);
      pixels.push_back(value);
    }
  }
  surface->Unlock(desc.lpSurface);
  return pixels;
}
