// The interface's own rules, without a browser: its sources compiled by
// esbuild, then held against the window's worked numbers.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { build } from 'esbuild';

const dir = mkdtempSync(join(tmpdir(), 'vmx-logic-'));
after(() => rmSync(dir, { recursive: true, force: true }));
const modules = {};
for (const name of ['numbers', 'shown', 'texts', 'forms', 'schedule']) {
  await build({ entryPoints: [join(import.meta.dirname, `../src/logic/${name}.ts`)], bundle: true, format: 'esm',
    outfile: join(dir, `${name}.mjs`), logLevel: 'error' });
  modules[name] = await import(pathToFileURL(join(dir, `${name}.mjs`)).href);
}
const { numbers, shown, texts, forms, schedule } = modules;

const words = new texts.Words('en', {
  Messages: { WebNotWholeNumber: '%s is not a whole number.', WebOutOfRange: '%s is outside %s to %s.',
    WebBadTime: '%s is no time from 00:00 to 24:00.', ColorRed: 'Red', ColorUnnamed: 'Unnamed' },
  frmLantix: { 'edtFanLow.Caption': 'Slow level (%)', 'edtFanLow.Hint': 'how slow', 'gbxFan.Caption': 'Fan speed',
    'edtTempWaterLow.Caption': 'Fan hysteresis', 'edtTimeZoneBias.Caption': 'Offset from UTC (minutes)',
    'rbtCelsius.Caption': 'Celsius (°C)', 'rbtFahrenheit.Caption': 'Fahrenheit (°F)', 'mnuFile.Caption': '&File' },
});
const key = (section, name, type, min, max, extra = {}) =>
  ({ section, key: name, type, min, max, step: 1, slider: null, shown: 'integer', caption: null, ...extra });

// esbuild strips the types unread: the compiler checks them.
test('the sources type-check', () => {
  const tsc = createRequire(import.meta.url).resolve('typescript/bin/tsc');
  const run = spawnSync(process.execPath, [tsc, '-p', join(import.meta.dirname, '..')], { encoding: 'utf8' });
  assert.equal(run.status, 0, run.stdout + run.stderr);
});

test('rounding, parsing and locale formatting', () => {
  for (const [x, want] of [[0.5, 0], [1.5, 2], [2.5, 2], [-0.5, 0], [-1.5, -2], [127.5, 128], [1363.968, 1364], [2.4, 2]])
    assert.equal(numbers.roundHalfEven(x), want, `round ${x}`);
  for (const [text, want] of [['12.5', 12.5], ['12,5', 12.5], [' 7 ', 7], ['-3', -3], ['.5', 0.5],
    ['1e3', null], ['12.5.1', null], ['', null], ['1 000', null], ['0x10', null]])
    assert.equal(numbers.parseDecimal(text), want, `decimal "${text}"`);
  for (const [text, want] of [['76', 76], ['-1', -1], ['+4', 4], ['7.0', null], ['x', null], ['', null]])
    assert.equal(numbers.parseWhole(text), want, `whole "${text}"`);
  assert.equal(numbers.formatNumber(12.5, 2, 'de-DE'), '12,5');
  assert.equal(numbers.formatNumber(1000.126, 2, 'en-US'), '1000.13');
  assert.equal(numbers.formatNumber(-0.001, 1, 'en-US'), '0');
  assert.equal(numbers.formatNumber(25, 1, 'en-US', true), '25.0');
  assert.equal(numbers.fillIn('%s is outside %s to %s.', 300, 0, 255), '300 is outside 0 to 255.');
  assert.equal(numbers.fillIn('Acclimation: %s%% today (day %s of %s)', 62.5, 3, 10),
    'Acclimation: 62.5% today (day 3 of 10)');
});

test('the window\'s ways of showing a raw value', () => {
  const c = { fahrenheit: false, locale: 'en-US' };
  const f = { fahrenheit: true, locale: 'en-US' };
  const cases = [
    ['percent255', 128, c, '50.2 %'], ['percent255', 255, c, '100 %'], ['percent4096', 2048, c, '50 %'],
    ['percent4096', 1364, c, '33.3 %'], ['moon_percent', 255, c, '6.23 %'], ['tenths', 5, c, '0.5 °C'],
    ['tenths', 290, f, '29.0 °C'], ['tenths_short', 5, c, '0.5 °C'], ['tenths_short', 10, c, '1 °C'],
    ['temperature', 250, c, '25.0 °C'], ['temperature', 250, f, '77.0 °F'], ['temperature', 253, f, '77.5 °F'],
    ['integer', 7, c, null],
  ];
  for (const [kind, raw, ctx, want] of cases) assert.equal(shown.shownText(kind, raw, ctx), want, `${kind} ${raw}`);
  assert.equal(shown.shownText('percent255', 128, { fahrenheit: false, locale: 'de-DE' }), '50,2 %');
  assert.equal(shown.rawOfPercent(12.5), 512);
  assert.equal(shown.rawOfPercent(33.3), 1364);
});

test('weather counts from the stored chances, in the window\'s integer arithmetic', () => {
  const cases = [['CloudP', 76, 100], ['CloudD', 1092, 60], ['CloudD', 65535, 1], ['CloudD', 0, null],
    ['StormP', 12, 6], ['StormD', 583, 29], ['StormD', 0, null], ['CloudStep', 5, null]];
  for (const [k, raw, want] of cases) assert.equal(shown.weatherCount(k, raw), want, `${k} ${raw}`);
});

test('typed values are checked against the key\'s range before anything is sent', () => {
  const fanLow = key('Config', 'FanLow', 'u8', 0, 255);
  const offset = key('Config', 'TempOffset', 's8', -128, 127);
  const cases = [
    [fanLow, '76', { ok: true, value: 76 }], [fanLow, ' 255 ', { ok: true, value: 255 }],
    [fanLow, '256', { ok: false, reason: '256 is outside 0 to 255.' }],
    [fanLow, '-1', { ok: false, reason: '-1 is outside 0 to 255.' }],
    [fanLow, '7.5', { ok: false, reason: '7.5 is not a whole number.' }],
    [fanLow, '', { ok: false, reason: '"" is not a whole number.' }],
    [offset, '-128', { ok: true, value: -128 }], [offset, '128', { ok: false, reason: '128 is outside -128 to 127.' }],
  ];
  for (const [info, text, want] of cases) assert.deepEqual(forms.checkValue(text, info, words), want, `${info.key} "${text}"`);
});

test('forms are generated from the key table: labels, channels, choices, unknown keys left out', () => {
  const keys = [
    key('Config', 'Flag', 'u8', 0, 255), key('Config', 'FanLow', 'u8', 0, 255,
      { slider: [0, 255], shown: 'percent255', caption: 'edtFanLow.Caption' }),
    key('Config', 'TempWaterHigh', 'u8', 0, 255), key('Weather', 'Balance3', 'u8', 0, 255, { slider: [0, 100] }),
    key('TimeZone', 'Bias', 's16', -32768, 32767), key('Row', 'Hour', 's8', -128, 127),
  ];
  const screens = forms.buildScreens(keys, words, [0, 0, 0, 2]);
  const items = (id) => screens.find((s) => s.id === id).groups.flatMap((g) => g.items);
  const config = items('config');
  assert.deepEqual(config.map((i) => [i.info.key, i.bit]), [['FanLow', undefined], ['Flag', 1]]);
  assert.deepEqual(config[1].options.map((o) => o.value), [0, 1]);
  assert.equal(config[0].label, 'Slow level (%)');
  assert.equal(config[0].hint, 'how slow');
  assert.deepEqual(config[0].info.slider, [0, 255]);
  assert.equal(screens.find((s) => s.id === 'config').groups[1].title, 'Fan speed');
  const expert = items('expert');
  const unit = expert.find((i) => i.kind === 'choice' && i.bit === 4);
  assert.deepEqual(unit.options, [{ value: 0, label: 'Celsius (°C)' }, { value: 4, label: 'Fahrenheit (°F)' }]);
  assert.equal(forms.choiceValue(unit, 4, 0x0a), 0x0e);
  assert.equal(forms.choiceValue(unit, 0, 0x0e), 0x0a);
  assert.equal(forms.choiceSelected(unit, 0x0e), 4);
  assert.equal(expert.find((i) => i.info.key === 'TempWaterHigh').label, 'Fan hysteresis');
  assert.equal(items('balance')[0].label, 'D: Red');
  assert.equal(items('balance')[0].channel, 3);
  assert.equal(items('timezone')[0].label, 'Offset from UTC (minutes)');
  assert.equal(items('weather').length, 0);
  for (const [k, want] of [['Balance11', 11], ['MoonColor160', 0], ['MoonColor1611', 11], ['Balance12', null],
    ['FanLow', null], ['ColorName5', 5]])
    assert.equal(forms.channelOf(k), want, k);
  assert.equal(words.t('mnuFile.Caption'), 'File');
  assert.equal(words.t('NoSuchKey'), 'NoSuchKey');
});

test('schedule cells are checked by their column and sent alone', () => {
  const cases = [
    [1, '7:05', false, { ok: true, value: '07:05' }], [1, '24:00', false, { ok: true, value: '24:00' }],
    [1, '24:01', false, { ok: false }], [1, '12:x', false, { ok: false }], [1, '7', false, { ok: false }],
    [1, '30', true, { ok: true, value: '30' }], [1, '-90', true, { ok: true, value: '-90' }], [1, '91', true, { ok: false }],
    [2, '12,5', false, { ok: true, value: '12.5' }], [2, '100', false, { ok: true, value: '100' }],
    [2, '101', false, { ok: false }], [13, '-1', false, { ok: false }],
    [17, '-32768', false, { ok: true, value: '-32768' }], [17, '1.5', false, { ok: false }],
  ];
  for (const [column, text, geo, want] of cases) {
    const got = schedule.checkCell(column, text, geo, words);
    assert.equal(got.ok, want.ok, `column ${column} "${text}"`);
    if (want.ok) assert.equal(got.value, want.value);
    else assert.match(got.reason, /outside|no time/);
  }
  assert.deepEqual(schedule.cellsWith({ 1: '07:30', 3: '50' }),
    ['07:30', '-', '50', '-', '-', '-', '-', '-', '-', '-', '-', '-', '-', '-', '-', '-', '-']);
  // Every stored level survives the trip through the grid's percent text.
  for (let raw = 0; raw <= 4096; ++raw)
    assert.equal(numbers.roundHalfEven(Number(schedule.percentCell(raw)) * 40.96), raw, `level ${raw}`);
});

test('the curves\' geometry: Geo positions, drag clamps, labels', () => {
  assert.deepEqual(schedule.geoAngles([0, 5000, 8660, 5000, 0]).map((a) => Math.round(a)), [90, 120, 210, 240, 270]);
  assert.deepEqual(schedule.geoAngles([0]), [0]);
  assert.deepEqual(schedule.geoAngles([10001, 0]), [90, 270]);
  const cases = [[-10, 120, 0, 4096], [1500, -5, 1440, 0], [720.5, 50, 720, 2048], [450.5, 12.5, 450, 512]];
  for (const [minutes, percent, m, raw] of cases)
    assert.deepEqual(schedule.dragged(minutes, percent), { minutes: m, raw }, `${minutes} ${percent}`);
  const row = { line: 0, cells: [], Hour: 7, Minute: 30, Alt: 5000, Color16: [2048], Timer: 0, Switch: 0 };
  assert.equal(schedule.pointLabel(row, 0, false, 'en-US'), '07:30 50 %');
  assert.equal(schedule.pointLabel(row, 0, true, 'en-US'), '30° 50 %');
  assert.equal(schedule.pointLabel({ ...row, Alt: 12000 }, 0, true, 'en-US'), '0° 50 %');
  const s = { Mode: 1, headings: [], rows: [row, { ...row, Hour: 20, Minute: 0, Color16: [1024] }] };
  assert.deepEqual(schedule.curveData(s).slice(0, 2), [[0, 450, 1200], [25, 50, 25]]);
  assert.equal(schedule.hitRow([{ x: 10, y: 10 }, { x: 14, y: 10 }], 18, 17), 0);
  assert.equal(schedule.hitRow([{ x: 10, y: 10 }], 19, 10), -1);
});
