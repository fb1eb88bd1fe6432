// The schedule's lines as the grid and the day's curves edit them: cell
// checks, the cells a change sends, and the geometry of the curves.
import { formatNumber, parseDecimal, parseWhole, roundHalfEven, Typed } from './numbers';
import { Words } from './texts';

export interface Row {
  line: number;
  cells: string[];  // the grid's 18 columns, as the service formats them
  Hour: number;
  Minute: number;
  Alt: number;
  Color16: number[];
  Timer: number;
  Switch: number;
}

export interface Schedule {
  Mode: number;
  headings: string[];
  rows: Row[];
}

export const COL_TIME = 1;
export const COL_FIRST_CHANNEL = 2;
export const COL_FIRST_SWITCH = 14;
export const COL_TIMER = 17;
export const COLUMNS = 18;

export const isGeo = (mode: number) => mode === 2;

// A typed cell checked by its column's rules; the text to send when it fits.
export function checkCell(column: number, text: string, geo: boolean, words: Words): Typed<string> {
  const t = text.trim();
  const refuse = (key: string, ...args: (string | number)[]) =>
    ({ ok: false as const, reason: words.t(key, ...args) });
  if (column === COL_TIME && !geo) {
    const m = /^(\d{1,2}):(\d{2})$/.exec(t);
    if (!m) return refuse('WebBadTime', t);
    const h = Number(m[1]), min = Number(m[2]);
    if (h > 24 || min > 59 || (h === 24 && min > 0)) return refuse('WebBadTime', t);
    return { ok: true, value: `${m[1].padStart(2, '0')}:${m[2]}` };
  }
  if (column === COL_TIMER) {
    const v = parseWhole(t);
    if (v === null || v < -32768 || v > 32767) return refuse('WebOutOfRange', t, -32768, 32767);
    return { ok: true, value: String(v) };
  }
  const v = parseDecimal(t);
  const [lo, hi] = column === COL_TIME ? [-90, 90] : [0, 100];
  if (v === null || v < lo || v > hi) return refuse('WebOutOfRange', t, lo, hi);
  return { ok: true, value: String(v) };
}

// The line's cells for PUT .../schedule/{line}: "-" keeps a cell as it is.
export function cellsWith(changes: Record<number, string>): string[] {
  const cells: string[] = [];
  for (let c = COL_TIME; c < COLUMNS; ++c) cells.push(changes[c] ?? '-');
  return cells;
}

// A stored intensity (0..4096) as the grid's percent text: "0.##" with a "."
// mark, which the service reads back to the same value.
export function percentCell(raw: number): string {
  return formatNumber(raw / 40.96, 2, 'en-US');
}

// Position angles of the rows in Geo mode, in degrees: rising rows left of
// noon, setting rows right, the peak on the setting side.
export function geoAngles(alts: number[]): number[] {
  const n = alts.length;
  const psi = new Array<number>(n).fill(0);
  const deg = (a: number) => (Math.abs(a) > 10000 ? null : (Math.asin(a / 10000) * 180) / Math.PI);
  for (let k = 0; k < n - 1; ++k) {
    psi[k] = (deg(alts[k]) ?? 0) + 90;
    if (!(alts[k + 1] >= alts[k])) break;
  }
  for (let k = n - 1; k >= 1; --k) {
    const d = deg(alts[k]);
    psi[k] = d === null ? 270 : 270 - d;
    if (!(alts[k] <= alts[k - 1])) break;
  }
  return psi;
}

// The x of every row: minutes of the day (Auto), or the sun's position angle (Geo).
export function rowPositions(s: Schedule): number[] {
  return isGeo(s.Mode) ? geoAngles(s.rows.map((r) => r.Alt)) : s.rows.map((r) => r.Hour * 60 + r.Minute);
}

// The curves' data: a point at the day's start with the last row's level
// (carried over from the day before), then one point per row; levels in percent.
export function curveData(s: Schedule): number[][] {
  const xs = [0, ...rowPositions(s)];
  const data: number[][] = [xs];
  const last = s.rows[s.rows.length - 1];
  for (let c = 0; c < 12; ++c)
    data.push([last ? last.Color16[c] / 40.96 : 0, ...s.rows.map((r) => r.Color16[c] / 40.96)]);
  return data;
}

// The first row whose point of `channel` lies within 8 pixels of (x, y).
export function hitRow(points: { x: number; y: number }[], x: number, y: number): number {
  return points.findIndex((p) => Math.abs(p.x - x) <= 8 && Math.abs(p.y - y) <= 8);
}

// A dragged point's new minutes and intensity from the axis values under the
// pointer, clamped to the day and to 0..100 %.
export function dragged(minutes: number, percent: number): { minutes: number; raw: number } {
  return {
    minutes: Math.min(1440, Math.max(0, roundHalfEven(minutes))),
    raw: Math.min(4096, Math.max(0, roundHalfEven(percent * 40.96))),
  };
}

export function timeText(minutes: number): string {
  const h = Math.floor(minutes / 60), m = minutes % 60;
  return `${String(h).padStart(2, '0')}:${String(m).padStart(2, '0')}`;
}

// The label of a dragged point: "07:30 50 %" (Auto) or "30° 50 %" (Geo).
export function pointLabel(row: Row, channel: number, geo: boolean, locale?: string): string {
  const v = row.Color16[channel] / 40.96;
  if (geo) {
    const a = Math.abs(row.Alt) > 10000 ? 0 : (Math.asin(row.Alt / 10000) * 180) / Math.PI;
    return `${formatNumber(a, 2, locale)}° ${formatNumber(v, 0, locale)} %`;
  }
  return `${timeText(row.Hour * 60 + row.Minute)} ${formatNumber(v, 2, locale)} %`;
}
