// Errors of the display layer and the texts they carry.
#pragma once

#include "platform/framework/Exception.h"

LOUPIX_DECLARE_ERROR(EDirectXError, Exception);
LOUPIX_DECLARE_ERROR(EDirectDrawError, EDirectXError);
LOUPIX_DECLARE_ERROR(EDirectDrawPaletteError, EDirectDrawError);
LOUPIX_DECLARE_ERROR(EDirectDrawClipperError, EDirectDrawError);
LOUPIX_DECLARE_ERROR(EDirectDrawSurfaceError, EDirectDrawError);
LOUPIX_DECLARE_ERROR(EDXDrawError, Exception);

namespace DXText {
inline constexpr const char* kCannotInitialize = "%s cannot be initialized";
inline constexpr const char* kNeedDirectX7 = "Necessary since DirectX 7";
inline constexpr const char* kNeedDirectX6 = "Necessary since DirectX 6";
inline constexpr const char* kNotMade = "%s not made";
inline constexpr const char* kCannotMake = "%s cannot be made";
inline constexpr const char* kNotLoaded = "%s not loaded";
inline constexpr const char* kFormNotFound = "Form not found";
inline constexpr const char* kModeNotChanged = "Display mode cannot be changed (%dx%d %dbit)";
inline constexpr const char* k3DDeviceNotFound = "3D device not found";
inline constexpr const char* kBadBitCount = "It should be either of 8 or 16 or 24 or 32";
}  // namespace DXText
