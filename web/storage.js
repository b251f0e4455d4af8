// The game's files in the browser's storage: the directory the game plays in, /save, is kept in
// IndexedDB, so that highscore.txt (and whatever else the game writes beside it or under its
// settings directory) survives a reload and later visits. Before the game starts, the stored
// files are read back and the shipped parks, packed in at /parks, are laid beside them. What the
// game writes is written back to storage a moment later (watchWrites), and everything when the
// page is hidden or left. Linked in with --pre-js.
Module.zanburyStorage = (function () {
  var saveDir = '/save';
  var state = { available: true, syncing: false, again: false, waiting: [], whenRead: [] };

  function finish(error) {
    if (error) {
      console.warn('zanbury: the browser did not keep the game\'s files:', error);
    }
    state.syncing = false;
    if (state.again) {
      state.again = false;
      sync();
      return;
    }
    var waiting = state.waiting;
    state.waiting = [];
    waiting.forEach(function (done) { done(); });
  }

  // One write-back at a time: a change made during one is written by the next.
  function sync() {
    if (state.syncing) {
      state.again = true;
      return;
    }
    state.syncing = true;
    FS.syncfs(false, finish);
  }

  var timer = null;
  function persistSoon() {
    if (timer === null) {
      timer = setTimeout(function () { timer = null; sync(); }, 100);
    }
  }

  // Calls `done` once everything written so far is in storage.
  function persistNow(done) {
    if (timer !== null) {
      clearTimeout(timer);
      timer = null;
    }
    state.waiting.push(done || function () {});
    sync();
  }

  function underSave(path) {
    return typeof path === 'string' && (path === saveDir || path.indexOf(saveDir + '/') === 0);
  }

  // The writes that the game makes through the C library: each write (the recording of the
  // session is flushed every second and stays open), each close of a file written, and each
  // rename (the atomic replacements) has storage brought up to date a moment later.
  function watchWrites() {
    var write = FS.write;
    FS.write = function (stream) {
      var result = write.apply(this, arguments);
      if (underSave(stream.path)) {
        persistSoon();
      }
      return result;
    };
    var close = FS.close;
    FS.close = function (stream) {
      var wrote = (stream.flags & 3) !== 0; // O_WRONLY or O_RDWR
      var result = close.apply(this, arguments);
      if (wrote && underSave(stream.path)) {
        persistSoon();
      }
      return result;
    };
    var rename = FS.rename;
    FS.rename = function (from, to) {
      var result = rename.apply(this, arguments);
      if (underSave(to)) {
        persistSoon();
      }
      return result;
    };
  }

  function layParks() {
    FS.readdir('/parks').forEach(function (name) {
      if (name !== '.' && name !== '..') {
        FS.writeFile(saveDir + '/' + name, FS.readFile('/parks/' + name));
      }
    });
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    FS.mkdir(saveDir);
    FS.mount(IDBFS, {}, saveDir);
    addRunDependency('zanbury-storage');
    FS.syncfs(true, function (error) {
      if (error) {
        state.available = false;
        console.warn('zanbury: no browser storage; the high score lasts until the page closes:',
                     error);
      }
      layParks();
      FS.chdir(saveDir);
      // The settings and the player's data follow the same rules as on the desktop.
      ENV.XDG_CONFIG_HOME = saveDir + '/config';
      ENV.XDG_DATA_HOME = saveDir + '/data';
      watchWrites();
      state.whenRead.forEach(function (ready) { ready(); });
      removeRunDependency('zanbury-storage');
    });
  });

  window.addEventListener('pagehide', function () { persistNow(); });
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') {
      persistNow();
    }
  });

  return {
    persistNow: persistNow,
    available: function () { return state.available; },
    // Calls `ready` once the stored files are back and before the game starts.
    whenRead: function (ready) { state.whenRead.push(ready); },
    saveDir: saveDir,
  };
})();
