// The interface as a keeper meets it: simulated boards on real ptys (their
// traffic read from their standard output), the real velmarinexd on a free
// local port, and Debian's Chromium driven by Playwright. Shared by the
// browser tests, the screenshots and the measurements.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

export const BIN = process.env.VMX_BIN ?? join(import.meta.dirname, '../../build/bin');
export const CHROMIUM = process.env.VMX_CHROMIUM ?? '/usr/bin/chromium';
// Every screen by the name in its address (#/tanks).
export const SCREENS = ['tanks', 'channels', 'schedule', 'config', 'expert', 'weather', 'delays', 'moon', 'balance',
  'timezone', 'actions', 'history', 'log'];

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export async function until(check, ms = 10000, what = 'a condition') {
  const end = Date.now() + ms;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(25);
  }
}

// One simulated board: its traffic, and its console for faults and sensors.
class Board {
  constructor(path, rows) {
    this.path = path;
    this.lines = [];
    this.proc = spawn(join(BIN, 'velmarinex-sim'), ['--rows', String(rows), '--link', path],
      { stdio: ['pipe', 'pipe', 'pipe'] });
    let rest = '';
    this.proc.stdout.on('data', (chunk) => {
      rest += chunk;
      const parts = rest.split('\n');
      rest = parts.pop();
      this.lines.push(...parts);
    });
    this.proc.stderr.on('data', () => {});
  }
  // What the computer sent from now on: `mark()` then `sentSince(mark, "02")`.
  mark() { return this.lines.length; }
  sentSince(mark, prefix = '') {
    return this.lines.slice(mark).map((l) => /PC {4}> (\S+)/.exec(l)?.[1]).filter((s) => s && s.startsWith(prefix));
  }
  // Sets only: SetInfo .. SetExpertWeather and the actions.
  setsSince(mark) {
    return this.sentSince(mark).filter((s) => /^0[1-6]/.test(s) || s.startsWith('7F'));
  }
  command(text) { this.proc.stdin.write(`${text}\n`); }
  stop() { this.proc.kill('SIGTERM'); }
}

export async function startRig({ boards = 1, rows = 8, extra = [] } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'vmx-web-'));
  const sims = [];
  for (let i = 0; i < boards; ++i) sims.push(new Board(join(dir, `board${i + 1}`), rows));
  await until(() => sims.every((s) => s.lines.length > 0), 10000, 'the simulated boards');
  const args = ['--listen', '127.0.0.1:0', '--data', join(dir, 'data'), ...extra];
  for (const s of sims) args.push('--port', s.path);
  const service = spawn(join(BIN, 'velmarinexd'), args, {
    env: { ...process.env, XDG_RUNTIME_DIR: dir }, stdio: ['ignore', 'ignore', 'pipe'] });
  let log = '';
  service.stderr.on('data', (c) => { log += c; });
  service.on('exit', (code, signal) => {
    log += `\n[velmarinexd ended: ${code ?? signal}]\n`;
    // Only a stop asked for is an expected end.
    if (signal !== 'SIGTERM' && code !== 0) console.error(`velmarinexd ended by itself (${code ?? signal}):\n${log.slice(-4000)}`);
  });
  const url = await until(() => /listening on (http:\/\/127\.0\.0\.1:\d+)/.exec(log)?.[1], 10000, 'the service');
  // Without a users file the token comes on a line of its own, which may come later than the address.
  const token = extra.includes('--users') ? null
    : await until(() => /\?token=([0-9a-f]+)/.exec(log)?.[1], 10000, 'the token');
  const rig = {
    dir, url, token, sims, service, log: () => log,
    ids: sims.map((_, i) => `vmx5_board${i + 1}`),
    async api(method, path, body) {
      const r = await fetch(url + path, { method, headers: { Authorization: `Bearer ${token}`,
        'Content-Type': 'application/json' }, body: body === undefined ? undefined : JSON.stringify(body) });
      const text = await r.text();
      return { status: r.status, body: text ? JSON.parse(text) : null };
    },
    async stop() {
      service.kill('SIGTERM');
      for (const s of sims) s.stop();
      await sleep(100);
      rmSync(dir, { recursive: true, force: true });
    },
  };
  if (token) {
    await until(async () => {
      const r = await rig.api('GET', '/api/v1/boards');
      return r.status === 200 && r.body.length === boards && r.body.every((b) => b.complete);
    }, 15000, 'every board read');
  }
  return rig;
}

export async function launch() {
  return chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A page signed in through the loopback link, on `screen`.
export async function openSignedIn(browser, rig, { locale = 'en-US', width = 1280, height = 900, screen = 'tanks' } = {}) {
  const context = await browser.newContext({ locale, viewport: { width, height }, bypassCSP: true });
  const page = await context.newPage();
  page.on('pageerror', (e) => console.error('page error:', e));
  try {
    await page.goto(`${rig.url}/?token=${rig.token}#/${screen}`);
    await page.waitForSelector('main h2', { timeout: 15000 });
  } catch (e) {
    throw new Error(`${e.message}\nthe page shows: ${await page.evaluate(() => document.body.innerText)}\n` +
      `the service logged: ${rig.log().slice(-3000)}`);
  }
  return page;
}

// A users file with one user, for the sign-in tests (the service wants it private).
export function usersFile(dir, line) {
  const path = join(dir, 'users');
  writeFileSync(path, `${line}\n`, { mode: 0o600 });
  return path;
}
