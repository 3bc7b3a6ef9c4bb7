// Tellavin popup menu engine.
// The page script declares item styles and menus through this API; the
// engine draws the root menu once the page has loaded and the submenus the
// first time they open. Item texts are shown as text, never as markup.

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

// A set of menus; myName is the variable that holds it.
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

PopupMenu.prototype.addItem = function (text, href, type, itemSty, len) {
  var sty = itemSty || this.filling.itemSty;
  this.filling.push({ text: text, href: href, type: type, sty: sty, len: len || sty.len });
};

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

PopupMenu.prototype.build = function (m) {
  this.layout(m);
  var box = m.box = document.createElement('div');
  box.style.cssText = 'position:absolute;left:0;top:0;visibility:hidden;z-index:1000';
  box.style.width = m.w + 'px'; box.style.height = m.h + 'px';
  for (var i = 0; i < m.length; i++) box.appendChild(this.buildItem(m, i));
  for (var d = 0; d < this.decorators.length; d++) this.decorators[d](m, box);
  document.body.appendChild(box);
};

PopupMenu.prototype.buildItem = function (m, i) {
  var self = this, it = m[i], s = it.sty;
  var el = it.el = document.createElement('div');
  el.style.cssText = 'position:absolute;box-sizing:border-box;overflow:hidden';
  el.style.left = it.x + 'px'; el.style.top = it.y + 'px';
  el.style.width = it.w + 'px'; el.style.height = it.h + 'px';
  var txt = it.txt = document.createElement('div');
  txt.style.cssText = 'position:absolute;white-space:nowrap;overflow:hidden';
  var hasInd = it.type == 'sm:' && s.popInd;
  txt.style.left = txt.style.top = s.pad + 'px';
  // A long text stops short of an indicator at the right.
  txt.style.right = (hasInd && s.popPos < 0 ? -s.popPos : s.pad) + 'px';
  txt.style.lineHeight = Math.max(0, it.h - 2 - 2 * s.pad) + 'px';
  txt.appendChild(document.createTextNode(it.text));
  el.appendChild(txt);
  if (hasInd) {
    var ind = it.ind = document.createElement('div');
    ind.style.cssText = 'position:absolute;white-space:nowrap';
    ind.style.left = (s.popPos < 0 ? it.w + s.popPos : s.popPos) + 'px';
    ind.style.top = s.pad + 'px'; ind.style.lineHeight = txt.style.lineHeight;
    ind.innerHTML = s.popInd; // the style's own markup, such as '&gt;'
    el.appendChild(ind);
  }
  el.addEventListener('mouseenter', function () { self.over(m.name, i); });
  el.addEventListener('mouseleave', function () { self.out(m.name, i); });
  el.addEventListener('click', function () { self.click(m.name, i); });
  this.paint(m, i, false);
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
// between 16 px from the page top and the window's bottom.
PopupMenu.prototype.place = function (m) {
  if (m.isRoot) { m.x = m.offX; m.y = m.offY; }
  else {
    var p = m.parent, it = p[m.parentItem], de = document.documentElement;
    var scrX = window.pageXOffset, scrY = window.pageYOffset;
    var x = p.x + it.x + m.offX, y = p.y + it.y + m.offY;
    if (x + m.w > scrX + de.clientWidth) {
      x = Math.min(p.x + it.x - m.offX + 8, scrX + de.clientWidth - m.w);
      x = Math.max(x, scrX);
      y += 4;
    }
    y = Math.min(y, scrY + de.clientHeight - m.h - (isIE ? 5 : 20));
    m.x = x; m.y = Math.max(y, 16);
  }
  m.box.style.left = m.x + 'px'; m.box.style.top = m.y + 'px';
};

// Closes the open submenus that lie beyond menu m in the open chain.
PopupMenu.prototype.closeAfter = function (m) {
  while (this.opened.length && this.opened[this.opened.length - 1] != m) {
    var sub = this.opened.pop();
    sub.box.style.visibility = 'hidden';
    this.light(sub, -1);
  }
};

PopupMenu.prototype.over = function (mN, iN) {
  clearTimeout(this.timer);
  var m = this.menu[mN], it = m[iN];
  this.closeAfter(m);
  this.light(m, iN);
  var sub = it.type == 'sm:' ? this.menu[it.href] : null;
  if (sub) {
    if (!sub.box) this.build(sub);
    sub.box.style.zIndex = 1001 + this.opened.length;
    sub.parent = m; sub.parentItem = iN;
    this.place(sub);
    sub.box.style.visibility = 'visible';
    this.opened.push(sub);
  }
  if (this.onmouseover) this.onmouseover(mN, iN);
};

PopupMenu.prototype.out = function (mN, iN) {
  var self = this, m = this.menu[mN], it = m[iN];
  var sub = it.type == 'sm:' ? this.menu[it.href] : null;
  if (!sub || this.opened.indexOf(sub) < 0) this.light(m, -1);
  clearTimeout(this.timer);
  this.timer = setTimeout(function () { self.closeAll(); }, this.hideDelay);
  if (this.onmouseout) this.onmouseout(mN, iN);
};

PopupMenu.prototype.closeAll = function () {
  this.closeAfter(null);
  for (var name in this.menu) if (this.menu[name].isRoot) this.light(this.menu[name], -1);
};

// Follows an item: 'js:' runs its script, 'nw:' opens a new window, ''
// opens the address here; submenu items and the '#' placeholder do nothing.
PopupMenu.prototype.click = function (mN, iN) {
  var it = this.menu[mN][iN], href = it.href;
  if (it.type == 'sm:' || !href || href == '#') return;
  clearTimeout(this.timer);
  this.closeAll();
  if (it.type == 'js:') {
    var code = href.replace(/^javascript:/i, '');
    try { code = decodeURIComponent(code); } catch (e) {}
    (0, eval)(code);
  } else if (it.type == 'nw:') window.open(href);
  else window.location.href = href;
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

// Places the menus again after the window scrolled or changed its size.
PopupMenu.prototype.position = function () {
  for (var name in this.menu) if (this.menu[name].isRoot && this.menu[name].box) this.place(this.menu[name]);
  for (var i = 0; i < this.opened.length; i++) this.place(this.opened[i]);
};
