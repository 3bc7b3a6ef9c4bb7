// Draw the menus once the page has loaded; keep them placed when the window
// scrolls or changes its size.
window.addEventListener('load', function () { pMenu.update(); });
window.addEventListener('scroll', function () { pMenu.position(); });
window.addEventListener('resize', function () { pMenu.position(); });
