// The page as an app that plays with no network: its service worker (service-worker.js, from
// web/service-worker.js.in) is registered once the game has shown its first picture, so that
// the worker's own fetch of the files never slows the start. Where the browser has none (an
// address that is not secure, such as plain http from another machine) the page plays online
// alone. Linked in with --pre-js, after page.js.
(function () {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  var asked = false;
  Module.zanburyPage.whenShown(function () {
    if (!asked) {
      asked = true;
      navigator.serviceWorker.register('service-worker.js').catch(function (error) {
        console.warn('zanbury: the page cannot be kept for playing offline:', error);
      });
    }
  });
})();
