// Pictures of every screen of the browser interface, at phone and desktop
// size, in English and German, into OUTDIR/SCREEN-WIDTH-LANG.png; from
// Debian's Chromium against the real service with two simulated boards.
// A picture of one colour, or nearly, is refused.
//   node screenshots.mjs OUTDIR
import { mkdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { launch, openSignedIn, SCREENS, startRig } from './test/harness.mjs';

const out = process.argv[2];
if (!out) {
  console.error('usage: node screenshots.mjs OUTDIR');
  process.exit(2);
}
const SIZES = [{ name: 'phone', width: 360, height: 760, full: false },
  { name: 'desktop', width: 1280, height: 900, full: true }];

// The share of the most common colour and the number of colours, counted in the browser.
async function colours(page, png) {
  return page.evaluate(async (data) => {
    const img = new Image();
    img.src = `data:image/png;base64,${data}`;
    await img.decode();
    const canvas = new OffscreenCanvas(img.width, img.height);
    const ctx = canvas.getContext('2d');
    ctx.drawImage(img, 0, 0);
    const px = ctx.getImageData(0, 0, img.width, img.height).data;
    const counts = new Map();
    for (let i = 0; i < px.length; i += 4 * 7) {
      const c = (px[i] << 16) | (px[i + 1] << 8) | px[i + 2];
      counts.set(c, (counts.get(c) ?? 0) + 1);
    }
    const top = Math.max(...counts.values());
    return { distinct: counts.size, top: top / (px.length / 28) };
  }, png.toString('base64'));
}

mkdirSync(out, { recursive: true });
const rig = await startRig({ boards: 2, rows: 10 });
const browser = await launch();
let refused = 0;
try {
  // Something to see: the first board in Manual with a few channels on and a cloud passing.
  await rig.api('POST', '/api/v1/boards/vmx5_board1/mode', { mode: 'manual' });
  await rig.api('POST', '/api/v1/boards/vmx5_board1/channels',
    { levels: { 0: 80, 1: 65, 2: 55, 3: 30, 4: 70, 5: 20, 8: 45 } });
  await rig.api('POST', '/api/v1/boards/vmx5_board2/actions/cloud');
  // The second tank is being acclimated: its card tells today's step.
  await rig.api('PUT', '/api/v1/boards/vmx5_board2/acclimation', { start: 60, days: 14 });
  // A restore from a file keeps a snapshot of the settings before it: the History screen compares with it.
  await rig.api('POST', '/api/v1/boards/vmx5_board1/restore',
    { source: 'file', file: '[Config]\nFanLow=35\nFanHigh=90\n[2]\nHour=9\nMinute=30\n' });
  const snapshots = (await rig.api('GET', '/api/v1/boards/vmx5_board1/history')).body.length;
  const ports = [[`${rig.dir}/board1`, '/dev/ttyUSB0'], [`${rig.dir}/board2`, '/dev/rfcomm0']];
  for (const [lang, locale] of [['en', 'en-GB'], ['de', 'de-DE']]) {
    for (const size of SIZES) {
      const page = await openSignedIn(browser, rig, { locale, width: size.width, height: size.height });
      for (const screen of SCREENS) {
        await page.click(`nav a[href="#/${screen}"]`);
        await page.waitForSelector('main h2');
        if (screen === 'history') {
          await page.check(`input[name=snapshot][value="${snapshots}"]`);
          await page.locator('main table').waitFor();
        }
        await page.waitForTimeout(screen === 'log' ? 600 : 250);
        // The boards' folders of this run read as a keeper's ports would.
        await page.evaluate((pairs) => {
          const walk = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
          for (let n = walk.nextNode(); n; n = walk.nextNode())
            for (const [from, to] of pairs) n.nodeValue = n.nodeValue.replaceAll(from, to);
        }, ports);
        await page.evaluate(() => window.scrollTo(0, 0));
        const png = await page.screenshot({ fullPage: size.full });
        const c = await colours(page, png);
        const name = `${screen}-${size.name}-${lang}.png`;
        if (c.distinct < 8 || c.top > 0.97) {
          console.error(`screenshots: ${name} is blank (${c.distinct} colours, ${(c.top * 100).toFixed(1)} % one)`);
          ++refused;
          continue;
        }
        writeFileSync(join(out, name), png);
      }
      await page.context().close();
    }
  }
} finally {
  await browser.close();
  await rig.stop();
}
if (refused) process.exit(1);
console.log(`screenshots: ${SCREENS.length * SIZES.length * 2} pictures in ${out}`);
