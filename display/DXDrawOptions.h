// Options and notifications of the display control.
#pragma once

#include "platform/framework/Set.h"

enum TDXDrawOption {
  doFullScreen,
  doNoWindowChange,
  doAllowReboot,
  doWaitVBlank,
  doAllowPalette256,
  doSystemMemory,
  doStretch,
  doCenter,
  doFlip,
  do3D,
  doDirectX7Mode,
  doRetainedMode,
  doHardware,
  doSelectDriver,
  doZBuffer
};
using TDXDrawOptions = TSet<TDXDrawOption>;

enum TDXDrawNotifyKind {
  nkDestroying,
  nkInitializing,
  nkInitialize,
  nkInitializeSurface,
  nkFinalize,
  nkFinalizeSurface,
  nkRestore,
  nkSurfaceSize
};

inline constexpr TDXDrawOptions kDefaultDXDrawOptions{doAllowReboot,  doWaitVBlank, doCenter,
                                                      doDirectX7Mode, doHardware,   doSelectDriver};

// Options that take effect only at the next initialisation.
inline constexpr TDXDrawOptions kInitTimeOptions{
    doFullScreen, doNoWindowChange, doAllowReboot,  doAllowPalette256, doSystemMemory, doFlip,
    do3D,         doDirectX7Mode,   doRetainedMode, doHardware,        doSelectDriver, doZBuffer};

// The options in effect when `options` are assigned while not initialised.
TDXDrawOptions DeriveEffectiveOptions(TDXDrawOptions options);
// The options in effect when `options` are assigned while initialised with `effective`.
TDXDrawOptions DeriveRunningOptions(TDXDrawOptions effective, TDXDrawOptions options);
