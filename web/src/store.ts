// What the interface knows of the service and its boards, kept current by the
// event stream; every screen renders from it.
import { useEffect, useState } from 'preact/hooks';
import { ApiError, call, Events } from './api';
import { KeyInfo } from './logic/forms';
import { Schedule } from './logic/schedule';
import { MODES, Tables, Words } from './logic/texts';

export interface Summary {
  id: string;
  port: string;
  connected: boolean;
  firmware: string | null;
  mode: string | null;
  complete: boolean;
}

export interface Status {
  id: string;
  connected: boolean;
  clock: string;
  row: number;
  channels: number[];
  unit: 'C' | 'F';
  temperatures: { board: number | null; water: number | null; second: number | null };
  voltage: number;
  flags: Record<string, boolean>;
  cloud: boolean;
  storm: boolean;
}

export type Settings = Record<string, Record<string, number>>;

// The board's acclimation plan as the service tells it.
export interface Plan {
  state: 'none' | 'running' | 'paused' | 'finished' | 'cancelled';
  factor?: number;
  day?: number;
  days?: number;
}

export interface Board {
  summary: Summary;
  status?: Status;
  settings?: Settings;
  schedule?: Schedule;
  plan?: Plan;
}

export interface State {
  phase: 'loading' | 'signin' | 'ready';
  signinError: string | null;
  serviceLost: boolean;
  boards: Record<string, Board>;
  order: string[];
  selected: string | null;
  keys: KeyInfo[];
  words: Words;
  notice: { text: string; error: boolean } | null;
}

const listeners = new Set<() => void>();
export let state: State = {
  phase: 'loading', signinError: null, serviceLost: false, boards: {}, order: [], selected: null,
  keys: [], words: new Words('en', {}), notice: null,
};

export function update(change: Partial<State>): void {
  state = { ...state, ...change };
  for (const l of listeners) l();
}

function updateBoard(id: string, change: Partial<Board>): void {
  const old = state.boards[id];
  if (!old && !change.summary) return;
  update({ boards: { ...state.boards, [id]: { ...old, ...change } as Board } });
}

// The board's mode word ("auto"), from its settings as last read, which follow
// every change; the summary's until they are read.
export function modeOf(board: Board | undefined): string | null {
  const mode = board?.settings?.Config?.Mode;
  if (mode !== undefined) return MODES[mode] ?? null;
  return board?.summary.mode ?? null;
}

export function useStore(): State {
  const [, setTick] = useState(0);
  useEffect(() => {
    const l = () => setTick((t) => t + 1);
    listeners.add(l);
    return () => void listeners.delete(l);
  }, []);
  return state;
}

export function chosenLanguage(): 'en' | 'de' {
  const kept = localStorage.getItem('vmx-lang');
  if (kept === 'en' || kept === 'de') return kept;
  return navigator.language.toLowerCase().startsWith('de') ? 'de' : 'en';
}

export async function loadWords(lang: 'en' | 'de'): Promise<void> {
  const tables = await call<Tables>('GET', `/api/v1/texts?lang=${lang}`);
  document.documentElement.lang = lang;
  update({ words: new Words(lang, tables) });
}

export async function setLanguage(lang: 'en' | 'de'): Promise<void> {
  localStorage.setItem('vmx-lang', lang);
  await loadWords(lang);
}

// One part of a board; nothing while it is not connected or not read yet
// (the events bring it later) or when it went away meanwhile.
async function boardPart<T>(id: string, what: string): Promise<T | undefined> {
  try {
    return await call<T>('GET', `/api/v1/boards/${encodeURIComponent(id)}/${what}`);
  } catch {
    return undefined;
  }
}

async function loadBoard(id: string): Promise<void> {
  const [status, settings, schedule, plan] = await Promise.all([boardPart<Status>(id, 'status'),
    boardPart<Settings>(id, 'settings'), boardPart<Schedule>(id, 'schedule'), boardPart<Plan>(id, 'acclimation')]);
  updateBoard(id, { status, settings, schedule, plan });
}

// A plan takes its step when the day turns, or when it is made or cancelled
// elsewhere: looked at again now and then.
export async function loadPlans(): Promise<void> {
  await Promise.all(state.order.map(async (id) => {
    const plan = await boardPart<Plan>(id, 'acclimation');
    if (plan) updateBoard(id, { plan });
  }));
}

async function loadBoards(): Promise<void> {
  const list = await call<Summary[]>('GET', '/api/v1/boards');
  const boards: Record<string, Board> = {};
  for (const s of list) boards[s.id] = { ...state.boards[s.id], summary: s };
  const order = list.map((s) => s.id);
  const kept = localStorage.getItem('vmx-board');
  const selected = state.selected && boards[state.selected] ? state.selected
    : kept && boards[kept] ? kept : order[0] ?? null;
  update({ boards, order, selected });
  await Promise.all(order.map(loadBoard));
}

const events = new Events({
  board: (d: Summary & { change: string }) => {
    const { change, ...summary } = d;
    if (change === 'removed') {
      const boards = { ...state.boards };
      delete boards[d.id];
      update({ boards, order: state.order.filter((id) => id !== d.id) });
      return;
    }
    if (!state.boards[d.id]) update({ order: [...state.order, d.id] });
    updateBoard(d.id, { summary: summary as Summary });
    if (change === 'complete') void loadBoard(d.id);
  },
  status: (d: Status) => updateBoard(d.id, { status: d }),
  settings: (d: { id: string; settings: Settings; schedule: Schedule }) =>
    updateBoard(d.id, { settings: d.settings, schedule: d.schedule }),
}, () => {
  const wasLost = state.serviceLost;
  update({ serviceLost: false });
  // What changed while the stream was away is read again.
  if (wasLost) void start();
}, () => {
  update({ serviceLost: true });
});

// Reads everything, or asks for sign-in when the service wants credentials.
export async function start(): Promise<void> {
  try {
    const [keys] = await Promise.all([call<KeyInfo[]>('GET', '/api/v1/keys'), loadBoards()]);
    update({ keys, phase: 'ready', serviceLost: false });
    events.open();
  } catch (e) {
    if (e instanceof ApiError && e.status === 401) {
      events.close();
      update({ phase: 'signin' });
    } else {
      update({ serviceLost: true });
      events.retry();
      window.setTimeout(() => void start(), 1000);
    }
  }
}

export async function signIn(body: { user?: string; password?: string; token?: string }): Promise<void> {
  try {
    await call('POST', '/api/v1/login', body);
    update({ signinError: null, phase: 'loading' });
    await start();
  } catch (e) {
    const status = e instanceof ApiError ? e.status : 0;
    update({ signinError: state.words.t(status === 429 ? 'WebSignInThrottled' : 'WebSignInRefused') });
  }
}

export async function signOut(): Promise<void> {
  try {
    await call('POST', '/api/v1/logout');
  } finally {
    events.close();
    update({ phase: 'signin', boards: {}, order: [] });
  }
}

export function select(id: string): void {
  localStorage.setItem('vmx-board', id);
  update({ selected: id });
}

export function notify(text: string, error = false): void {
  update({ notice: { text, error } });
}

// A change to a board: sent, answered after the board's read-back, and the
// answer shown at once (the event stream brings it to the other browsers).
export async function write<T>(method: string, path: string, body?: unknown): Promise<T | null> {
  const id = state.selected;
  if (!id) return null;
  try {
    const answer = await call<T>(method, `/api/v1/boards/${encodeURIComponent(id)}/${path}`, body);
    if (path === 'settings') updateBoard(id, { settings: answer as Settings });
    if (path.startsWith('schedule')) updateBoard(id, { schedule: answer as Schedule });
    // The answer names the mode the board took; its settings follow with the next read.
    const mode = path === 'mode' ? MODES.indexOf((answer as { mode: (typeof MODES)[number] }).mode) : -1;
    const settings = state.boards[id]?.settings;
    if (mode >= 0 && settings) updateBoard(id, { settings: { ...settings, Config: { ...settings.Config, Mode: mode } } });
    notify(state.words.t('WebDone'));
    return answer;
  } catch (e) {
    console.error(`${method} ${path}:`, e);
    notify(state.words.t('WebRefused', e instanceof Error ? e.message : String(e)), true);
    return null;
  }
}
