// Every script of every generated page parses, whatever the bookmark names
// hold: node --check reads each as a classic script.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import { pagesDir, pageScripts, readPage } from './support.mjs';

const pages = fs.readdirSync(pagesDir).filter((name) => name.endsWith('.html') && name !== 'target.html');

test('the test pages are there', () => {
  for (const name of ['horizontal.html', 'vertical.html', 'hostile.html', 'fuzz.html', 'big.html']) {
    assert.ok(pages.includes(name), name);
  }
});

for (const name of pages) {
  test(`${name}: its scripts pass node --check`, () => {
    const scripts = pageScripts(readPage(name));
    assert.equal(scripts.length, 2, 'the menu script and the Netscape 4 note');
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tellavin-check-'));
    try {
      scripts.forEach((script, i) => {
        // .cjs keeps the check in sloppy mode, as a page's script runs.
        const file = path.join(folder, `script${i}.cjs`);
        fs.writeFileSync(file, script);
        const check = spawnSync(process.execPath, ['--check', file], { encoding: 'utf8' });
        assert.equal(check.status, 0, check.stderr);
      });
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}
