// The page's functions that the browser platform calls (platform/web/page.h), linked in with
// --js-library. Each hands over to web/page.js, which owns the page.
mergeInto(LibraryManager.library, {
  // SDL's audio calls these from its inline JavaScript, which pulls in nothing by itself: with
  // them the page's audio context resumes at the first key press, and SDL's callbacks run.
  zanbury_page_show__deps: ['$autoResumeAudioContext', '$dynCall'],
  zanbury_page_show: function (pixels, width, height, tick, look) {
    Module.zanburyPage.show(HEAPU16.subarray(pixels >> 1, (pixels >> 1) + width * height), width,
                            height, tick >>> 0, look);
  },
  // fsync returns at once: only the loop's waits give the browser its turn (the rest of the game
  // is not built to be unwound). The game syncs each file it replaces (the high score, the
  // settings, the run of the high score) just before renaming it into place, in the same pass:
  // the write-back is started once the pass has given the browser its turn, after the rename,
  // so a page closed right after a new high score still keeps it. Whatever else changes in the
  // game's directory is written back within a second (web/storage.js).
  fd_sync: function (fd) {
    setTimeout(function () { Module.zanburyStorage.persistNow(); }, 0);
    return 0;
  },
  zanbury_page_closed: function () {
    Module.zanburyPage.closed();
  },
  zanbury_page_error: function (title, message) {
    Module.zanburyPage.error(UTF8ToString(title), UTF8ToString(message));
  },
});
