// The interface in Debian's Chromium against the real service and simulated
// boards on ptys; what reached the board is read from the board's own
// record of the line.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { after, before, describe, test } from 'node:test';
import { BIN, launch, openSignedIn, SCREENS, startRig, until } from './harness.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser?.close(); });

describe('sign-in', () => {
  let rig;
  before(async () => {
    const { mkdtempSync } = await import('node:fs');
    const { join } = await import('node:path');
    const { tmpdir } = await import('node:os');
    const users = join(mkdtempSync(join(tmpdir(), 'vmx-users-')), 'users');
    const added = spawnSync(`${BIN}/velmarinexd`, ['--users', users, '--add-user', 'keeper'],
      { input: 'reef-2025\nreef-2025\n' });
    assert.equal(added.status, 0, String(added.stderr));
    rig = await startRig({ extra: ['--users', users] });
  });
  after(async () => { await rig?.stop(); });

  test('a wrong password is refused with a message, the right one opens the tanks', async () => {
    const page = await browser.newPage();
    await page.goto(rig.url);
    await page.fill('#user', 'keeper');
    await page.fill('#password', 'wrong');
    await page.click('button[type=submit]');
    await page.getByRole('alert').filter({ hasText: 'Wrong user or password.' }).waitFor();
    await page.fill('#password', 'reef-2025');
    await page.press('#password', 'Enter');
    await page.getByRole('heading', { name: 'Tanks' }).waitFor();
    await page.locator('article[data-board=vmx5_board1] .link.up').waitFor();
    await page.close();
  });
});

describe('one board', () => {
  let rig, board;
  before(async () => {
    rig = await startRig({ boards: 1 });
    board = rig.sims[0];
  });
  after(async () => { await rig?.stop(); });

  test('the loopback link signs in and leaves no token in the address', async () => {
    const page = await openSignedIn(browser, rig);
    assert.doesNotMatch(page.url(), /token/);
    await page.locator('article[data-board=vmx5_board1] .link.up').waitFor();
    await page.context().close();
  });

  test('the tank shows its acclimation plan in the language of the page, and nothing once it is cancelled', async () => {
    const plan = `/api/v1/boards/${rig.ids[0]}/acclimation`;
    assert.equal((await rig.api('PUT', plan, { start: 40, days: 10 })).status, 200);
    try {
      const page = await openSignedIn(browser, rig);
      const fact = page.locator('article[data-board=vmx5_board1] [data-fact=acclimation]');
      await until(async () => /^Acclimation: 40% today \(day 0 of 10\)$/.test(await fact.textContent()),
        5000, 'the plan on the tank');
      await page.click('header button[lang=de]');
      await until(async () => /^Eingewöhnung: heute 40 ?% \(Tag 0 von 10\)$/.test(await fact.textContent()),
        5000, 'the plan in German');
      await page.click('header button[lang=en]');
      await page.context().close();
    } finally {
      assert.equal((await rig.api('DELETE', plan)).status, 200);
    }
    const page = await openSignedIn(browser, rig);
    await page.locator('article[data-board=vmx5_board1] .link.up').waitFor();
    assert.equal(await page.locator('[data-fact=acclimation]').count(), 0);
    await page.context().close();
  });

  test('typing 76 into FanLow sends exactly one SetConfig with byte 2 = 76', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'config' });
    const mark = board.mark();
    await page.fill('input[name=FanLow]', '76');
    await page.press('input[name=FanLow]', 'Enter');
    await until(() => board.setsSince(mark).length > 0, 5000, 'the SetConfig');
    await sleep(300);
    const sets = board.setsSince(mark);
    assert.equal(sets.length, 1, sets.join(' '));
    assert.equal(sets[0].slice(0, 2), '02');
    assert.equal(sets[0].slice(2 + 2 * 2, 2 + 2 * 3), '4C');
    await page.context().close();
  });

  test('bad values are refused in the form with the reason and nothing is sent', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'config' });
    const cases = [
      { name: 'FanLow', typed: '300', reason: '300 is outside 0 to 255.' },
      { name: 'FanHigh', typed: '12.5', reason: '12.5 is not a whole number.' },
      { name: 'TimeLapse', typed: '-1', reason: '-1 is outside 0 to 255.' },
      { name: 'LCDBLMax', typed: 'x', reason: 'x is not a whole number.' },
    ];
    const mark = board.mark();
    for (const c of cases) {
      await page.fill(`input[name=${c.name}]`, c.typed);
      await page.press(`input[name=${c.name}]`, 'Tab');
      const field = page.locator('.field', { has: page.locator(`input[name=${c.name}]`) });
      assert.equal((await field.getByRole('alert').textContent()).trim(), c.reason, c.name);
      assert.equal(await page.getAttribute(`input[name=${c.name}]`, 'aria-invalid'), 'true');
    }
    await sleep(700);
    assert.deepEqual(board.setsSince(mark), []);
    await page.context().close();
  });

  test('a change made elsewhere appears within a second, and the last write wins', async () => {
    const a = await openSignedIn(browser, rig, { screen: 'config' });
    const b = await openSignedIn(browser, rig, { screen: 'config' });
    await a.fill('input[name=FanHigh]', '201');
    await a.press('input[name=FanHigh]', 'Enter');
    await until(async () => (await b.inputValue('input[name=FanHigh]')) === '201', 1000, 'the other browser');
    await b.fill('input[name=FanHigh]', '202');
    await b.press('input[name=FanHigh]', 'Enter');
    await until(async () => (await a.inputValue('input[name=FanHigh]')) === '202', 1000, 'the last write');
    assert.equal(await b.inputValue('input[name=FanHigh]'), '202');
    await a.context().close();
    await b.context().close();
  });

  test('dragging a channel-A point sends exactly one SetSchedule, after release', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'schedule' });
    const over = page.locator('.plot .u-over');
    await over.scrollIntoViewIfNeeded();
    const box = await over.boundingBox();
    // Line 3 of the simulated board's day: 13:26 at 78 % on channel A.
    const x = box.x + (13 * 60 + 26) / 1440 * box.width;
    const y = box.y + (1 - 0.78) * box.height;
    const mark = board.mark();
    await page.mouse.move(x, y);
    await page.mouse.down();
    for (let i = 1; i <= 10; ++i) await page.mouse.move(x + i * 3, y + i * 6);
    await sleep(300);
    assert.deepEqual(board.setsSince(mark), [], 'nothing before the release');
    await page.mouse.up();
    await until(() => board.setsSince(mark).length > 0, 5000, 'the SetSchedule');
    await sleep(300);
    const sets = board.setsSince(mark);
    assert.equal(sets.length, 1, sets.join(' '));
    assert.match(sets[0], /^0303/);
    // The board's read-back, as the grid shows it: later and lower than before.
    const cells = page.locator('input[data-line="3"]');
    await until(async () => (await cells.nth(1).inputValue()) !== '78', 3000, 'the new level');
    const [time, level] = [await cells.nth(0).inputValue(), Number(await cells.nth(1).inputValue())];
    assert.ok(time > '13:26' && level < 78, `line 3 is ${time} at ${level} %`);
    await page.context().close();
  });

  test('with the keyboard alone a curve point is chosen, raised and written once', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'schedule' });
    const before = (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows[5].Color16[0];
    await page.focus('.plot');
    for (let i = 0; i < 5; ++i) await page.keyboard.press('ArrowRight');
    const mark = board.mark();
    await page.keyboard.press('Shift+ArrowDown');
    await page.keyboard.press('ArrowUp');
    await sleep(300);
    assert.deepEqual(board.setsSince(mark), [], 'nothing before Enter');
    await page.keyboard.press('Enter');
    await until(() => board.setsSince(mark).length > 0, 5000, 'the SetSchedule');
    await sleep(300);
    assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, 4)), ['0305']);
    // Down 10 % (no lower than 0), then up 1 %.
    const level = async () => (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows[5].Color16[0];
    const after = await until(async () => { const v = await level(); return v !== before && v; }, 3000, 'the read-back')
      .catch(() => before);
    assert.ok(Math.abs(after - (Math.max(0, before - 409.6) + 40.96)) <= 1, `line 5 from ${before} to ${after}`);
    await page.context().close();
  });

  test('the Manual-mode slider sends a SetInfo', async () => {
    assert.equal((await rig.api('POST', '/api/v1/boards/vmx5_board1/mode', { mode: 'manual' })).status, 200);
    await until(async () => (await rig.api('GET', '/api/v1/boards/vmx5_board1/settings')).body.Config.Mode === 0,
      10000, 'the mode read back');
    const page = await openSignedIn(browser, rig, { screen: 'channels' });
    const slider = page.locator('input[name=Channel2]');
    await until(() => slider.isEnabled(), 5000, 'the slider enabled in Manual');
    const box = await slider.boundingBox();
    const mark = board.mark();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await until(() => board.setsSince(mark).some((s) => s.startsWith('01')), 5000, 'the SetInfo');
    const sets = board.setsSince(mark);
    assert.equal(sets.length, 1, sets.join(' '));
    // Channel2 is the little-endian word at byte 21 of the record: about half of 4096.
    const level = parseInt(sets[0].slice(2 + 42, 2 + 44), 16) + 256 * parseInt(sets[0].slice(2 + 44, 2 + 46), 16);
    assert.ok(level > 1700 && level < 2400, `channel C at ${level}`);
    await page.context().close();
    await rig.api('POST', '/api/v1/boards/vmx5_board1/mode', { mode: 'auto' });
  });

  test('a temperature change and error flags on the board appear on the Tanks screen within 2 s', async () => {
    const page = await openSignedIn(browser, rig);
    const water = page.locator('article[data-board=vmx5_board1] dd[data-fact=water]');
    await water.waitFor();
    board.command('temperature water 263');
    const start = Date.now();
    await until(async () => (await water.textContent()) === '26.3 °C', 2000, 'the new temperature');
    console.log(`temperature shown after ${Date.now() - start} ms`);
    // The window's words and order: 0x40 before 0x20.
    const alerts = page.locator('article[data-board=vmx5_board1] .alerts');
    board.command('errors 0x61');
    await until(async () => (await alerts.textContent().catch(() => '')) ===
      'Board alarm: Overtemperature, RTC error, TempBoard error', 2000, 'the error flags');
    board.command('errors 0');
    await alerts.waitFor({ state: 'detached', timeout: 2000 });
    await page.context().close();
  });

  test('German texts', async () => {
    const page = await openSignedIn(browser, rig, { locale: 'de-DE', screen: 'config' });
    await page.getByRole('heading', { name: 'Konfiguration' }).waitFor();
    assert.equal(await page.getAttribute('html', 'lang'), 'de');
    await page.getByRole('link', { name: 'Zeitplan' }).waitFor();
    await page.getByRole('textbox', { name: /^Langsam \(%\)/ }).waitFor();
    await page.context().close();
  });

  test('the phone viewport: every screen fits 360 px and its controls are reachable', async () => {
    const page = await openSignedIn(browser, rig, { width: 360, height: 740 });
    for (const screen of SCREENS) {
      await page.click(`nav a[href="#/${screen}"]`);
      await page.waitForSelector('main h2');
      const width = await page.evaluate(() => document.documentElement.scrollWidth);
      assert.ok(width <= 360, `${screen} is ${width} px wide`);
    }
    await page.context().close();
  });

  test('axe finds no serious or critical violation on any screen', async () => {
    for (const viewport of [{ width: 1280, height: 900 }, { width: 360, height: 740 }]) {
      const page = await openSignedIn(browser, rig, viewport);
      await page.addScriptTag({ content: axeSource });
      for (const screen of SCREENS) {
        await page.click(`nav a[href="#/${screen}"]`);
        await page.waitForSelector('main h2');
        await sleep(150);
        const found = await page.evaluate(async () => (await window.axe.run(document)).violations
          .filter((v) => v.impact === 'serious' || v.impact === 'critical')
          .map((v) => `${v.id}: ${v.nodes.slice(0, 3).map((n) => n.target.join(' ')).join(', ')}`));
        assert.deepEqual(found, [], `${screen} at ${viewport.width} px`);
      }
      await page.context().close();
    }
  });

  test('each kind of generated control sends its own record once, and the board keeps the value', async () => {
    const type = (name, text) => async (p) => {
      await p.fill(`input[name=${name}]`, text);
      await p.press(`input[name=${name}]`, 'Enter');
    };
    const cases = [
      { screen: 'config', act: type('FanOff', '12'), set: '05', section: 'Config', key: 'FanOff', value: 12 },
      { screen: 'expert', act: (p) => p.check('input[name=JMPMode][value="5"]'), set: '05',
        section: 'Config', key: 'JMPMode', value: 5 },
      { screen: 'expert', act: (p) => p.locator('select[name=Flag]').nth(1).selectOption('8'), set: '02',
        section: 'Config', key: 'Flag', value: 2 | 8 },
      { screen: 'config', act: (p) => p.selectOption('select[name=Flag]', '1'), set: '02',
        section: 'Config', key: 'Flag', value: 2 | 8 | 1 },
      { screen: 'expert', act: (p) => p.check('input[name=Language][value="1"]'), set: '05',
        section: 'Config', key: 'Language', value: 1 },
      { screen: 'weather', act: type('CloudP', '76'), set: '02', section: 'Weather', key: 'CloudP', value: 76 },
      { screen: 'balance', act: type('Balance3', '44'), set: '06', section: 'Weather', key: 'Balance3', value: 44 },
      { screen: 'moon', act: type('MoonColor1611', '255'), set: '06', section: 'Weather', key: 'MoonColor1611', value: 255 },
      { screen: 'delays', act: type('WeatherDelay0', '30'), set: '06', section: 'Weather', key: 'WeatherDelay0', value: 30 },
      { screen: 'timezone', act: type('Bias', '-60'), set: '05', section: 'TimeZone', key: 'Bias', value: -60 },
      { screen: 'channels', act: (p) => p.selectOption('select[name=ColorName4]', '9'), set: '02',
        section: 'Names', key: 'ColorName4', value: 9 },
    ];
    const page = await openSignedIn(browser, rig);
    for (const c of cases) {
      await page.click(`nav a[href="#/${c.screen}"]`);
      await page.waitForSelector('main h2');
      const mark = board.mark();
      await c.act(page);
      await until(() => board.setsSince(mark).length > 0, 5000, `the Set of ${c.key}`);
      await until(async () => (await rig.api('GET', '/api/v1/boards/vmx5_board1/settings')).body[c.section][c.key] ===
        c.value, 5000, `${c.key} read back`);
      assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, 2)), [c.set], c.key);
    }
    await page.context().close();
  });

  test('grid cells send their line once; a cell that does not fit sends nothing', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'schedule' });
    const cases = [
      { line: 2, col: 1, text: '10:05', check: (r) => r.Hour === 10 && r.Minute === 5 },
      { line: 2, col: 3, text: '12,5', check: (r) => r.Color16[1] === 512 },
      { line: 4, col: 17, text: '-20', check: (r) => r.Timer === -20 },
      { line: 1, col: 1, text: '25:00' },
      { line: 1, col: 1, text: '7' },
      { line: 1, col: 2, text: '100.5' },
      { line: 1, col: 17, text: 'x' },
    ];
    for (const c of cases) {
      const cell = page.locator(`input[data-line="${c.line}"][data-col="${c.col}"]`);
      const mark = board.mark();
      await cell.fill(c.text);
      await cell.press('Enter');
      if (c.check) {
        await until(async () => c.check((await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows[c.line]),
          5000, `line ${c.line} read back`);
        assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, 4)), [`030${c.line}`], c.text);
      } else {
        assert.equal(await cell.getAttribute('aria-invalid'), 'true', c.text);
        await sleep(400);
        assert.deepEqual(board.setsSince(mark), [], c.text);
        await cell.press('Escape');
      }
    }
    const before = (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows[3].Switch;
    const mark = board.mark();
    await page.click('button[data-line="3"][data-col="15"]');
    await until(async () => (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows[3].Switch ===
      (before ^ 0x40), 5000, 'the switch read back');
    assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, 4)), ['0303']);
    await page.context().close();
  });

  test('moving a line and pasting a column write the lines the grid writes', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'schedule' });
    let mark = board.mark();
    await page.getByRole('button', { name: 'Move line 2 down' }).click();
    await until(() => board.setsSince(mark).length >= 2, 5000, 'the moved lines');
    await sleep(200);
    assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, 4)), ['0302', '0303']);
    mark = board.mark();
    await page.selectOption('#col-from', '2');
    await page.selectOption('#col-to', '5');
    await page.getByRole('button', { name: 'Paste into this column' }).click();
    await until(() => board.setsSince(mark).length >= 9, 5000, 'the pasted column');
    await sleep(200);
    assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, s.startsWith('03') ? 4 : 2)),
      ['02', '0300', '0301', '0302', '0303', '0304', '0305', '0306', '0307']);
    await until(async () => (await rig.api('GET', '/api/v1/boards/vmx5_board1/schedule')).body.rows
      .every((r) => r.Color16[5] === r.Color16[2]), 5000, 'the pasted column read back');
    await page.context().close();
  });

  test('the mode, and the actions that change what the board keeps ask first', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'actions' });
    const cases = [
      { action: 'save', answer: 'no', sets: [] },
      { action: 'save', answer: 'yes', sets: ['7F01'] },
      { action: 'reef', answer: 'no', sets: [] },
      { action: 'cloud', sets: ['7F02'] },
      { mode: 'geo', sets: ['02'] },
      { mode: 'auto', sets: ['02'] },
    ];
    for (const c of cases) {
      await page.locator('fieldset.actions:enabled').waitFor();
      const mark = board.mark();
      if (c.mode) {
        await page.check(`input[name=Mode][value=${c.mode}]`);
      } else {
        await page.click(`button[data-action=${c.action}]`);
        if (c.answer) await page.click(`dialog[open] button[value=${c.answer}]`);
      }
      if (c.sets.length) await until(() => board.setsSince(mark).length > 0, 5000, c.action ?? c.mode);
      await sleep(300);
      assert.deepEqual(board.setsSince(mark).map((s) => s.slice(0, c.mode ? 2 : 4)), c.sets,
        `${c.action ?? c.mode} ${c.answer ?? ''}`);
      if (c.mode) assert.equal(board.setsSince(mark)[0].slice(2, 4), c.mode === 'geo' ? '02' : '01');
    }
    await page.context().close();
  });

  test('the history screen puts a chosen key of a snapshot back after a question, and undoes it', async () => {
    const path = `/api/v1/boards/${rig.ids[0]}`;
    const before = (await rig.api('GET', `${path}/settings`)).body.Config;
    // A restore from a file keeps a snapshot of what the board held.
    const other = (v) => (v === 60 ? 61 : 60);
    const file = `[Config]\nFanLow=${other(before.FanLow)}\nFanHigh=${other(before.FanHigh)}\n`;
    assert.equal((await rig.api('POST', `${path}/restore`, { source: 'file', file })).status, 200);
    const latest = (await rig.api('GET', `${path}/history`)).body.length;
    const page = await openSignedIn(browser, rig, { screen: 'history' });
    await page.check(`input[name=snapshot][value="${latest}"]`);
    await page.check('input[name="Config.FanLow"]');
    await page.locator('input[name="Config.FanHigh"]:not(:checked)').waitFor();
    // In German the differences come in German, the marks kept.
    await page.click('header button[lang=de]');
    await page.locator('tr', { has: page.locator('input[name="Config.FanLow"]:checked') })
      .filter({ hasText: 'Langsam' }).waitFor();
    let mark = board.mark();
    await page.click('button[data-action=restore]');
    await page.click('dialog[open] button[value=no]');
    await sleep(300);
    assert.deepEqual(board.setsSince(mark), [], 'a refused question sends nothing');
    await page.click('button[data-action=restore]');
    await page.click('dialog[open] button[value=yes]');
    await page.locator('input[name="Config.FanLow"]').waitFor({ state: 'detached' });
    assert.deepEqual(board.setsSince(mark).map((x) => x.slice(0, 2)), ['02'], 'one SetConfig');
    let now = (await rig.api('GET', `${path}/settings`)).body.Config;
    assert.deepEqual([now.FanLow, now.FanHigh], [before.FanLow, other(before.FanHigh)], 'the chosen key alone');

    mark = board.mark();
    await page.click('button[data-action=undo]');
    await page.click('dialog[open] button[value=yes]');
    await until(async () => (await rig.api('GET', `${path}/settings`)).body.Config.FanLow !== before.FanLow,
      5000, 'the undo');
    now = (await rig.api('GET', `${path}/settings`)).body.Config;
    assert.deepEqual([now.FanLow, now.FanHigh], [other(before.FanLow), other(before.FanHigh)],
      'the settings from before the restore');
    assert.deepEqual(board.setsSince(mark).map((x) => x.slice(0, 2)), ['02']);
    await page.context().close();
  });

  test('unplugging the board shows the banner and turns editing off; replugging clears it', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'config' });
    const banner = page.locator('.banner');
    await page.locator('input[name=FanLow]:enabled').waitFor();
    board.command('hangup 1500');
    await until(() => banner.isVisible(), 10000, 'the banner');
    assert.match(await banner.textContent(), /vmx5_board1 .* is not connected/);
    assert.equal(await page.isDisabled('input[name=FanLow]'), true);
    await until(async () => !(await banner.isVisible()), 30000, 'the banner to go');
    await page.locator('input[name=FanLow]:enabled').waitFor();
    await page.context().close();
  });

  test('a lost service shows the banner and turns editing off', async () => {
    const page = await openSignedIn(browser, rig, { screen: 'config' });
    await page.locator('input[name=FanLow]:enabled').waitFor();
    rig.service.kill('SIGTERM');
    const banner = page.locator('.banner');
    await until(() => banner.isVisible(), 5000, 'the banner');
    assert.equal(await banner.textContent(), 'No connection to the tank service. Trying again...');
    assert.equal(await page.isDisabled('input[name=FanLow]'), true);
    await page.context().close();
  });
});
