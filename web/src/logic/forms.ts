// The settings screens, generated from the service's key table: each field
// takes its label, range, step and slider from the key's entry, so a key the
// board gains appears with its rules without a change here. This file only
// says which keys a screen gathers and in which groups.
import { parseWhole, Typed } from './numbers';
import { channelCaption, Words } from './texts';

export interface KeyInfo {
  section: string;
  key: string;
  type: string;
  min: number;
  max: number;
  step: number;
  slider: [number, number] | null;
  shown: string;
  caption: string | null;
}

// A field of a form: one settings key.
export interface Field {
  kind: 'number';
  info: KeyInfo;
  label: string;
  hint: string | null;
  channel: number | null;
}

// A key whose values are named choices (radio buttons), or a bit of one.
export interface Choice {
  kind: 'choice';
  info: KeyInfo;
  label: string;
  options: { value: number; label: string }[];
  bit?: number;  // the choice sets or clears this bit of the value
}

export type Item = Field | Choice;

export interface Group {
  title: string | null;
  items: Item[];
}

export interface Screen {
  id: string;
  title: string;
  note: string | null;
  groups: Group[];
}

type GroupPlan = {
  title?: string;
  keys?: string[];
  choice?: { key: string; options: string[]; bit?: number };
};
type ScreenPlan = { id: string; title: string; note?: string; groups: GroupPlan[] };

const channels = (stem: string) => Array.from({ length: 12 }, (_, i) => `${stem}${i}`);

const PLANS: ScreenPlan[] = [
  {
    id: 'config', title: 'tsConfig.Caption', groups: [
      { title: 'gbxLCDBL.Caption', keys: ['LCDBLMax', 'LCDBLMin', 'LCDBLNight'] },
      { title: 'gbxFan.Caption', keys: ['FanHigh', 'FanLow', 'FanOff'] },
      { keys: ['TimeLapse'] },
      { title: 'mnuStepBig.Caption', choice: { key: 'Flag', bit: 0x01, options: ['OFF', 'ON'] } },
    ],
  },
  {
    id: 'expert', title: 'tsExpert.Caption', groups: [
      { title: 'gbxTemperatureUnit.Caption',
        choice: { key: 'Flag', bit: 0x04, options: ['rbtCelsius.Caption', 'rbtFahrenheit.Caption'] } },
      { title: 'gbxTimeFormat.Caption',
        choice: { key: 'Flag', bit: 0x08, options: ['rbt24h.Caption', 'rbt12h.Caption'] } },
      { title: 'gbxLCDFormat.Caption',
        choice: { key: 'Flag', bit: 0x02, options: ['rbt16x2.Caption', 'rbt20x4.Caption'] } },
      { title: 'lblLanguage.Caption', choice: { key: 'Language', options: ['English', 'German'] } },
      { title: 'gbxFanMode.Caption', choice: { key: 'FanMode',
        options: ['rbtFMOLED.Caption', 'rbtFMOWater.Caption', 'rbtFMOWaterMaster.Caption'] } },
      { keys: ['TempWaterLow', 'TempWaterHigh', 'TempOffset', 'PWMPrescaler', 'TWIBitrate',
        'RandomInit', 'ChartInterval', 'ChartScale'] },
      { title: 'gbxChartMode.Caption', choice: { key: 'ChartMode', options: ['rbtCHMTempWater.Caption',
        'rbtCHMTempBoard.Caption', 'rbtCHMVoltage.Caption', 'rbtCHMTempSlave.Caption'] } },
      { title: 'gbxCloudTemp.Caption', keys: ['CloudTempWater', 'CloudTempBoard'] },
      { title: 'gbxLightningMask.Caption', keys: channels('LightningMask') },
      { title: 'tsJMP.Caption', choice: { key: 'JMPMode', options: ['rbtJMPIRLearn.Caption',
        'rbtJMPCloud.Caption', 'rbtJMPStorm.Caption', 'rbtJMPCooler.Caption', 'rbtJMPHeater.Caption',
        'rbtJMPLightning.Caption', 'rbtJMPTimer.Caption', 'rbtJMPServo.Caption', 'rbtJMPPWM.Caption'] } },
      { keys: ['TempCoolLow', 'TempCoolHigh', 'TempHeatLow', 'TempHeatHigh'] },
    ],
  },
  {
    id: 'weather', title: 'tsWeather.Caption', groups: [
      { title: 'gbxCloud.Caption', keys: ['CloudP', 'CloudD', 'CloudAlpha', 'CloudStep'] },
      { title: 'gbxStorm.Caption', keys: ['StormP', 'StormD', 'StormAlpha', 'StormStep', 'LightningP'] },
    ],
  },
  { id: 'delays', title: 'tsWeatherDelay.Caption', note: 'lblWeatherDelay.Caption',
    groups: [{ keys: channels('WeatherDelay') }] },
  { id: 'moon', title: 'tsMoon.Caption', note: 'lblMoon.Caption', groups: [{ keys: channels('MoonColor16') }] },
  { id: 'balance', title: 'tsBalance.Caption', note: 'lblBalance.Caption',
    groups: [{ keys: [...channels('Balance'), 'BalanceSum', 'BalanceSumRamp'] }] },
  { id: 'timezone', title: 'gbxTimeZone.Caption', groups: [{ keys: ['Bias', 'StandardMonth',
    'StandardDay', 'StandardHour', 'StandardDayOfWeek', 'DaylightMonth', 'DaylightDay', 'DaylightHour',
    'DaylightDayOfWeek'] }] },
];

// Captions the window gives a key through another control's name.
const OTHER_CAPTIONS: Record<string, string> = {
  TempWaterHigh: 'edtTempWaterLow.Caption',
  TempCoolHigh: 'edtTempCoolLow.Caption',
  TempHeatHigh: 'edtTempHeatLow.Caption',
  CloudP: 'edtCloudCount.Caption',
  CloudD: 'edtCloudSeconds.Caption',
  StormP: 'edtStormCount.Caption',
  StormD: 'edtStormMinutes.Caption',
  CloudTempWater: 'HomeWaterTemperature',
  CloudTempBoard: 'WebBoardTemperature',
};

// The channel of a per-channel key ("Balance3" is 3), by the twelve families.
export function channelOf(key: string): number | null {
  const m = /^(Balance|MoonColor16|WeatherDelay|LightningMask|ColorName)(\d{1,2})$/.exec(key);
  if (!m) return null;
  const n = Number(m[2]);
  return n < 12 ? n : null;
}

export function labelOf(info: KeyInfo, words: Words, colors: number[]): string {
  const channel = channelOf(info.key);
  if (channel !== null) return channelCaption(words, channel, colors[channel] ?? 0);
  for (const k of [info.caption, OTHER_CAPTIONS[info.key], `edt${info.key}.Caption`,
    `edtTimeZone${info.key}.Caption`]) {
    if (k && words.has(k)) return words.t(k);
  }
  return info.key;
}

export function hintOf(info: KeyInfo, words: Words): string | null {
  const k = (info.caption ?? `edt${info.key}.Caption`).replace(/\.Caption$/, '.Hint');
  return words.has(k) ? words.t(k) : null;
}

export function findKey(keys: KeyInfo[], section: string, key: string): KeyInfo | undefined {
  return keys.find((k) => k.section !== 'Row' && k.key === key &&
    (section === '' || k.section === section));
}

// Every screen with the keys the service knows; a key it does not know is left out.
export function buildScreens(keys: KeyInfo[], words: Words, colors: number[]): Screen[] {
  return PLANS.map((plan) => ({
    id: plan.id,
    title: words.t(plan.title),
    note: plan.note ? words.t(plan.note) : null,
    groups: plan.groups.map((g) => {
      const items: Item[] = [];
      if (g.choice) {
        const info = findKey(keys, '', g.choice.key);
        const bit = g.choice.bit;
        if (info) {
          items.push({
            kind: 'choice', info, bit, label: g.title ? words.t(g.title) : info.key,
            options: g.choice.options.map((o, i) => ({ value: bit ? (i ? bit : 0) : i, label: words.t(o) })),
          });
        }
      }
      for (const key of g.keys ?? []) {
        const info = findKey(keys, '', key);
        if (!info) continue;
        items.push({ kind: 'number', info, label: labelOf(info, words, colors), hint: hintOf(info, words),
          channel: channelOf(key) });
      }
      // A choice alone carries the group's title itself.
      return { title: g.title && g.keys ? words.t(g.title) : null, items };
    }),
  }));
}

// A typed value checked against its key: a whole number in the field's range,
// or the reason it is refused. Nothing refused is ever sent.
export function checkValue(text: string, info: KeyInfo, words: Words): Typed<number> {
  const v = parseWhole(text);
  if (v === null) return { ok: false, reason: words.t('WebNotWholeNumber', text.trim() || '""') };
  if (v < info.min || v > info.max)
    return { ok: false, reason: words.t('WebOutOfRange', v, info.min, info.max) };
  return { ok: true, value: v };
}

// The value a choice writes: the option itself, or the bit set or cleared in `current`.
export function choiceValue(choice: Choice, option: number, current: number): number {
  if (choice.bit === undefined) return option;
  return option ? current | choice.bit : current & ~choice.bit;
}

export function choiceSelected(choice: Choice, current: number): number {
  return choice.bit === undefined ? current : current & choice.bit;
}
