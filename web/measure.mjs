// The interface's goals measured in Debian's Chromium against the real
// service and simulated boards on loopback; prints the figures, asserts none.
//   node measure.mjs            (after the build; VMX_BIN names another bin folder)
import { launch, openSignedIn, startRig } from './test/harness.mjs';

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const p95 = (xs) => [...xs].sort((a, b) => a - b)[Math.min(xs.length - 1, Math.floor(xs.length * 0.95))];
const ms = (x) => `${x.toFixed(2)} ms`;

const rig = await startRig({ boards: 1, rows: 48 });
const browser = await launch();
try {
  // First load to interactive: navigation start to the first screen with its data.
  const page = await openSignedIn(browser, rig, { screen: 'tanks' });
  const loads = [];
  for (let i = 0; i < 15; ++i) {
    await page.reload();
    await page.waitForFunction(() => performance.getEntriesByName('vmx-interactive').length > 0);
    loads.push(await page.evaluate(() => performance.getEntriesByName('vmx-interactive')[0].startTime));
  }
  console.log(`first load to interactive: median ${ms(median(loads))}, max ${ms(Math.max(...loads))} (15 loads)`);

  // A typed value to the board's acknowledgement, against the same PATCH sent by fetch alone.
  await page.goto(`${rig.url}/#/config`);
  await page.waitForSelector('input[name=FanLow]:enabled');
  const typed = [], direct = [];
  for (let i = 0; i < 12; ++i) {
    const value = String(60 + (i % 2));
    await page.fill('input[name=FanLow]', value);
    const t = await page.evaluate(() => new Promise((resolve) => {
      const input = document.querySelector('input[name=FanLow]');
      const before = performance.getEntriesByType('resource').length;
      const start = performance.now();
      const seen = new PerformanceObserver(() => {
        const done = performance.getEntriesByType('resource').slice(before)
          .find((e) => e.name.endsWith('/settings') && e.initiatorType === 'fetch');
        if (done) { seen.disconnect(); resolve(done.responseEnd - start); }
      });
      seen.observe({ type: 'resource', buffered: false });
      input.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true }));
    }));
    typed.push(t);
    direct.push(await page.evaluate(async (v) => {
      const start = performance.now();
      const r = await fetch('/api/v1/boards/vmx5_board1/settings', { method: 'PATCH',
        headers: { 'Content-Type': 'application/json', 'X-Velmarinex': '1' },
        body: JSON.stringify({ Config: { FanLow: Number(v) + 2 } }) });
      await r.text();
      return performance.now() - start;
    }, value));
  }
  console.log(`typed value to acknowledgement: median ${ms(median(typed))}; the API alone: median ${ms(median(direct))};` +
    ` ratio ${(median(typed) / median(direct)).toFixed(2)}`);

  // A drag frame of the day's curves with 12 curves of 48 lines.
  await page.goto(`${rig.url}/#/schedule`);
  const over = page.locator('.plot .u-over');
  await over.scrollIntoViewIfNeeded();
  const box = await over.boundingBox();
  const points = await page.evaluate(() => window.vmxDragFrames = []);
  void points;
  const schedule = (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body;
  const row = schedule.rows[20];
  const x = box.x + ((row.Hour * 60 + row.Minute) / 1440) * box.width;
  const y = box.y + (1 - row.Color16[0] / 4096) * box.height;
  await page.mouse.move(x, y);
  await page.mouse.down();
  for (let i = 1; i <= 60; ++i) {
    await page.mouse.move(x + (i % 10), y + (i % 20) * 4);
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => r())));
  }
  const frames = await page.evaluate(() => window.vmxDragFrames);
  await page.mouse.up();
  console.log(`drag frame, ${schedule.rows.length} lines x 12 curves: median ${ms(median(frames))},` +
    ` p95 ${ms(p95(frames))}, max ${ms(Math.max(...frames))} (${frames.length} frames)`);
} finally {
  await browser.close();
  await rig.stop();
}
