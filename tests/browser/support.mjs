// Shared helpers of the browser tests: where the pages are, their scripts,
// and a headless Debian Chromium with an empty profile.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

export const pagesDir = process.env.TELLAVIN_PAGES;
export const outputDir = process.env.TELLAVIN_OUTPUT;

export function pageUrl(name) {
  return pathToFileURL(path.join(pagesDir, name)).href;
}

export function readPage(name) {
  return fs.readFileSync(path.join(pagesDir, name), 'utf8');
}

// The text inside each script element of a page.
export function pageScripts(html) {
  const scripts = [];
  const pattern = /<script[^>]*>([\s\S]*?)<\/script>/gi;
  for (let match; (match = pattern.exec(html)) !== null;) scripts.push(match[1]);
  return scripts;
}

export async function launchBrowser() {
  const require = createRequire(path.join(process.env.TELLAVIN_NODE_MODULES, 'package.json'));
  const { chromium } = require('playwright-core');
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tellavin-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.TELLAVIN_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
    viewport: { width: 1000, height: 700 },
  });
  return {
    context,
    async close() {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Opens a generated page and waits until its root menu is drawn. Script
// errors and dialogs are collected, so a test can prove there were none.
export async function openPage(context, name, viewport) {
  const page = await context.newPage();
  if (viewport) await page.setViewportSize(viewport);
  const errors = [];
  const dialogs = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  page.on('dialog', async (dialog) => {
    dialogs.push(dialog.message());
    await dialog.dismiss();
  });
  await page.goto(pageUrl(name));
  await page.waitForFunction(() => window.pMenu && pMenu.menu.root && pMenu.menu.root.box);
  return { page, errors, dialogs };
}

export function screenshotPath(name) {
  fs.mkdirSync(outputDir, { recursive: true });
  return path.join(outputDir, name);
}

// A menu's or an item's box in page coordinates.
export function menuBox(page, name) {
  return page.evaluate((n) => {
    const m = pMenu.menu[n];
    if (!m || !m.box) return null;
    const r = m.box.getBoundingClientRect();
    return { x: r.left + scrollX, y: r.top + scrollY, w: r.width, h: r.height,
      visible: getComputedStyle(m.box).visibility === 'visible',
      shadows: m.box.querySelectorAll('.menuShadow').length };
  }, name);
}

export function itemBox(page, name, index) {
  return page.evaluate(([n, i]) => {
    const r = pMenu.menu[n][i].el.getBoundingClientRect();
    return { x: r.left + scrollX, y: r.top + scrollY, w: r.width, h: r.height };
  }, [name, index]);
}

export function itemTexts(page, name) {
  return page.evaluate((n) => pMenu.menu[n].map((it) => (it.txt ? it.txt.textContent : null)), name);
}

// Moves the pointer onto the item with the given text; returns the item's
// index and, for a submenu item, the name of the menu it opens.
export async function hover(page, name, text) {
  const found = await page.evaluate(([n, t]) => {
    const m = pMenu.menu[n];
    for (let i = 0; i < m.length; i++) {
      if (m[i].text === t) return { index: i, opens: m[i].type === 'sm:' ? m[i].href : null };
    }
    return null;
  }, [name, text]);
  assert.ok(found, `no item ${text} in ${name}`);
  const box = await itemBox(page, name, found.index);
  await page.mouse.move(box.x + box.w / 2 - (await page.evaluate(() => scrollX)),
    box.y + box.h / 2 - (await page.evaluate(() => scrollY)));
  if (found.opens) {
    await page.waitForFunction((m) => pMenu.menu[m].box &&
      getComputedStyle(pMenu.menu[m].box).visibility === 'visible', found.opens);
  }
  return found;
}

export function noProblems(errors, dialogs = []) {
  assert.deepEqual(errors, [], 'script errors');
  assert.deepEqual(dialogs, [], 'dialogs');
}
