// Numbers as a keeper types and reads them: the browser's locale for display,
// either decimal mark accepted when typed, and the board's rounding.

// The browser's own locale, whatever language the words are in: a keeper
// reading German words on an English system still sees the numbers and
// times the system shows everywhere else.
export const browserLocale: string | undefined =
  typeof navigator === 'undefined' ? undefined : navigator.language;

export type Typed<T> = { ok: true; value: T } | { ok: false; reason: string };

// Nearest integer, ties to even, as the window rounds every real into a field.
export function roundHalfEven(x: number): number {
  const floor = Math.floor(x);
  const diff = x - floor;
  if (Math.abs(diff - 0.5) < 1e-9) return floor % 2 === 0 ? floor : floor + 1;
  return Math.round(x);
}

// A decimal number as typed: an optional sign, digits, one "." or "," mark.
// Nothing else (no blanks inside, no exponent, no grouping).
export function parseDecimal(text: string): number | null {
  const t = text.trim();
  if (!/^[+-]?(\d+([.,]\d*)?|[.,]\d+)$/.test(t)) return null;
  return Number(t.replace(',', '.'));
}

export function parseWhole(text: string): number | null {
  const t = text.trim();
  if (!/^[+-]?\d+$/.test(t)) return null;
  return Number(t);
}

const formats = new Map<string, Intl.NumberFormat>();

// `digits` decimals at most ("0.##" is 2), or exactly that many with `fixed` ("0.0").
export function formatNumber(value: number, digits: number, locale?: string, fixed = false): string {
  const key = `${locale ?? ''}|${digits}|${fixed}`;
  let f = formats.get(key);
  if (!f) {
    f = new Intl.NumberFormat(locale, {
      maximumFractionDigits: digits,
      minimumFractionDigits: fixed ? digits : 0,
      useGrouping: false,
    });
    formats.set(key, f);
  }
  const text = f.format(value);
  return text === '-0' ? '0' : text;
}

// "%s" placeholders filled in order, as the program's message catalogue does.
export function fillIn(text: string, ...args: (string | number)[]): string {
  let i = 0;
  // "%%" is a percent sign, as in the program's own filling.
  return text.replace(/%([s%])/g, (_, c) => (c === '%' ? '%' : String(args[i++] ?? '')));
}
