// Calls common to every graphics object: stock objects, pens and brushes,
// deleting and describing objects.
#include <cstring>

#include "platform/gdi/DeviceContext.h"

using namespace gdi;

HGDIOBJ GetStockObject(int index) {
  const auto object = StockObject(index);
  return object ? object->Handle() : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(AddObject(std::make_shared<TGdiBrush>(color & 0x00FFFFFF, false)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  return static_cast<HPEN>(
      AddObject(std::make_shared<TGdiPen>(style, width < 1 ? 1 : width, color & 0x00FFFFFF)));
}

// A context still holding the object keeps it alive; only the handle dies here.
BOOL DeleteObject(HGDIOBJ object) {
  const auto found = FindObject(object);
  if (!found || found->Kind() == TObjectKind::DeviceContext) return FALSE_;
  if (found->Stock()) return TRUE_;
  return RemoveObject(object) ? TRUE_ : FALSE_;
}

int GetObject(HGDIOBJ object, int size, void* buffer) {
  const auto found = FindObject(object);
  if (!found) return 0;
  if (const auto bitmap = Find<TGdiBitmap>(object)) {
    DIBSECTION section;
    bitmap->DescribeSection(section);
    const bool wantsSection = bitmap->IsSection() && size >= static_cast<int>(sizeof(DIBSECTION));
    const int needed = static_cast<int>(wantsSection ? sizeof(DIBSECTION) : sizeof(BITMAP));
    if (!buffer) return needed;
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(buffer, &section, static_cast<size_t>(needed));
    return needed;
  }
  if (const auto palette = Find<TGdiPalette>(object)) {
    const auto count = static_cast<WORD>(palette->Entries.size());
    if (!buffer) return sizeof(WORD);
    if (size < static_cast<int>(sizeof(WORD))) return 0;
    std::memcpy(buffer, &count, sizeof(WORD));
    return sizeof(WORD);
  }
  return 0;
}
