// Baseline for bench/run.sh: parses a Netscape-format bookmark file with
// node-bookmarks-parser and prints how many folders and links it found.
'use strict';
const fs = require('fs');
const parse = require('node-bookmarks-parser');

// The parser returns the top-level items; it gathers the bookmark menu's
// own items into an untyped "Menu" container.
const pending = parse(fs.readFileSync(process.argv[2], 'utf8'));
let folders = 0;
let links = 0;
while (pending.length > 0) {
  const item = pending.pop();
  if (item.type === 'bookmark') {
    links += 1;
  } else {
    folders += item.type === 'folder' ? 1 : 0;
    pending.push(...(item.children || []));
  }
}
console.log(`${folders} folders, ${links} links`);
