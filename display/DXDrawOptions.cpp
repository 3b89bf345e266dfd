#include "display/DXDrawOptions.h"

namespace {

TDXDrawOptions Without(TDXDrawOptions options, std::initializer_list<TDXDrawOption> removed) {
  for (TDXDrawOption option : removed) options.Exclude(option);
  return options;
}

}  // namespace

TDXDrawOptions DeriveEffectiveOptions(TDXDrawOptions options) {
  TDXDrawOptions result = options;
  if (!result.Contains(doFullScreen))
    result = Without(result, {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip});
  if (!result.Contains(do3D))
    result =
        Without(result, {doDirectX7Mode, doRetainedMode, doHardware, doSelectDriver, doZBuffer});
  if (result.Contains(doSystemMemory)) result.Exclude(doFlip);
  if (result.Contains(doDirectX7Mode)) result.Exclude(doRetainedMode);
  result.Exclude(doHardware);
  return result;
}

TDXDrawOptions DeriveRunningOptions(TDXDrawOptions effective, TDXDrawOptions options) {
  constexpr int kOptionCount = doZBuffer + 1;
  TDXDrawOptions result;
  for (int i = 0; i < kOptionCount; ++i) {
    const auto option = static_cast<TDXDrawOption>(i);
    const bool on =
        kInitTimeOptions.Contains(option) ? effective.Contains(option) : options.Contains(option);
    if (on) result.Include(option);
  }
  if (!result.Contains(do3D))
    result = Without(result, {doRetainedMode, doHardware, doSelectDriver, doZBuffer});
  return result;
}
