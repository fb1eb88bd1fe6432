// node served.mjs ADDRESS BOARD TRAFFIC: a service started elsewhere (the
// Windows build under Wine, say) met as a keeper meets it. Debian's Chromium
// opens the address the service printed, waits for BOARD on the tank list,
// types 77 into FanLow and waits for the SetConfig in the board's traffic
// file. Exit status 0 when all of it happened; otherwise what the page showed.
import { readFileSync } from 'node:fs';
import { launch, until } from './test/harness.mjs';

const [address, board, traffic] = process.argv.slice(2);
if (!traffic) {
  console.error('usage: node served.mjs ADDRESS BOARD TRAFFIC');
  process.exit(2);
}
const sets = () => readFileSync(traffic, 'latin1').split('\n')
  .map((l) => /PC {4}> (02\S*)/.exec(l)?.[1]).filter(Boolean);

const browser = await launch();
const page = await (await browser.newContext({ viewport: { width: 1280, height: 900 } })).newPage();
let step = 'the tank list';
try {
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(address);
  await page.locator(`article[data-board="${board}"] .link.up`).waitFor({ timeout: 30000 });
  step = 'FanLow on the Config screen';
  await page.goto(address.replace(/\?.*$/, '') + '#/config');
  await page.locator('input[name=FanLow]').waitFor({ timeout: 15000 });
  const before = sets().length;
  await page.fill('input[name=FanLow]', '77');
  await page.press('input[name=FanLow]', 'Enter');
  step = 'the SetConfig with byte 2 = 77';
  const sent = await until(() => sets().slice(before).find((s) => s.slice(6, 8) === '4D'), 15000, step);
  if (errors.length) throw new Error(`the page threw: ${errors.join('; ')}`);
  console.log(`the tank list showed ${board}; FanLow 77 went out as ${sent}`);
} catch (e) {
  const shown = await page.evaluate(() => document.body.innerText).catch(() => '(nothing yet)');
  console.error(`${step}: ${e.message}\nthe page shows: ${shown}`);
  process.exitCode = 1;
} finally {
  await browser.close();
}
