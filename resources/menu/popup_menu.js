// Tellavin popup menu engine.
// The page script declares item styles and menus through this API; the
// engine draws the root menu once the page has loaded and the submenus the
// first time they open. Item texts are shown as text, never as markup.
// Link items are real links, so the browser shows their address, opens them
// in a new tab on a middle click and offers its link menu. The menus follow
// the ARIA menubar pattern and can be walked with the keyboard.

var isDOM = !!document.getElementById;
var isOp = !!window.opera;
var isIE = !!document.all && !isOp; // document.all is falsy in current browsers
var isNS4 = !!document.layers;
var isNS = isDOM && !isIE && !isOp;

// How the items of a menu look: size, gap, submenu indicator, padding,
// background colours, text and border classes, opacity and pointers.
function ItemStyle(len, spacing, popInd, popPos, pad, outCol, overCol, outClass, overClass,
    outBorder, overBorder, outAlpha, overAlpha, normCursor, nullCursor) {
  this.len = len; this.spacing = spacing; this.popInd = popInd; this.popPos = popPos;
  this.pad = pad; this.outCol = outCol; this.overCol = overCol; this.outClass = outClass;
  this.overClass = overClass; this.outBorder = outBorder; this.overBorder = overBorder;
  this.outAlpha = outAlpha; this.overAlpha = overAlpha;
  this.normCursor = normCursor; this.nullCursor = nullCursor;
}

// A set of menus; myName is the variable that holds it. The page script
// runs inside "with (pMenu)", so no field may share a name with the page's
// own variables (hBar, subM).
function PopupMenu(myName) {
  this.myName = myName;
  this.menu = {};         // menus by name; menu[mN][iN] is an item
  this.hideDelay = 500;   // ms before open submenus close once the pointer left
  this.onmouseover = null;
  this.onmouseout = null;
  this.decorators = [];   // run on each menu box once it is built
  this.filling = null;
  this.opened = [];       // the open submenus, each opened from the one before
  this.timer = null;
}

PopupMenu.prototype.startMenu = function (name, isVert, offX, offY, width, itemSty) {
  var m = [];
  m.name = name; m.isVert = isVert; m.offX = offX; m.offY = offY; m.width = width;
  m.itemSty = itemSty; m.isRoot = name.indexOf('root') == 0; m.box = null; m.lit = -1;
  this.menu[name] = this.filling = m;
};

// tip, when given, is the item's tool tip: its description, or its whole
// text when the item shows it cut.
PopupMenu.prototype.addItem = function (text, href, type, itemSty, len, tip) {
  var sty = itemSty || this.filling.itemSty;
  this.filling.push({ text: text, href: href, type: type, sty: sty, len: len || sty.len,
                      tip: tip || '' });
};

// The submenu an item opens, or null.
PopupMenu.prototype.subOf = function (it) {
  return it.type == 'sm:' ? this.menu[it.href] || null : null;
};

// Whether an item is a link the browser follows by itself.
function isLinkItem(it) {
  return it.type != 'sm:' && it.type != 'js:' && !!it.href && it.href != '#';
}

// Item places: neighbours overlap by one pixel so their borders share a line.
PopupMenu.prototype.layout = function (m) {
  var at = 0, w = 0, h = 0;
  for (var i = 0; i < m.length; i++) {
    var it = m[i];
    it.x = m.isVert ? 0 : at; it.y = m.isVert ? at : 0;
    it.w = m.isVert ? m.width : it.len; it.h = m.isVert ? it.len : m.width;
    at += it.len + it.sty.spacing - 1;
    w = Math.max(w, it.x + it.w); h = Math.max(h, it.y + it.h);
  }
  m.w = w; m.h = h;
};

// A menu is a box holding the decorations (shadows) and the list of items;
// a submenu's list scrolls when the menu is taller than the window.
PopupMenu.prototype.build = function (m) {
  var self = this;
  this.layout(m);
  var box = m.box = document.createElement('div');
  box.style.cssText = 'position:absolute;left:0;top:0;visibility:hidden;z-index:1000';
  box.style.width = m.w + 'px'; box.style.height = m.h + 'px';
  var list = m.list = document.createElement('div');
  list.style.cssText = 'position:relative;width:100%;height:100%;' +
    (m.isRoot ? '' : 'overflow-x:hidden;overflow-y:auto');
  list.setAttribute('role', m.isRoot ? 'menubar' : 'menu');
  list.setAttribute('aria-orientation', m.isVert ? 'vertical' : 'horizontal');
  for (var i = 0; i < m.length; i++) list.appendChild(this.buildItem(m, i));
  if (!m.isRoot) list.addEventListener('scroll', function () { self.position(); });
  box.appendChild(list);
  for (var d = 0; d < this.decorators.length; d++) this.decorators[d](m, box);
  // The root bar comes first in the page, so Tab reaches it first.
  if (m.isRoot) document.body.insertBefore(box, document.body.firstChild);
  else document.body.appendChild(box);
};

PopupMenu.prototype.buildItem = function (m, i) {
  if (m[i].type == 'div:') return this.buildDivider(m, i);
  var self = this, it = m[i], s = it.sty;
  var el = it.el = document.createElement('a');
  el.style.cssText = 'position:absolute;display:block;box-sizing:border-box;overflow:hidden;' +
    'text-decoration:none;outline-offset:-3px';
  el.style.left = it.x + 'px'; el.style.top = it.y + 'px';
  el.style.width = it.w + 'px'; el.style.height = it.h + 'px';
  el.id = this.myName + '_' + m.name + '_' + i;
  el.setAttribute('role', 'menuitem');
  if (it.tip) el.title = it.tip;
  // Root items are Tab stops; the items of a submenu are reached with the
  // arrow keys.
  el.tabIndex = m.isRoot ? 0 : -1;
  if (isLinkItem(it)) {
    el.href = it.href;
    if (it.type == 'nw:') { el.target = '_blank'; el.rel = 'noopener'; }
  } else if (it.type != 'sm:' && it.type != 'js:') el.setAttribute('aria-disabled', 'true');
  if (it.type == 'sm:') {
    el.setAttribute('aria-haspopup', 'menu');
    el.setAttribute('aria-expanded', 'false');
  }
  var txt = it.txt = document.createElement('span');
  txt.style.cssText = 'position:absolute;white-space:nowrap;overflow:hidden';
  var hasInd = it.type == 'sm:' && s.popInd;
  txt.style.left = txt.style.top = s.pad + 'px';
  // A long text stops short of an indicator at the right.
  txt.style.right = (hasInd && s.popPos < 0 ? -s.popPos : s.pad) + 'px';
  txt.style.lineHeight = Math.max(0, it.h - 2 - 2 * s.pad) + 'px';
  txt.appendChild(document.createTextNode(it.text));
  el.appendChild(txt);
  if (hasInd) {
    var ind = it.ind = document.createElement('span');
    ind.style.cssText = 'position:absolute;white-space:nowrap';
    ind.style.left = (s.popPos < 0 ? it.w + s.popPos : s.popPos) + 'px';
    ind.style.top = s.pad + 'px'; ind.style.lineHeight = txt.style.lineHeight;
    ind.setAttribute('aria-hidden', 'true');
    ind.innerHTML = s.popInd; // the style's own markup, such as '&gt;'
    el.appendChild(ind);
  }
  el.addEventListener('mouseenter', function () { self.over(m.name, i); });
  el.addEventListener('mouseleave', function () { self.out(m.name, i); });
  el.addEventListener('click', function (e) { self.click(m.name, i, e); });
  el.addEventListener('focus', function () { self.focusItem(m.name, i); });
  el.addEventListener('keydown', function (e) { self.key(m.name, i, e); });
  this.paint(m, i, false);
  return el;
};

// A divider ('div:'): a thin line in the text colour across the middle of
// its row. It is no link and no menu item: it never lights, opens nothing,
// takes no click and no keyboard focus. The pointer on it closes the
// submenus opened beyond its menu, as on an empty part of the menu.
PopupMenu.prototype.buildDivider = function (m, i) {
  var self = this, it = m[i], s = it.sty;
  var el = it.el = document.createElement('div');
  el.style.cssText = 'position:absolute;box-sizing:border-box';
  el.style.left = it.x + 'px'; el.style.top = it.y + 'px';
  el.style.width = it.w + 'px'; el.style.height = it.h + 'px';
  el.style.background = s.outCol;
  el.className = s.outBorder; // framed like the items around it
  el.style.cursor = popCursor(s.nullCursor);
  el.setAttribute('role', 'separator');
  var line = document.createElement('div');
  line.style.cssText = 'position:absolute;left:4px;right:4px;height:0;border-top:1px solid';
  line.style.top = Math.floor(it.h / 2) + 'px';
  line.className = s.outClass; // its colour is the line's
  el.appendChild(line);
  el.addEventListener('mouseenter', function () {
    clearTimeout(self.timer);
    self.closeAfter(m);
    self.light(m, -1);
  });
  el.addEventListener('mouseleave', function () { self.out(m.name, i); });
  return el;
};

function popCursor(name) { return name == 'hand' ? 'pointer' : name; }

PopupMenu.prototype.paint = function (m, i, lit) {
  var it = m[i], s = it.sty, el = it.el;
  if (!el) return;
  el.style.background = lit ? s.overCol : s.outCol;
  el.className = lit ? s.overBorder : s.outBorder;
  it.txt.className = lit ? s.overClass : s.outClass;
  if (it.ind) it.ind.className = it.txt.className;
  var alpha = lit ? s.overAlpha : s.outAlpha;
  el.style.opacity = alpha == null ? '' : alpha / 100;
  var active = it.type == 'sm:' || (it.href && it.href != '#');
  el.style.cursor = popCursor(active ? s.normCursor : s.nullCursor);
};

PopupMenu.prototype.light = function (m, i) {
  if (m.lit == i) return;
  if (m.lit >= 0) this.paint(m, m.lit, false);
  m.lit = i;
  if (i >= 0) this.paint(m, i, true);
};

// Places a submenu at its parent item plus its offsets, flipped to the
// parent's left side when it would cross the window's right edge, and kept
// between 16 px from the page top and the window's bottom. A submenu taller
// than that space is cut to it and scrolls, starting 16 px below the
// window's top.
PopupMenu.prototype.place = function (m) {
  if (m.isRoot) { m.x = m.offX; m.y = m.offY; }
  else {
    var p = m.parent, it = p[m.parentItem], de = document.documentElement;
    var scrX = window.pageXOffset, scrY = window.pageYOffset;
    var topGap = 16, bottomGap = isIE ? 5 : 20;
    var h = Math.min(m.h, Math.max(de.clientHeight - topGap - bottomGap, it.h));
    m.box.style.height = h + 'px';
    m.box.style.width = m.w + 'px';
    // A scroll bar takes room from the items: widen the box by its width.
    var w = m.w + (h < m.h ? m.list.offsetWidth - m.list.clientWidth : 0);
    m.box.style.width = w + 'px';
    var x = p.x + it.x + m.offX, y = p.y + it.y - p.list.scrollTop + m.offY;
    if (x + w > scrX + de.clientWidth) {
      x = Math.min(p.x + it.x - m.offX + 8, scrX + de.clientWidth - w);
      x = Math.max(x, scrX);
      y += 4;
    }
    if (h < m.h) y = scrY + topGap;
    else y = Math.max(Math.min(y, scrY + de.clientHeight - h - bottomGap), 16);
    m.x = x; m.y = y;
  }
  m.box.style.left = m.x + 'px'; m.box.style.top = m.y + 'px';
};

// Opens the submenu of item iN of menu m, beyond the open ones up to m.
PopupMenu.prototype.open = function (m, iN) {
  var sub = this.subOf(m[iN]);
  if (!sub) return null;
  this.closeAfter(m);
  if (!sub.box) this.build(sub);
  sub.box.style.zIndex = 1001 + this.opened.length;
  sub.parent = m; sub.parentItem = iN;
  sub.list.setAttribute('aria-labelledby', m[iN].el.id);
  this.place(sub);
  sub.box.style.visibility = 'visible';
  m[iN].el.setAttribute('aria-expanded', 'true');
  this.opened.push(sub);
  return sub;
};

// Closes the open submenus that lie beyond menu m in the open chain. When
// the keyboard focus was in one of them, it goes back to the item that
// opened the outermost one closed.
PopupMenu.prototype.closeAfter = function (m) {
  var focusTo = null;
  while (this.opened.length && this.opened[this.opened.length - 1] != m) {
    var sub = this.opened.pop(), opener = sub.parent[sub.parentItem].el;
    if (focusTo || sub.box.contains(document.activeElement)) focusTo = opener;
    sub.box.style.visibility = 'hidden';
    opener.setAttribute('aria-expanded', 'false');
    this.light(sub, -1);
  }
  if (focusTo) focusTo.focus();
};

PopupMenu.prototype.over = function (mN, iN) {
  clearTimeout(this.timer);
  var m = this.menu[mN];
  this.closeAfter(m);
  this.light(m, iN);
  this.open(m, iN);
  if (this.onmouseover) this.onmouseover(mN, iN);
};

PopupMenu.prototype.out = function (mN, iN) {
  var self = this, m = this.menu[mN], sub = this.subOf(m[iN]);
  if (!sub || this.opened.indexOf(sub) < 0) this.light(m, -1);
  clearTimeout(this.timer);
  this.timer = setTimeout(function () { self.closeAll(); }, this.hideDelay);
  if (this.onmouseout) this.onmouseout(mN, iN);
};

PopupMenu.prototype.closeAll = function () {
  this.closeAfter(null);
  for (var name in this.menu) if (this.menu[name].isRoot) this.light(this.menu[name], -1);
};

// A focused item is lit; menus opened beyond its menu close, except the
// item's own submenu (a click focuses the item it has just opened).
PopupMenu.prototype.focusItem = function (mN, iN) {
  clearTimeout(this.timer);
  var m = this.menu[mN], sub = this.subOf(m[iN]);
  this.closeAfter(sub && this.opened.indexOf(sub) >= 0 ? sub : m);
  this.light(m, iN);
};

// Moves the focus to item iN of menu m, or past the dividers there on in
// the direction step (1 or -1), wrapping around at either end.
PopupMenu.prototype.focusAt = function (m, iN, step) {
  for (var n = 0; n < m.length; n++, iN += step) {
    var it = m[(iN % m.length + m.length) % m.length];
    if (it.type != 'div:') { it.el.focus(); return; }
  }
};

// The keys of the menubar pattern. Along the menu: the arrows of its
// direction, Home and End. Into a submenu: Enter, Space, or the arrow that
// points to where it opens. Out of a submenu: ArrowLeft or Escape.
PopupMenu.prototype.key = function (mN, iN, e) {
  if (e.altKey || e.ctrlKey || e.metaKey) return;
  var m = this.menu[mN], it = m[iN], k = e.key;
  var bar = m.isRoot && !m.isVert;
  var opens = bar ? 'ArrowDown' : 'ArrowRight';
  if (k == (bar ? 'ArrowRight' : 'ArrowDown')) this.focusAt(m, iN + 1, 1);
  else if (k == (bar ? 'ArrowLeft' : 'ArrowUp')) this.focusAt(m, iN - 1, -1);
  else if (k == 'Home') this.focusAt(m, 0, 1);
  else if (k == 'End') this.focusAt(m, m.length - 1, -1);
  else if (it.type == 'sm:' && (k == opens || k == 'Enter' || k == ' ')) {
    var sub = this.open(m, iN);
    if (sub && sub.length) this.focusAt(sub, 0, 1);
  } else if (!m.isRoot && (k == 'ArrowLeft' || k == 'Escape')) this.closeAfter(m.parent);
  else if (m.isRoot && k == 'Escape') this.closeAll();
  else if (k == ' ' || (k == 'Enter' && !isLinkItem(it))) it.el.click();
  else return; // Enter on a link: the browser follows it
  clearTimeout(this.timer);
  e.preventDefault();
};

// Follows an item: a link is followed by the browser itself (in a new
// window for 'nw:'), 'js:' runs its script; submenu items open their
// submenu and the '#' placeholder does nothing.
PopupMenu.prototype.click = function (mN, iN, e) {
  var m = this.menu[mN], it = m[iN], href = it.href;
  if (it.type == 'sm:') {
    if (this.opened.indexOf(this.subOf(it)) < 0) this.open(m, iN);
    return;
  }
  if (!href || href == '#') return;
  clearTimeout(this.timer);
  this.closeAll();
  if (it.type == 'js:') {
    if (e) e.preventDefault();
    var code = href.replace(/^javascript:/i, '');
    try { code = decodeURIComponent(code); } catch (err) {}
    (0, eval)(code);
  }
};

// Draws the root menus; called once the page has loaded.
PopupMenu.prototype.update = function () {
  for (var name in this.menu) {
    var m = this.menu[name];
    if (!m.isRoot) continue;
    this.build(m);
    this.place(m);
    m.box.style.visibility = 'visible';
  }
};

// Places the menus again after the window or a menu scrolled, or the window
// changed its size.
PopupMenu.prototype.position = function () {
  for (var name in this.menu) if (this.menu[name].isRoot && this.menu[name].box) this.place(this.menu[name]);
  for (var i = 0; i < this.opened.length; i++) this.place(this.opened[i]);
};
