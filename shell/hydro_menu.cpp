#include "shell/hydro_menu.h"

#include <iterator>

namespace vshell
{

namespace
{

using K = vlink::HydroKey;

constexpr char InkProbe[] = "Lower Probe Ink";
constexpr char DissolventProbe[] = "Lower Probe Dissolvent";
constexpr char Ablution[] = "Auto Ablution  Mode ";
constexpr char HookSensor[] = "Hook Sensor";
constexpr char FlowGate[] = "Flow Gate";

constexpr HydroMenuItem Items[] = {
    {K::SystemOn, "HudroSystemOn1", nullptr, "HudroSystem On"},
    {K::InkFull, "Full1", InkProbe, "Enforce Full"},
    {K::InkClear, "Clear1", InkProbe, "Enforce Clear"},
    {K::InkRealSignal, "RealSignal1", InkProbe, "Real Signal"},
    {K::DissolventFull, "EnforseFull1", DissolventProbe, "Enforce Full"},
    {K::DissolventClear, "EnforseClear1", DissolventProbe, "Enforce Clear"},
    {K::DissolventRealSignal, "RealSignal2", DissolventProbe, "Real Signal"},
    {K::PressureSensorBias, "PressurePointerBias1", nullptr, "Pressure Sensor Bias"},
    {K::ThresholdLevel, "heshold1", nullptr, "Threshold Level Set"},
    {K::AblutionEnable, "Enanble1", Ablution, "Enanble"},
    {K::AblutionDisable, "Disable1", Ablution, "Disable"},
    {K::HookSensorEnable, "Enable1", HookSensor, "Enable"},
    {K::HookSensorDisable, "Disable2", HookSensor, "Disable"},
    {K::FlowGateOn, "Enforce1", FlowGate, "Enforce On"},
    {K::FlowGateOff, "EnforceOff1", FlowGate, "Enforce Off"},
    {K::FlowGateSwitchMode, "SwitchMode1", FlowGate, "Switch Mode"},
    {K::WorkPressure, "WorkPressureSet1", nullptr, "Work Pressure Set"},
};

constexpr bool oneItemPerKeyInKeyOrder()
{
    for (std::size_t i = 0; i < std::size(Items); ++i)
        if (std::size_t(Items[i].key) != i)
            return false;
    return std::size(Items) == vlink::HydroKeyCount;
}
static_assert(oneItemPerKeyInKeyOrder(),
              "one menu item per hydraulic key, in the order of HydroKey");

} // namespace

std::span<const HydroMenuItem> hydroMenu()
{
    return Items;
}

const HydroMenuItem &hydroMenuItem(vlink::HydroKey key)
{
    return Items[std::size_t(key)];
}

} // namespace vshell
