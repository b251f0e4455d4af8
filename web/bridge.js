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
  // is not built to be unwound). What the game wrote goes to the browser's storage within a
  // second, as every change in its directory does (web/storage.js); a write-back started here
  // would race the rename that follows the fsync.
  fd_sync: function (fd) {
    return 0;
  },
  zanbury_page_closed: function () {
    Module.zanburyPage.closed();
  },
  zanbury_page_error: function (title, message) {
    Module.zanburyPage.error(UTF8ToString(title), UTF8ToString(message));
  },
});
