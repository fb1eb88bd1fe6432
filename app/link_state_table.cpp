#include "app/link_state_table.h"

#include "link/channel_pattern.h"
#include "link/records.h"

namespace vmx {
namespace {

constexpr int16_t kNoSensor = 0x7FFF;

}  // namespace

const std::vector<LinkStateRow>& LinkStateTable() {
  using C = LinkCondition;
  static const std::vector<LinkStateRow> table = {
      {C::SettingsRead,
       {"mnuScheduleImport", "mnuConfigImport", "mnuScheduleConfigExport", "mnuCompare"}},
      {C::UndoAvailable, {"mnuUndoImport"}},
      {C::Connected,
       {"mnuModeManual", "mnuModeAuto", "mnuModeGeo", "mnuModeRGBDemo", "mnuModeFlash",
        "mnuRefresh", "mnuSaveEEPROM", "mnuStepBig", "mnuIRLearn", "mnuHealth", "mnuLoadReef",
        "mnuAllOff", "mnuAll20", "mnuAllOn", "mnuSetTimeDate"}},
      {C::Connected, {"lblName#", "cmbName#"}},
      {C::ManualMode, {"trb#", "edt#", "btnOff#", "btnOn#"}},
      {C::Connected,
       {"tsSchedule", "memDescription", "tsVisualize", "lblVisualize", "cmbVisualize",
        "cbxTimeLock"}},
      {C::Connected,
       {"trbTimeLapse", "btnRealtime", "edtTimeLapse", "edtLCDBLMax", "edtLCDBLMin",
        "edtLCDBLNight", "trbLCDBLMax", "trbLCDBLMin", "trbLCDBLNight", "edtFanHigh", "edtFanLow",
        "trbFanHigh", "trbFanLow"}},
      {C::FanOffAllowed, {"edtFanOff", "trbFanOff"}},
      {C::Connected,
       {"trbCloudCount", "edtCloudCount", "trbCloudSeconds", "edtCloudSeconds", "trbStormCount",
        "edtStormCount", "trbStormMinutes", "edtStormMinutes", "lblCloudRatio", "lblStormRatio"}},
      {C::AutoOrGeoMode, {"btnCloud", "btnStorm"}},
      {C::Connected,
       {"edtCloudAlpha", "trbCloudAlpha", "edtCloudStep", "trbCloudStep", "edtStormAlpha",
        "trbStormAlpha", "edtStormStep", "trbStormStep", "edtLightningP", "trbLightningP"}},
      {C::Connected,
       {"lblWeatherDelay", "edtWeatherDelay#", "trbWeatherDelay#", "lblMoon", "edtMoon#",
        "trbMoon#"}},
      {C::Connected,
       {"imgTemp", "edtPWMPrescaler", "lblPWMPrescaler", "edtTWIBitrate", "lblTWIBitrate",
        "edtCloudTempBoard", "edtBalanceSumRamp", "rbtFMOLED", "rbtCHMTempBoard", "rbtCHMVoltage",
        "edtChartInterval", "edtChartScale"}},
      {C::WaterSensor,
       {"edtTempOffset", "edtCloudTempWater", "rbtFMOWater", "rbtFMOWaterMaster", "rbtCHMTempWater",
        "rbtJMPCooler", "rbtJMPHeater", "edtTempCoolLow", "edtTempCoolHigh", "edtTempHeatLow",
        "edtTempHeatHigh"}},
      {C::SlaveSensor, {"rbtCHMTempSlave"}},
      {C::WaterLimits, {"edtTempWaterLow", "edtTempWaterHigh"}},
      {C::Connected,
       {"edtLightningMask#",
        "edtRandomInit",
        "edtTimeZoneBias",
        "edtTimeZoneStandardMonth",
        "edtTimeZoneStandardDay",
        "edtTimeZoneStandardHour",
        "edtTimeZoneStandardDayOfWeek",
        "edtTimeZoneDaylightMonth",
        "edtTimeZoneDaylightDay",
        "edtTimeZoneDaylightHour",
        "edtTimeZoneDaylightDayOfWeek",
        "btnApplyTZI",
        "lblLanguage",
        "cmbLanguage",
        "rbtCelsius",
        "rbtFahrenheit",
        "rbt12h",
        "rbt24h",
        "rbt16x2",
        "rbt20x4"}},
      {C::Connected,
       {"lblBalance", "edtBalance#", "trbBalance#", "edtBalanceSum", "trbBalanceSum"}},
      {C::Connected,
       {"rbtJMPIRLearn", "rbtJMPCloud", "rbtJMPStorm", "rbtJMPLightning", "rbtJMPTimer",
        "rbtJMPServo", "rbtJMPPWM", "lblJMPWarning1", "lblJMPWarning2"}},
  };
  return table;
}

bool ConditionHolds(LinkCondition condition, const LinkFacts& facts) {
  if (!facts.connected) return false;
  switch (condition) {
    case LinkCondition::Connected:
      return true;
    case LinkCondition::ManualMode:
      return ModeOf(facts.mode) == BoardMode::Manual;
    case LinkCondition::FanOffAllowed:
      return facts.fanMode != 1;
    case LinkCondition::AutoOrGeoMode:
      return RunsSchedule(ModeOf(facts.mode));
    case LinkCondition::WaterSensor:
      return facts.tempWater != kNoSensor;
    case LinkCondition::SlaveSensor:
      return facts.tempSlave != kNoSensor;
    case LinkCondition::WaterLimits:
      return facts.tempWater != kNoSensor && !facts.fanModeLedSelected;
    case LinkCondition::SettingsRead:
      return facts.settingsRead;
    case LinkCondition::UndoAvailable:
      return facts.settingsRead && facts.undoAvailable;
  }
  return false;
}

std::vector<std::string> ExpandControlName(std::string_view name) {
  return ExpandChannels(name);
}

}  // namespace vmx
