// The generated menu pages in headless Chromium: where the menus appear,
// what the items do, and that hostile names stay text.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import {
  hover, itemBox, itemTexts, launchBrowser, menuBox, noProblems, openPage, outputDir, pagesDir,
  screenshotPath,
} from './support.mjs';

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser.close(); });

test('horizontal layout: a bar across the top whose submenus drop below their items', async () => {
  const { page, errors, dialogs } = await openPage(browser.context, 'horizontal.html');
  const root = await menuBox(page, 'root');
  assert.deepEqual([root.x, root.y, root.h], [10, 0, 17]);
  assert.equal(root.shadows, 0, 'no shadow behind the bar');
  const strip = await page.evaluate(() => {
    const r = document.querySelector('table').getBoundingClientRect();
    return { y: r.top, h: r.height, w: r.width };
  });
  assert.deepEqual(strip, { y: 0, h: 17, w: 1000 });
  assert.deepEqual(await itemTexts(page, 'root'), ['Alpha', 'Empty', 'Links and scripts']);
  const wide = await itemBox(page, 'root', 2);
  assert.ok(wide.w > 80, 'a long bar item is wider than the style');

  const alpha = await hover(page, 'root', 'Alpha');
  const item = await itemBox(page, 'root', alpha.index);
  const sub = await menuBox(page, alpha.opens);
  assert.deepEqual([sub.x, sub.y, sub.visible], [item.x, item.y + 20, true]);
  assert.equal(sub.shadows, 3, 'three shadow layers behind a submenu');

  const deep = await hover(page, alpha.opens, 'Deep');
  const deepItem = await itemBox(page, alpha.opens, deep.index);
  const nested = await menuBox(page, deep.opens);
  assert.deepEqual([nested.x, nested.y], [sub.x + 227, deepItem.y]);
  await page.screenshot({ path: screenshotPath('horizontal.png') });
  noProblems(errors, dialogs);
  await page.close();
});

test('vertical layout: a 230-pixel column at the left whose submenus open beside it', async () => {
  const { page, errors } = await openPage(browser.context, 'vertical.html');
  const root = await menuBox(page, 'root');
  assert.deepEqual([root.x, root.y, root.w], [0, 16, 230]);
  const column = await page.evaluate(() => {
    const r = document.querySelector('td').getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height };
  });
  assert.deepEqual(column, { x: 0, y: 0, w: 230, h: 700 });
  assert.deepEqual(await itemTexts(page, 'root'), ['Bookmarks']);

  const top = await hover(page, 'root', 'Bookmarks');
  const sub = await menuBox(page, top.opens);
  assert.deepEqual([sub.x, sub.y], [227, 16]);
  const alpha = await hover(page, top.opens, 'Alpha');
  const alphaItem = await itemBox(page, top.opens, alpha.index);
  const nested = await menuBox(page, alpha.opens);
  assert.deepEqual([nested.x, nested.y], [227 + 227, alphaItem.y]);
  await page.screenshot({ path: screenshotPath('vertical.png') });
  noProblems(errors);
  await page.close();
});

test('a submenu that would cross the right edge flips to the left of its parent', async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html', { width: 800, height: 600 });
  let menu = 'root';
  const placed = [];
  for (const text of ['Alpha', 'Deep', 'Deeper', 'Deepest']) {
    const found = await hover(page, menu, text);
    const parent = await menuBox(page, menu);
    const item = await itemBox(page, menu, found.index);
    placed.push({ parent, item, sub: await menuBox(page, found.opens) });
    menu = found.opens;
  }
  // Alpha drops below; Deep and Deeper open to the right.
  assert.equal(placed[1].sub.x, placed[1].item.x + 227);
  assert.equal(placed[2].sub.x, placed[2].item.x + 227);
  assert.ok(placed[2].item.x + 227 + 230 + 227 > 800, 'the next level would cross the edge');
  // Deepest flips: parent item x - 227 + 8, and 4 px lower.
  const last = placed[3];
  assert.equal(last.sub.x, last.item.x - 227 + 8);
  assert.equal(last.sub.y, last.item.y + 4);
  await page.screenshot({ path: screenshotPath('flip.png') });
  noProblems(errors);
  await page.close();
});

test('a "more..." continuation opens level with its item', async () => {
  // Wide enough that no continuation reaches the right edge and flips.
  const { page, errors } = await openPage(browser.context, 'breaks.html', { width: 1400, height: 700 });
  const top = await hover(page, 'root', 'Breaks');
  const many = await hover(page, top.opens, 'Many');
  let menu = many.opens;
  assert.deepEqual(await itemTexts(page, menu), ['e0', 'e1', 'more...']);
  const expected = [['e2', 'e3', 'more...'], ['e4', 'e5', 'e6']];
  for (const texts of expected) {
    const more = await hover(page, menu, 'more...');
    const moreItem = await itemBox(page, menu, more.index);
    const count = (await itemTexts(page, more.opens)).length;
    const lastItem = await itemBox(page, more.opens, count - 1);
    assert.equal(lastItem.y, moreItem.y, 'last entry level with "more..."');
    assert.equal((await menuBox(page, more.opens)).x, moreItem.x + 227);
    assert.deepEqual(await itemTexts(page, more.opens), texts);
    menu = more.opens;
  }
  await page.screenshot({ path: screenshotPath('breaks.png') });
  noProblems(errors);
  await page.close();
});

test('a link opens in the same window', async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  const links = await hover(page, 'root', 'Links and scripts');
  await hover(page, links.opens, 'Target page');
  await page.mouse.down();
  await page.mouse.up();
  await page.waitForURL(/target\.html$/);
  assert.equal((await page.textContent('body')).trim(), 'Target reached');
  noProblems(errors);
  await page.close();
});

test("an 'nw:' link opens a new window and leaves the menu page", async () => {
  const { page, errors } = await openPage(browser.context, 'vertical.html');
  const top = await hover(page, 'root', 'Bookmarks');
  const links = await hover(page, top.opens, 'Links and scripts');
  await hover(page, links.opens, 'Target page');
  const opened = browser.context.waitForEvent('page');
  await page.mouse.down();
  await page.mouse.up();
  const popup = await opened;
  await popup.waitForLoadState();
  assert.match(popup.url(), /target\.html$/);
  assert.match(page.url(), /vertical\.html$/);
  await popup.close();
  noProblems(errors);
  await page.close();
});

test("'js:' items run their script; the empty placeholder does nothing", async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  for (const [text, title] of [['Run script', 'js ran'], ['Encoded script', 'pct ran']]) {
    const links = await hover(page, 'root', 'Links and scripts');
    await hover(page, links.opens, text);
    await page.mouse.down();
    await page.mouse.up();
    assert.equal(await page.title(), title);
  }
  const empty = await hover(page, 'root', 'Empty');
  assert.deepEqual(await itemTexts(page, empty.opens), ['(Empty)']);
  await hover(page, empty.opens, '(Empty)');
  await page.mouse.down();
  await page.mouse.up();
  assert.match(page.url(), /horizontal\.html$/);
  noProblems(errors);
  await page.close();
});

test('the status bar shows the address under the pointer only when asked', async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  const links = await hover(page, 'root', 'Links and scripts');
  await hover(page, links.opens, 'Target page');
  assert.equal(await page.evaluate(() => window.status), 'target.html');
  await page.mouse.move(900, 600);
  assert.equal(await page.evaluate(() => window.status), '');
  await page.close();

  const plain = await openPage(browser.context, 'plain.html');
  const top = await hover(plain.page, 'root', 'Bookmarks');
  const plainLinks = await hover(plain.page, top.opens, 'Links and scripts');
  await hover(plain.page, plainLinks.opens, 'Target page');
  assert.equal(await plain.page.evaluate(() => window.status), '');
  assert.equal((await menuBox(plain.page, top.opens)).shadows, 0, 'no shadows when off');
  noProblems(errors);
  noProblems(plain.errors);
  await plain.page.close();
});

test('open submenus close after the hide delay once the pointer left', async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  assert.equal(await page.evaluate(() => pMenu.hideDelay), 1500);
  await page.evaluate(() => { pMenu.hideDelay = 100; });
  const alpha = await hover(page, 'root', 'Alpha');
  await page.mouse.move(900, 600);
  await page.waitForFunction((m) => getComputedStyle(pMenu.menu[m].box).visibility === 'hidden',
    alpha.opens);
  noProblems(errors);
  await page.close();
});

test('hostile names show as text and run nothing', async () => {
  const { page, errors, dialogs } = await openPage(browser.context, 'hostile.html');
  assert.equal(await page.title(), '</title><script>alert(6)</script>');
  const top = await hover(page, 'root', 'Hostile');
  assert.deepEqual(await itemTexts(page, top.opens), ['</script><script>alert(1)</script>']);
  const folder = await hover(page, top.opens, '</script><script>alert(1)</script>');
  assert.deepEqual(await itemTexts(page, folder.opens), [
    "'); alert(4); ('", '<!--<script>', '<img src=x onerror=alert(2)>', "\\'; alert(5); //"]);
  assert.equal(await page.evaluate(() => document.querySelectorAll('img').length), 0);
  await page.screenshot({ path: screenshotPath('hostile.png') });
  await hover(page, folder.opens, "\\'; alert(5); //");
  await page.mouse.down();
  await page.mouse.up();
  await page.waitForURL(/target\.html$/);
  noProblems(errors, dialogs);
  await page.close();
});

test('fuzzed names come through the script unchanged', async () => {
  const expected = JSON.parse(fs.readFileSync(path.join(pagesDir, 'fuzz.json'), 'utf8'));
  const { page, errors, dialogs } = await openPage(browser.context, 'fuzz.html');
  const shown = await page.evaluate(() => {
    const folders = [];
    const links = [];
    for (const name in pMenu.menu) {
      const m = pMenu.menu[name];
      if (!m.box) pMenu.build(m);
      for (const it of m) {
        if (name === 'm0' && it.type === 'sm:') folders.push(it.txt.textContent);
        if (it.type !== 'sm:') links.push([it.txt.textContent, it.el.getAttribute('href')]);
      }
    }
    return { folders, links };
  });
  const byText = (a, b) => (a < b ? -1 : a > b ? 1 : 0);
  assert.deepEqual(shown.folders.sort(byText), [...expected.folders].sort(byText));
  assert.deepEqual(shown.links.map((l) => l.join('\u0000')).sort(byText),
    expected.links.map((l) => l.join('\u0000')).sort(byText));
  noProblems(errors, dialogs);
  await page.close();
});

test('link items are links to their address; a middle click opens a new tab', async () => {
  // Per page: each link item's text, element, href, target and rel.
  const cases = [
    ['horizontal.html', null, null],
    ['vertical.html', '_blank', 'noopener'],
  ];
  for (const [name, target, rel] of cases) {
    const { page, errors } = await openPage(browser.context, name);
    let menu = 'root';
    if (name === 'vertical.html') menu = (await hover(page, menu, 'Bookmarks')).opens;
    const links = await hover(page, menu, 'Links and scripts');
    const items = await page.evaluate((n) => pMenu.menu[n].map((it) => [it.txt.textContent,
      it.el.tagName, it.el.getAttribute('href'), it.el.getAttribute('target'),
      it.el.getAttribute('rel')]), links.opens);
    assert.deepEqual(items, [
      ['Encoded script', 'A', null, null, null],
      ['Run script', 'A', null, null, null],
      ['Target page', 'A', 'target.html', target, rel],
    ], name);
    noProblems(errors);
    await page.close();
  }

  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  const links = await hover(page, 'root', 'Links and scripts');
  await hover(page, links.opens, 'Target page');
  const opened = browser.context.waitForEvent('page');
  await page.mouse.down({ button: 'middle' });
  await page.mouse.up({ button: 'middle' });
  const tab = await opened;
  await tab.waitForLoadState();
  assert.match(tab.url(), /target\.html$/);
  assert.match(page.url(), /horizontal\.html$/);
  await tab.close();
  noProblems(errors);
  await page.close();
});

// Presses each key in turn; after each, the text of the focused item (or
// the focused element's tag) and the number of open submenus.
async function pressKeys(page, keys) {
  const seen = [];
  for (const key of keys) {
    await page.keyboard.press(key);
    seen.push([key, ...await page.evaluate(() => {
      const el = document.activeElement;
      const text = el.getAttribute('role') === 'menuitem' ? el.firstChild.textContent : el.tagName;
      return [text, pMenu.opened.filter((m) => getComputedStyle(m.box).visibility === 'visible').length];
    })]);
  }
  return seen;
}

test('the keyboard opens, walks and closes the menus, which carry ARIA roles', async () => {
  const { page, errors } = await openPage(browser.context, 'horizontal.html');
  assert.deepEqual(await pressKeys(page, ['Tab', 'ArrowRight', 'ArrowRight', 'ArrowRight',
    'ArrowDown', 'ArrowDown', 'ArrowUp', 'ArrowRight', 'Escape', 'ArrowLeft', 'Enter', 'End']), [
    ['Tab', 'Alpha', 0],
    ['ArrowRight', 'Empty', 0],
    ['ArrowRight', 'Links and scripts', 0],
    ['ArrowRight', 'Alpha', 0],
    ['ArrowDown', 'Deep', 1],
    ['ArrowDown', 'a1', 1],
    ['ArrowUp', 'Deep', 1],
    ['ArrowRight', 'Deeper', 2],
    ['Escape', 'Deep', 1],
    ['ArrowLeft', 'Alpha', 0],
    ['Enter', 'Deep', 1],
    ['End', 'a3', 1],
  ]);
  const bar = page.getByRole('menubar');
  assert.equal(await bar.getByRole('menuitem', { name: 'Alpha', expanded: true }).count(), 1);
  assert.equal(await bar.getByRole('menuitem', { name: 'Empty', expanded: false }).count(), 1);
  assert.deepEqual(await page.getByRole('menu', { name: 'Alpha' }).getByRole('menuitem').allTextContents(),
    ['Deep>', 'a1', 'a2', 'a3']);
  await page.keyboard.press('Enter');
  await page.waitForURL(/target\.html\?a3$/);
  noProblems(errors);
  await page.close();

  const vertical = await openPage(browser.context, 'vertical.html');
  assert.deepEqual(await pressKeys(vertical.page, ['Tab', 'ArrowRight', 'ArrowDown', ' ', 'ArrowLeft',
    'ArrowDown', 'Enter', 'ArrowDown', 'Enter']), [
    ['Tab', 'Bookmarks', 0],
    ['ArrowRight', 'Alpha', 1],
    ['ArrowDown', 'Empty', 1],
    [' ', '(Empty)', 2],
    ['ArrowLeft', 'Empty', 1],
    ['ArrowDown', 'Links and scripts', 1],
    ['Enter', 'Encoded script', 2],
    ['ArrowDown', 'Run script', 2],
    ['Enter', 'Bookmarks', 0],
  ]);
  assert.equal(await vertical.page.title(), 'js ran');
  noProblems(vertical.errors);
  await vertical.page.close();
});

test('a submenu taller than the window stays inside it and scrolls', async () => {
  const { page, errors } = await openPage(browser.context, 'tall.html');
  // The menu's box in the window, its list's scroll sizes and the focused
  // item's box.
  const state = () => page.evaluate(() => {
    const m = pMenu.opened[pMenu.opened.length - 1];
    const r = m.box.getBoundingClientRect();
    const f = document.activeElement.getBoundingClientRect();
    return { top: r.top, bottom: r.bottom, winH: innerHeight, items: m.length,
      scrolls: m.list.scrollHeight > m.list.clientHeight, scrollTop: m.list.scrollTop,
      focused: document.activeElement.firstChild.textContent, focusTop: f.top, focusBottom: f.bottom };
  });
  const inside = (s) => s.top >= 0 && s.bottom <= s.winH && s.focusTop >= s.top && s.focusBottom <= s.bottom;
  await pressKeys(page, ['Tab', 'ArrowDown', 'ArrowRight']);
  let s = await state();
  assert.deepEqual([s.items, s.focused, s.scrolls, s.scrollTop, inside(s)], [995, 'Link 1000', true, 0, true]);
  await page.keyboard.press('End');
  s = await state();
  assert.deepEqual([s.focused, s.scrollTop > 0, inside(s)], ['Link 1994', true, true]);
  await page.setViewportSize({ width: 1000, height: 400 });
  await page.waitForFunction(() => pMenu.opened[pMenu.opened.length - 1].box
    .getBoundingClientRect().bottom <= innerHeight, null, { timeout: 5000 });
  s = await state();
  assert.deepEqual([s.top, s.bottom], [16, 400 - 20]);
  await page.screenshot({ path: screenshotPath('tall.png') });
  noProblems(errors);
  await page.close();
});

test('a 10,000-link page opens and its menus respond', async () => {
  const timings = {};
  let start = Date.now();
  const { page, errors } = await openPage(browser.context, 'big.html');
  timings.loadMs = Date.now() - start;

  start = Date.now();
  const top = await hover(page, 'root', 'Ten thousand links');
  timings.firstSubmenuMs = Date.now() - start;
  assert.equal((await itemTexts(page, top.opens)).length, 25);

  // Folder 1023 sits low in the first menu: its 25-row submenu is pulled up
  // to end 20 px above the window's bottom.
  start = Date.now();
  const low = await hover(page, top.opens, 'Folder 1023');
  timings.linkSubmenuMs = Date.now() - start;
  const sub = await menuBox(page, low.opens);
  assert.equal(sub.y, 700 - sub.h - 20);
  await page.screenshot({ path: screenshotPath('big.png') });

  // In a low window the top limit wins: 16 px from the page top.
  await page.setViewportSize({ width: 1000, height: 400 });
  await page.waitForFunction((m) => pMenu.menu[m].y === 16, low.opens);

  start = Date.now();
  for (const text of ['Folder 1000', 'Folder 1003', 'Folder 1006', 'Folder 1009', 'Folder 1012']) {
    await hover(page, top.opens, text);
  }
  timings.fiveSubmenusMs = Date.now() - start;
  noProblems(errors);
  await page.close();
  fs.mkdirSync(outputDir, { recursive: true });
  fs.writeFileSync(path.join(outputDir, 'big-page-timings.json'), `${JSON.stringify(timings, null, 2)}\n`);
  console.log('10,000-link page:', JSON.stringify(timings));
});

test('a separator kept in the source order is a divider between the items of its submenu', async () => {
  const { page, errors } = await openPage(browser.context, 'dividers.html');
  const top = await hover(page, 'root', 'Dividers');
  const menu = top.opens;
  assert.deepEqual(await itemTexts(page, menu), ['Before', null, 'Sub', null, 'After']);
  const shown = await page.evaluate((n) => pMenu.menu[n].map((it) => {
    const line = it.el.firstChild;
    return [it.el.tagName, it.el.getAttribute('role'), it.el.hasAttribute('href'),
      line.tagName === 'DIV' ? getComputedStyle(line).borderTopWidth : null];
  }), menu);
  assert.deepEqual(shown.map((s) => s.slice(0, 3)), [
    ['A', 'menuitem', true], ['DIV', 'separator', false], ['A', 'menuitem', false],
    ['DIV', 'separator', false], ['A', 'menuitem', true]]);
  assert.deepEqual([shown[1][3], shown[3][3]], ['1px', '1px'], 'a thin line');
  const before = await itemBox(page, menu, 0);
  const divider = await itemBox(page, menu, 1);
  const sub = await itemBox(page, menu, 2);
  assert.deepEqual([divider.y, sub.y], [before.y + 21, before.y + 42], 'a divider takes a row');

  // The pointer on a divider lights nothing and opens nothing; the submenu
  // open beyond its menu closes.
  const opened = await hover(page, menu, 'Sub');
  await page.mouse.move(divider.x + divider.w / 2, divider.y + divider.h / 2);
  const state = await page.evaluate((n) => ({ lit: pMenu.menu[n].lit,
    opened: pMenu.opened.map((m) => m.name), status: window.status }), menu);
  assert.deepEqual(state, { lit: -1, opened: [menu], status: '' });
  assert.equal((await menuBox(page, opened.opens)).visible, false);
  await page.mouse.down();
  await page.mouse.up();
  assert.match(page.url(), /dividers\.html$/);

  // The keyboard steps over the dividers.
  await hover(page, 'root', 'Dividers');
  await page.focus(`#pMenu_${menu}_0`);
  assert.deepEqual(await pressKeys(page, ['ArrowDown', 'ArrowDown', 'ArrowUp', 'End', 'ArrowUp']), [
    ['ArrowDown', 'Sub', 1],
    ['ArrowDown', 'After', 1],
    ['ArrowUp', 'Sub', 1],
    ['End', 'After', 1],
    ['ArrowUp', 'Sub', 1],
  ]);
  await page.screenshot({ path: screenshotPath('dividers.png') });
  noProblems(errors);
  await page.close();
});
