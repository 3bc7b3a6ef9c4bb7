// The page the menu window wrote with its options changed through its
// controls: those options, not the defaults, show in Chromium.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  hover, itemBox, itemTexts, launchBrowser, menuBox, noProblems, openPage, screenshotPath,
} from './support.mjs';

let browser;
before(async () => { browser = await launchBrowser(); });
after(async () => { await browser.close(); });

function itemBackground(page, name, index) {
  return page.evaluate(([n, i]) => getComputedStyle(pMenu.menu[n][i].el).backgroundColor,
    [name, index]);
}

test('the window\'s title, vertical layout, colours and no shadows reach the page', async () => {
  const { page, errors, dialogs } = await openPage(browser.context, 'window.html');
  assert.equal(await page.title(), 'Made by the window');

  // The root column holds the collection; its menu stacks News above Home.
  const root = await menuBox(page, 'root');
  assert.deepEqual([root.x, root.y, root.w], [0, 16, 230]);
  const top = await hover(page, 'root', 'Bookmarks');
  assert.deepEqual(await itemTexts(page, top.opens), ['News', 'Home']);
  const news = await itemBox(page, top.opens, 0);
  const home = await itemBox(page, top.opens, 1);
  assert.deepEqual([home.x, home.y > news.y], [news.x, true], 'items stacked');

  const newsMenu = await hover(page, top.opens, 'News');
  const deepMenu = await hover(page, newsMenu.opens, 'Deep');
  assert.deepEqual(await itemTexts(page, deepMenu.opens), ['Bottom']);
  const cascade = [await menuBox(page, newsMenu.opens), await menuBox(page, deepMenu.opens)];
  assert.deepEqual(cascade.map((m) => [m.x, m.visible]), [[2 * 227, true], [3 * 227, true]],
    'News opens beside its menu and Deep beside News');

  assert.deepEqual([await itemBackground(page, top.opens, 1),
    await itemBackground(page, newsMenu.opens, deepMenu.index)],
  ['rgb(18, 52, 86)', 'rgb(171, 205, 239)'], 'away from and under the pointer');
  assert.equal(await page.evaluate(() => document.querySelectorAll('.menuShadow').length), 0);
  await page.screenshot({ path: screenshotPath('window-page.png') });
  noProblems(errors, dialogs);
  await page.close();
});
