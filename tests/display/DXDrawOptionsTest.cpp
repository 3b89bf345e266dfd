#include <gtest/gtest.h>

#include "display/DXDrawOptions.h"
#include "tests/support/CaseName.h"

namespace {

struct DeriveCase {
  const char* name;
  TDXDrawOptions Options;
  TDXDrawOptions Effective;
};

class EffectiveOptionsBeforeInit : public testing::TestWithParam<DeriveCase> {};

TEST_P(EffectiveOptionsBeforeInit, FollowTheRules) {
  EXPECT_EQ(DeriveEffectiveOptions(GetParam().Options).Bits(), GetParam().Effective.Bits());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectiveOptionsBeforeInit,
    testing::Values(
        DeriveCase{
            "Viewer",
            {doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank, doAllowPalette256,
             doDirectX7Mode, doHardware, doSelectDriver},
            {doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank, doAllowPalette256}},
        DeriveCase{"Defaults", kDefaultDXDrawOptions, {doWaitVBlank, doCenter}},
        DeriveCase{"WindowedDropsFullScreenOnly",
                   {doNoWindowChange, doAllowReboot, doAllowPalette256, doFlip, doStretch},
                   {doStretch}},
        DeriveCase{"SystemMemoryDropsFlip",
                   {doFullScreen, doFlip, doSystemMemory},
                   {doFullScreen, doSystemMemory}},
        DeriveCase{"FullScreenKeepsFlip", {doFullScreen, doFlip}, {doFullScreen, doFlip}},
        DeriveCase{"ThreeDKeepsItsRequests",
                   {do3D, doDirectX7Mode, doSelectDriver, doZBuffer, doHardware},
                   {do3D, doDirectX7Mode, doSelectDriver, doZBuffer}},
        DeriveCase{"DirectX7DropsRetainedMode",
                   {do3D, doDirectX7Mode, doRetainedMode},
                   {do3D, doDirectX7Mode}},
        DeriveCase{"RetainedModeWithout7", {do3D, doRetainedMode}, {do3D, doRetainedMode}},
        DeriveCase{"HardwareAlwaysGoes", {doHardware, do3D}, {do3D}}, DeriveCase{"Empty", {}, {}}),
    CaseName());

struct RunningCase {
  const char* name;
  TDXDrawOptions Effective;
  TDXDrawOptions Assigned;
  TDXDrawOptions Result;
};

class EffectiveOptionsWhileInitialized : public testing::TestWithParam<RunningCase> {};

TEST_P(EffectiveOptionsWhileInitialized, ChangeOnlyTheRunTimeOptions) {
  const RunningCase& c = GetParam();
  EXPECT_EQ(DeriveRunningOptions(c.Effective, c.Assigned).Bits(), c.Result.Bits());
}

const TDXDrawOptions kViewerEffective{doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank,
                                      doAllowPalette256};

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectiveOptionsWhileInitialized,
    testing::Values(RunningCase{"WaitVBlankOff",
                                kViewerEffective,
                                {doFullScreen, doNoWindowChange, doAllowReboot, doAllowPalette256},
                                {doFullScreen, doNoWindowChange, doAllowReboot, doAllowPalette256}},
                    RunningCase{"StretchAndCenterOn",
                                kViewerEffective,
                                {doFullScreen, doWaitVBlank, doStretch, doCenter},
                                {doFullScreen, doNoWindowChange, doAllowReboot, doWaitVBlank,
                                 doAllowPalette256, doStretch, doCenter}},
                    RunningCase{
                        "FullScreenWaits", kViewerEffective, {doWaitVBlank}, kViewerEffective},
                    RunningCase{"FullScreenNotYet",
                                {doWaitVBlank},
                                {doFullScreen, doFlip, doWaitVBlank},
                                {doWaitVBlank}},
                    RunningCase{"ThreeDBitsGoWithout3D",
                                {doSystemMemory, doHardware, doZBuffer},
                                {doHardware, doZBuffer},
                                {doSystemMemory}},
                    RunningCase{"ThreeDBitsStayWith3D",
                                {do3D, doHardware, doZBuffer},
                                {},
                                {do3D, doHardware, doZBuffer}}),
    CaseName());

}  // namespace
