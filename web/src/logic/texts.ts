// The words of both interfaces: the program's language tables as the service
// serves them, looked up as the window's catalogue does (a missing key gives
// the key itself).
import { fillIn } from './numbers';

export type Tables = Record<string, Record<string, string>>;

export class Words {
  constructor(readonly lang: 'en' | 'de', private readonly tables: Tables) {}

  // A message ("Messages") or a window caption ("frmLantix", "edtFanLow.Caption").
  t(key: string, ...args: (string | number)[]): string {
    const text = this.tables.Messages?.[key] ?? this.tables.frmLantix?.[key];
    if (text === undefined) return key;
    // The tables write a line break as backslash-n; "&" marks a menu accelerator.
    return fillIn(text.replace(/\\n/g, '\n').replace(/&(?=\S)/g, ''), ...args);
  }

  has(key: string): boolean {
    return this.tables.Messages?.[key] !== undefined || this.tables.frmLantix?.[key] !== undefined;
  }
}

export const COLOR_KEYS = [
  'ColorUnnamed', 'ColorWhite', 'ColorRed', 'ColorGreen', 'ColorBlue', 'ColorUV', 'ColorMoonLight',
  'ColorColdWhite', 'ColorWarmWhite', 'ColorYellow', 'ColorPurple', 'ColorRoyalBlue', 'ColorCyan',
  'ColorViolet', 'ColorOrange', 'ColorDeepRed',
];

// The light tints of the channel page (fields and grid cells).
export const CHANNEL_TINTS = [
  '#ffffff', '#ffffff', '#ff8080', '#80ff80', '#8080ff', '#c080ff', '#ffffff', '#f0f0ff', '#ffffe0',
  '#ffff00', '#ff80c0', '#a080ff', '#80ffff', '#c080ff', '#ffc080', '#c08080',
];

// The strong colours of the day's curves.
export const CURVE_COLORS = [
  '#ffffff', '#ffffff', '#ff0000', '#00ff00', '#0000ff', '#c000ff', '#ffffff', '#f0f0ff', '#ffffe0',
  '#ffff00', '#ff0080', '#4000ff', '#00ffff', '#c000ff', '#ffc000', '#c00000',
];

export function channelLetter(n: number): string {
  return String.fromCharCode(65 + n);
}

export function colorName(words: Words, index: number): string {
  return words.t(COLOR_KEYS[index] ?? 'ColorUnnamed');
}

// "A: Red".
export function channelCaption(words: Words, n: number, colorIndex: number): string {
  return `${channelLetter(n)}: ${colorName(words, colorIndex)}`;
}

export const MODES = ['manual', 'auto', 'geo', 'rgb', 'flash'] as const;
export const MODE_KEYS = ['ModeManual', 'ModeAuto', 'ModeGeo', 'ModeRGBDemo', 'ModeFlash'];
