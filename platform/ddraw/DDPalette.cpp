#include "platform/ddraw/DDPalette.h"

#include <algorithm>
#include <array>
#include <new>

#include "platform/ddraw/DisplayServices.h"

namespace ddraw {
namespace {

PALETTEENTRY CubeEntry(int index) {
  const auto scale = [](int value, int levels) {
    return static_cast<BYTE>(value * 255 / (levels - 1));
  };
  return PALETTEENTRY{scale((index >> 5) & 7, 8), scale((index >> 2) & 7, 8), scale(index & 3, 4),
                      0};
}

RGBQUAD QuadOf(const PALETTEENTRY& entry) {
  return RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
}

}  // namespace

const PALETTEENTRY* DefaultPaletteEntries() {
  static const std::array<PALETTEENTRY, 256> entries = [] {
    std::array<PALETTEENTRY, 256> cube{};
    for (int i = 0; i < 256; ++i) cube[static_cast<size_t>(i)] = CubeEntry(i);
    return cube;
  }();
  return entries.data();
}

const RGBQUAD* DefaultColorTable() {
  static const std::array<RGBQUAD, 256> table = [] {
    std::array<RGBQUAD, 256> quads{};
    for (size_t i = 0; i < 256; ++i) quads[i] = QuadOf(DefaultPaletteEntries()[i]);
    return quads;
  }();
  return table.data();
}

HRESULT TDDPalette::Create(DWORD caps, const PALETTEENTRY* entries, IDirectDrawPalette** palette) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (!entries) return DDERR_INVALIDPARAMS;
  const bool eightBit = (caps & DDPCAPS_8BIT) != 0;
  const bool fourBit = (caps & DDPCAPS_4BIT) != 0;
  if (eightBit == fourBit) return DDERR_INVALIDPARAMS;
  auto* created = new (std::nothrow) TDDPalette(caps, eightBit ? 256 : 16);
  if (!created) return DDERR_OUTOFMEMORY;
  created->Store(0, created->FSize, entries);
  *palette = created;
  return DD_OK;
}

TDDPalette* TDDPalette::From(IDirectDrawPalette* palette) {
  return dynamic_cast<TDDPalette*>(palette);
}

HRESULT TDDPalette::QueryInterface(REFIID iid, void** object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid != IID_IDirectDrawPalette) return E_NOINTERFACE;
  AddRef();
  *object = static_cast<IDirectDrawPalette*>(this);
  return DD_OK;
}

HRESULT TDDPalette::GetCaps(DWORD* caps) {
  if (!caps) return DDERR_INVALIDPARAMS;
  *caps = FCaps;
  return DD_OK;
}

HRESULT TDDPalette::GetEntries(DWORD, DWORD start, DWORD count, PALETTEENTRY* entries) {
  if (!entries || start >= FSize || count > FSize - start) return DDERR_INVALIDPARAMS;
  std::copy_n(FEntries + start, count, entries);
  return DD_OK;
}

HRESULT TDDPalette::SetEntries(DWORD, DWORD start, DWORD count, const PALETTEENTRY* entries) {
  if (!entries || start >= FSize || count > FSize - start) return DDERR_INVALIDPARAMS;
  Store(start, count, entries);
  Services().PaletteChanged(this);
  return DD_OK;
}

void TDDPalette::Store(DWORD start, DWORD count, const PALETTEENTRY* entries) {
  for (DWORD i = 0; i < count; ++i) {
    FEntries[start + i] = entries[i];
    FColorTable[start + i] = QuadOf(entries[i]);
  }
}

}  // namespace ddraw
