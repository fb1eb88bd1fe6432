// How the window shows a raw field value, by the "shown" kind the service's
// key table gives each key; the forms show this beside the raw value.
import { formatNumber, roundHalfEven } from './numbers';

export type ShownKind =
  | 'integer' | 'percent255' | 'percent4096' | 'tenths' | 'tenths_short' | 'temperature'
  | 'moon_percent';

export interface ShownContext {
  fahrenheit: boolean;
  locale?: string;
}

export function temperatureUnit(fahrenheit: boolean): string {
  return fahrenheit ? '°F' : '°C';
}

// Tenths of a degree Celsius in the board's unit, as the status line shows them.
export function formatTemperature(tenths: number, fahrenheit: boolean, locale?: string): string {
  const v = fahrenheit ? (9 * tenths) / 50 + 32 : tenths / 10;
  return formatNumber(v, 1, locale, true);
}

export function percentOf4096(raw: number): number {
  return raw / 40.96;
}

export function rawOfPercent(percent: number): number {
  return roundHalfEven(percent * 40.96);
}

// The value with its unit, or null where the raw value says it all.
export function shownText(kind: string, raw: number, c: ShownContext): string | null {
  switch (kind) {
    case 'percent255':
      return `${formatNumber((raw / 255) * 100, 1, c.locale)} %`;
    case 'percent4096':
      return `${formatNumber(raw / 40.96, 2, c.locale)} %`;
    case 'moon_percent':
      return `${formatNumber((raw * 100) / 4096, 2, c.locale)} %`;
    case 'tenths':
      return `${formatNumber(raw / 10, 1, c.locale, true)} °C`;
    case 'tenths_short':
      return `${formatNumber(raw / 10, 1, c.locale)} °C`;
    case 'temperature':
      return `${formatTemperature(raw, c.fahrenheit, c.locale)} ${temperatureUnit(c.fahrenheit)}`;
    default:
      return null;
  }
}

// The weather page's counts from the stored per-second chances, in the
// window's integer arithmetic (unsigned 32 bits, truncated).
export function weatherCount(key: string, raw: number): number | null {
  switch (key) {
    case 'CloudP':
      return Math.floor((raw * 86400) / 65536);
    case 'CloudD':
      return raw > 0 ? Math.floor(65536 / raw) : null;
    case 'StormP':
      return Math.floor((raw * 604800) / 1048576);
    case 'StormD':
      return raw > 0 ? Math.floor(17476 / raw) : null;
    default:
      return null;
  }
}
