if (isNS4 || isOp) addDropShadow(pMenu, subM, [50,"#000000",9,9,-8,-8], [40,"#333333",7,7,-4,-4]);
else addDropShadow(pMenu, subM, [55,"#000000",9,9,-8,-8], [35,"#000000",7,7,-4,-4], [20,"#000000",5,5,0,0]);

// Puts shadow layers behind every menu of mObj whose item style is iS. Each
// layer is [opacity percent, colour, left, top, width change, height change],
// relative to the menu's box; the first layer lies lowest. The layers follow
// the box's size, which is cut to the window for a menu taller than it.
function addDropShadow(mObj, iS) {
  var layers = Array.prototype.slice.call(arguments, 2);
  mObj.decorators.push(function (m, box) {
    if (m.itemSty != iS) return;
    for (var i = 0; i < layers.length; i++) {
      var l = layers[i], layer = document.createElement('div');
      layer.className = 'menuShadow';
      layer.style.cssText = 'position:absolute;z-index:-1;pointer-events:none';
      layer.style.left = l[2] + 'px'; layer.style.top = l[3] + 'px';
      layer.style.width = 'max(0px, calc(100% + ' + l[4] + 'px))';
      layer.style.height = 'max(0px, calc(100% + ' + l[5] + 'px))';
      layer.style.background = l[1]; layer.style.opacity = l[0] / 100;
      box.appendChild(layer);
    }
  });
}
