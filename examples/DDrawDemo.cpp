// Shows the display services on a real screen: a full-screen window at
// 1024 x 768 x 16, colour bars and a grey ramp drawn into the back buffer, a
// lens-style enlargement of part of it onto itself, then a flip. Runs for the
// seconds given (3 by default) so a screenshot can be taken.
#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ddraw/DDraw.h"
#include "platform/ui/Application.h"

namespace {

IDirectDraw7* OpenDevice() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  std::string folder(path, static_cast<size_t>(length > 0 ? length : 0));
  folder = folder.substr(0, folder.find_last_of('/'));
  void* module = dlopen((folder + "/" + kDDrawModuleFile).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) return nullptr;
  const auto createEx = reinterpret_cast<DirectDrawCreateExFn>(dlsym(module, "DirectDrawCreateEx"));
  void* device = nullptr;
  return createEx && createEx(nullptr, &device, IID_IDirectDraw7, nullptr) == DD_OK
             ? static_cast<IDirectDraw7*>(device)
             : nullptr;
}

void Fill(IDirectDrawSurface* surface, const TRect& rect, uint32_t value) {
  DDBLTFX effects;
  effects.dwSize = kDDBltFxSize;
  effects.dwFillColor = value;
  surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

void DrawPattern(IDirectDrawSurface* back) {
  const uint32_t bars[] = {0xFFFF, 0xFFE0, 0x07FF, 0x07E0, 0xF81F, 0xF800, 0x001F, 0x0000};
  for (int i = 0; i < 8; ++i) Fill(back, Bounds(i * 128, 0, 128, 512), bars[i]);
  for (int x = 0; x < 1024; x += 4) {
    const uint32_t level = static_cast<uint32_t>(x) * 32 / 1024;
    Fill(back, Bounds(x, 512, 4, 256), (level << 11) | (level * 2 << 5) | level);
  }
  Fill(back, Bounds(0, 0, 1024, 4), 0xFFFF);
  Fill(back, Bounds(0, 764, 1024, 4), 0xFFFF);
  const TRect from = Bounds(440, 480, 64, 64);
  const TRect to = Bounds(384, 256, 257, 273);
  back->Blt(&to, back, &from, DDBLT_WAIT, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  Application().Initialize();
  auto* form = Application().CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetWindowState(wsMaximized);
  form->Show();
  Application().ProcessMessages();

  IDirectDraw7* device = OpenDevice();
  if (!device) {
    std::fprintf(stderr, "display services not loaded\n");
    return 1;
  }
  device->SetCooperativeLevel(form->Handle(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
  if (device->SetDisplayMode(1024, 768, 16) != DD_OK) return 1;
  DDSURFACEDESC desc;
  desc.dwSize = kDDSurfaceDescSize;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  IDirectDrawSurface* primary = nullptr;
  if (device->CreateSurface(&desc, &primary, nullptr) != DD_OK) return 1;
  const DDSCAPS caps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  primary->GetAttachedSurface(&caps, &back);
  DrawPattern(back);
  primary->Flip(nullptr, DDFLIP_WAIT);

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    Application().ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  back->Release();
  primary->Release();
  device->Release();
  return 0;
}
