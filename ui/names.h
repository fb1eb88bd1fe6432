// The object names of the window, its pages and the controls that code looks
// up: the language tables apply their texts by these names, the enabling rules
// and the settings bindings find their controls by them, and outside tools
// drive the window by them, so each string is kept exactly as it stands.
// Controls made per channel are a stem and the channel index 0..11.
#pragma once

#include <QString>

namespace vmx::names {

// The window
inline constexpr char frmLantix[] = "frmLantix";

// The page control
inline constexpr char pc[] = "pc";

// The status bar
inline constexpr char sb[] = "sb";

// The pages, in tab order
inline constexpr char tsChannels[] = "tsChannels";
inline constexpr char tsChannelsGL[] = "tsChannelsGL";
inline constexpr char tsSchedule[] = "tsSchedule";
inline constexpr char tsVisualize[] = "tsVisualize";
inline constexpr char tsGeo[] = "tsGeo";
inline constexpr char tsConfig[] = "tsConfig";
inline constexpr char tsTemp[] = "tsTemp";
inline constexpr char tsWeather[] = "tsWeather";
inline constexpr char tsWeatherDelay[] = "tsWeatherDelay";
inline constexpr char tsMoon[] = "tsMoon";
inline constexpr char tsExpert[] = "tsExpert";
inline constexpr char tsBalance[] = "tsBalance";
inline constexpr char tsJMP[] = "tsJMP";
inline constexpr char tsMessages[] = "tsMessages";

// Menu items and menus
inline constexpr char mnuAll20[] = "mnuAll20";
inline constexpr char mnuAllOff[] = "mnuAllOff";
inline constexpr char mnuAllOn[] = "mnuAllOn";
inline constexpr char mnuCHMTempBoard[] = "mnuCHMTempBoard";
inline constexpr char mnuCHMTempSlave[] = "mnuCHMTempSlave";
inline constexpr char mnuCHMTempWater[] = "mnuCHMTempWater";
inline constexpr char mnuCHMVoltage[] = "mnuCHMVoltage";
inline constexpr char mnuCompare[] = "mnuCompare";
inline constexpr char mnuConfigImport[] = "mnuConfigImport";
inline constexpr char mnuConnect[] = "mnuConnect";
inline constexpr char mnuConnection[] = "mnuConnection";
inline constexpr char mnuCopyCol[] = "mnuCopyCol";
inline constexpr char mnuDebug[] = "mnuDebug";
inline constexpr char mnuDisconnect[] = "mnuDisconnect";
inline constexpr char mnuDiscover[] = "mnuDiscover";
inline constexpr char mnuExit[] = "mnuExit";
inline constexpr char mnuFAQ[] = "mnuFAQ";
inline constexpr char mnuFile[] = "mnuFile";
inline constexpr char mnuFirmwareUpdate[] = "mnuFirmwareUpdate";
inline constexpr char mnuHardware[] = "mnuHardware";
inline constexpr char mnuHealth[] = "mnuHealth";
inline constexpr char mnuHelp[] = "mnuHelp";
inline constexpr char mnuIRLearn[] = "mnuIRLearn";
inline constexpr char mnuLoadReef[] = "mnuLoadReef";
inline constexpr char mnuMain[] = "mnuMain";
inline constexpr char mnuModeAuto[] = "mnuModeAuto";
inline constexpr char mnuModeFlash[] = "mnuModeFlash";
inline constexpr char mnuModeGeo[] = "mnuModeGeo";
inline constexpr char mnuModeManual[] = "mnuModeManual";
inline constexpr char mnuModeRGBDemo[] = "mnuModeRGBDemo";
inline constexpr char mnuOptions[] = "mnuOptions";
inline constexpr char mnuPasteCol[] = "mnuPasteCol";
inline constexpr char mnuRefresh[] = "mnuRefresh";
inline constexpr char mnuRemove[] = "mnuRemove";
inline constexpr char mnuSaveEEPROM[] = "mnuSaveEEPROM";
inline constexpr char mnuScheduleConfigExport[] = "mnuScheduleConfigExport";
inline constexpr char mnuScheduleImport[] = "mnuScheduleImport";
inline constexpr char mnuSetTimeDate[] = "mnuSetTimeDate";
inline constexpr char mnuShowExpert[] = "mnuShowExpert";
inline constexpr char mnuSoftware[] = "mnuSoftware";
inline constexpr char mnuStepBig[] = "mnuStepBig";
inline constexpr char mnuSwapCol[] = "mnuSwapCol";
inline constexpr char mnuUndoImport[] = "mnuUndoImport";

// Pop-up menus
inline constexpr char pumChart[] = "pumChart";
inline constexpr char pumCol[] = "pumCol";

// Multi-line texts
inline constexpr char mem[] = "mem";
inline constexpr char memDescription[] = "memDescription";

// Labels
inline constexpr char lblBalance[] = "lblBalance";
inline constexpr char lblBoard[] = "lblBoard";
inline constexpr char lblCloudRatio[] = "lblCloudRatio";
inline constexpr char lblGeo[] = "lblGeo";
inline constexpr char lblJMPWarning1[] = "lblJMPWarning1";
inline constexpr char lblJMPWarning2[] = "lblJMPWarning2";
inline constexpr char lblLanguage[] = "lblLanguage";
inline constexpr char lblMoon[] = "lblMoon";
inline constexpr char lblName0[] = "lblName0";
inline constexpr char lblPWMPrescaler[] = "lblPWMPrescaler";
inline constexpr char lblStormRatio[] = "lblStormRatio";
inline constexpr char lblTWIBitrate[] = "lblTWIBitrate";
inline constexpr char lblVisualize[] = "lblVisualize";
inline constexpr char lblWeatherDelay[] = "lblWeatherDelay";

// Group boxes
inline constexpr char gbxAlerts[] = "gbxAlerts";
inline constexpr char gbxChartMode[] = "gbxChartMode";
inline constexpr char gbxCloud[] = "gbxCloud";
inline constexpr char gbxCloudTemp[] = "gbxCloudTemp";
inline constexpr char gbxFan[] = "gbxFan";
inline constexpr char gbxFanMode[] = "gbxFanMode";
inline constexpr char gbxLCDBL[] = "gbxLCDBL";
inline constexpr char gbxLCDFormat[] = "gbxLCDFormat";
inline constexpr char gbxLightningMask[] = "gbxLightningMask";
inline constexpr char gbxStorm[] = "gbxStorm";
inline constexpr char gbxTemperatureUnit[] = "gbxTemperatureUnit";
inline constexpr char gbxTimeFormat[] = "gbxTimeFormat";
inline constexpr char gbxTimeZone[] = "gbxTimeZone";

// Buttons
inline constexpr char btnApplyTZI[] = "btnApplyTZI";
inline constexpr char btnCloud[] = "btnCloud";
inline constexpr char btnNow[] = "btnNow";
inline constexpr char btnOff0[] = "btnOff0";
inline constexpr char btnOn0[] = "btnOn0";
inline constexpr char btnRealtime[] = "btnRealtime";
inline constexpr char btnStorm[] = "btnStorm";

// Edits
inline constexpr char edtAlertWaterHigh[] = "edtAlertWaterHigh";
inline constexpr char edtAlertWaterLow[] = "edtAlertWaterLow";
inline constexpr char edtBalanceSum[] = "edtBalanceSum";
inline constexpr char edtBalanceSumRamp[] = "edtBalanceSumRamp";
inline constexpr char edtChartInterval[] = "edtChartInterval";
inline constexpr char edtChartScale[] = "edtChartScale";
inline constexpr char edtCloudTempBoard[] = "edtCloudTempBoard";
inline constexpr char edtCloudTempWater[] = "edtCloudTempWater";
inline constexpr char edtLat[] = "edtLat";
inline constexpr char edtLon[] = "edtLon";
inline constexpr char edtPWMPrescaler[] = "edtPWMPrescaler";
inline constexpr char edtRandomInit[] = "edtRandomInit";
inline constexpr char edtTWIBitrate[] = "edtTWIBitrate";
inline constexpr char edtTempCoolHigh[] = "edtTempCoolHigh";
inline constexpr char edtTempCoolLow[] = "edtTempCoolLow";
inline constexpr char edtTempHeatHigh[] = "edtTempHeatHigh";
inline constexpr char edtTempHeatLow[] = "edtTempHeatLow";
inline constexpr char edtTempOffset[] = "edtTempOffset";
inline constexpr char edtTempWaterHigh[] = "edtTempWaterHigh";
inline constexpr char edtTempWaterLow[] = "edtTempWaterLow";
inline constexpr char edtTime[] = "edtTime";
inline constexpr char edtTimeLapse[] = "edtTimeLapse";
inline constexpr char edtTimeZoneBias[] = "edtTimeZoneBias";
inline constexpr char edtTimeZoneDaylightDay[] = "edtTimeZoneDaylightDay";
inline constexpr char edtTimeZoneDaylightDayOfWeek[] = "edtTimeZoneDaylightDayOfWeek";
inline constexpr char edtTimeZoneDaylightHour[] = "edtTimeZoneDaylightHour";
inline constexpr char edtTimeZoneDaylightMonth[] = "edtTimeZoneDaylightMonth";
inline constexpr char edtTimeZoneStandardDay[] = "edtTimeZoneStandardDay";
inline constexpr char edtTimeZoneStandardDayOfWeek[] = "edtTimeZoneStandardDayOfWeek";
inline constexpr char edtTimeZoneStandardHour[] = "edtTimeZoneStandardHour";
inline constexpr char edtTimeZoneStandardMonth[] = "edtTimeZoneStandardMonth";

// Sliders
inline constexpr char trbBalanceSum[] = "trbBalanceSum";
inline constexpr char trbTime[] = "trbTime";
inline constexpr char trbTimeLapse[] = "trbTimeLapse";

// Combo boxes
inline constexpr char cmbLanguage[] = "cmbLanguage";
inline constexpr char cmbVisualize[] = "cmbVisualize";

// Radio buttons
inline constexpr char rbt12h[] = "rbt12h";
inline constexpr char rbt16x2[] = "rbt16x2";
inline constexpr char rbt20x4[] = "rbt20x4";
inline constexpr char rbt24h[] = "rbt24h";
inline constexpr char rbtCHMTempBoard[] = "rbtCHMTempBoard";
inline constexpr char rbtCHMTempSlave[] = "rbtCHMTempSlave";
inline constexpr char rbtCHMTempWater[] = "rbtCHMTempWater";
inline constexpr char rbtCHMVoltage[] = "rbtCHMVoltage";
inline constexpr char rbtCelsius[] = "rbtCelsius";
inline constexpr char rbtFMOLED[] = "rbtFMOLED";
inline constexpr char rbtFMOWater[] = "rbtFMOWater";
inline constexpr char rbtFMOWaterMaster[] = "rbtFMOWaterMaster";
inline constexpr char rbtFahrenheit[] = "rbtFahrenheit";
inline constexpr char rbtJMPCloud[] = "rbtJMPCloud";
inline constexpr char rbtJMPCooler[] = "rbtJMPCooler";
inline constexpr char rbtJMPHeater[] = "rbtJMPHeater";
inline constexpr char rbtJMPIRLearn[] = "rbtJMPIRLearn";
inline constexpr char rbtJMPLightning[] = "rbtJMPLightning";
inline constexpr char rbtJMPPWM[] = "rbtJMPPWM";
inline constexpr char rbtJMPServo[] = "rbtJMPServo";
inline constexpr char rbtJMPStorm[] = "rbtJMPStorm";
inline constexpr char rbtJMPTimer[] = "rbtJMPTimer";

// Check boxes
inline constexpr char cbxAlertWater[] = "cbxAlertWater";
inline constexpr char cbxAlerts[] = "cbxAlerts";
inline constexpr char cbxTimeLock[] = "cbxTimeLock";

// Pictures
inline constexpr char img[] = "img";
inline constexpr char imgGeo[] = "imgGeo";
inline constexpr char imgHealth[] = "imgHealth";
inline constexpr char imgJMP[] = "imgJMP";
inline constexpr char imgMoon[] = "imgMoon";
inline constexpr char imgTemp[] = "imgTemp";

// The date picker
inline constexpr char dtp[] = "dtp";

// The schedule grid
inline constexpr char sgSchedule[] = "sgSchedule";

// Stems of the controls made per channel or per pair: stem + channel index
// ("trb" + 3: trb3), kind + role ("edt" + "FanLow": edtFanLow).
namespace stem {
inline constexpr char trb[] = "trb";
inline constexpr char edt[] = "edt";
inline constexpr char btnOff[] = "btnOff";
inline constexpr char btnOn[] = "btnOn";
inline constexpr char lblName[] = "lblName";
inline constexpr char cmbName[] = "cmbName";
inline constexpr char edtLightningMask[] = "edtLightningMask";
// The chart sources' radio buttons and their pop-up menu items ("TempWater", ...).
inline constexpr char rbtCHM[] = "rbtCHM";
inline constexpr char mnuCHM[] = "mnuCHM";
// The cloud temperature edits, per sensor ("TempWater", "TempBoard").
inline constexpr char edtCloud[] = "edtCloud";
// The caption label of a labelled edit: the edit's own name is what the captions use.
inline constexpr char lbl_[] = "lbl_";
}  // namespace stem

// A control made per channel: its stem and the channel index.
inline QString Indexed(const char* stem, int channel) {
  return QString::fromLatin1(stem) + QString::number(channel);
}

}  // namespace vmx::names
