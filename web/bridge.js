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
  zanbury_page_closed: function () {
    Module.zanburyPage.closed();
  },
  zanbury_page_error: function (title, message) {
    Module.zanburyPage.error(UTF8ToString(title), UTF8ToString(message));
  },
});
