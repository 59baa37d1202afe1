// The songs folder kept in the browser (linked in front of the program with
// --pre-js, so emscripten's FS and IDBFS are in reach).
//
// The folder is an IDBFS mount, read from IndexedDB before main starts. It is
// written through file by file: every file the program closes after writing,
// renames, removes or makes under the folder is marked, and the marked files
// go to IndexedDB together in one transaction right after the program's step.
// IDBFS's own whole-folder sync is never used for writing, because it would
// delete or revert songs that another tab saved meanwhile. Other tabs hear of
// each write on a BroadcastChannel and read just those files back; a tab that
// becomes visible again reads the whole folder back once its own writes are in.
//
// Sections: mount and seed; marking; writing through; reading back.
var ZrbSongStore = {
  root: '/app/data/songs',
  seed: '/app/seed',
  marked: {},
  writing: false,
  applyingRemote: false,
  idleWaiters: [],
  channel: null,

  // ---- mount and seed

  mount: function () {
    FS.mkdirTree(ZrbSongStore.root);
    FS.mount(IDBFS, {}, ZrbSongStore.root);
    ZrbSongStore.wrapFileSystem();
    addRunDependency('zrb-songs');
    FS.syncfs(true, function (error) {
      if (error) console.warn('The songs kept in this browser could not be read:', error);
      removeRunDependency('zrb-songs');
    });
    // The packaged data arrives as a run dependency of its own; main waits for both.
    addOnPreMain(ZrbSongStore.seedSongs);
    if (typeof BroadcastChannel != 'undefined') {
      ZrbSongStore.channel = new BroadcastChannel('zrb-songs');
      ZrbSongStore.channel.onmessage = function (event) {
        ZrbSongStore.whenIdle(function () { ZrbSongStore.readBack(event.data.paths); });
      };
    }
  },

  // The songs that come with the page are there at first start.
  seedSongs: function () {
    var names = [];
    try { names = FS.readdir(ZrbSongStore.seed); } catch (e) { return; }
    names.forEach(function (name) {
      if (name == '.' || name == '..') return;
      var path = ZrbSongStore.root + '/' + name;
      if (!FS.analyzePath(path).exists) FS.writeFile(path, FS.readFile(ZrbSongStore.seed + '/' + name));
    });
  },

  // ---- marking

  inFolder: function (path) {
    return typeof path == 'string' && path.indexOf(ZrbSongStore.root + '/') == 0;
  },

  mark: function (path) {
    if (ZrbSongStore.applyingRemote || !ZrbSongStore.inFolder(path)) return;
    ZrbSongStore.marked[PATH.normalize(path)] = true;
    if (!ZrbSongStore.scheduled) {
      ZrbSongStore.scheduled = true;
      setTimeout(function () { ZrbSongStore.scheduled = false; ZrbSongStore.writeThrough(); }, 0);
    }
  },

  wrapFileSystem: function () {
    function after(name, paths) {
      var original = FS[name];
      FS[name] = function () {
        var result = original.apply(this, arguments);
        paths(arguments).forEach(ZrbSongStore.mark);
        return result;
      };
    }
    after('close', function (a) { return (a[0].flags & 3) != 0 ? [a[0].path] : []; });
    after('rename', function (a) { return [a[0], a[1]]; });
    after('unlink', function (a) { return [a[0]]; });
    after('rmdir', function (a) { return [a[0]]; });
    after('mkdir', function (a) { return [a[0]]; });
    after('chmod', function (a) { return [a[0]]; });
    after('utime', function (a) { return [a[0]]; });
  },

  // ---- writing through

  // Every marked file as it is now, in one transaction: a save and its backup
  // arrive together, each file whole.
  writeThrough: function (done) {
    var paths = Object.keys(ZrbSongStore.marked).sort();
    if (ZrbSongStore.writing || paths.length == 0) {
      if (!ZrbSongStore.writing) ZrbSongStore.notifyIdle();
      return;
    }
    ZrbSongStore.marked = {};
    ZrbSongStore.writing = true;
    function finished(error) {
      if (error) console.warn('A song could not be kept in this browser:', error);
      ZrbSongStore.writing = false;
      if (!error && ZrbSongStore.channel) ZrbSongStore.channel.postMessage({ paths: paths });
      if (Object.keys(ZrbSongStore.marked).length) ZrbSongStore.writeThrough();
      else ZrbSongStore.notifyIdle();
    }
    IDBFS.getDB(ZrbSongStore.root, function (error, db) {
      if (error) return finished(error);
      var transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
      var store = transaction.objectStore(IDBFS.DB_STORE_NAME);
      transaction.oncomplete = function () { finished(null); };
      transaction.onabort = function () { finished(transaction.error || 'aborted'); };
      paths.forEach(function (path) {
        var node = FS.analyzePath(path);
        if (node.exists && node.object && (FS.isFile(node.object.mode) || FS.isDir(node.object.mode))) {
          IDBFS.loadLocalEntry(path, function (e, entry) {
            if (!e) IDBFS.storeRemoteEntry(store, path, entry, function () {});
          });
        } else {
          IDBFS.removeRemoteEntry(store, path, function () {});
        }
      });
    });
  },

  notifyIdle: function () {
    var waiters = ZrbSongStore.idleWaiters;
    ZrbSongStore.idleWaiters = [];
    waiters.forEach(function (waiter) { waiter(); });
  },

  // Runs after this tab's own writes are in IndexedDB.
  whenIdle: function (callback) {
    if (!ZrbSongStore.writing && Object.keys(ZrbSongStore.marked).length == 0) return callback();
    ZrbSongStore.idleWaiters.push(callback);
  },

  // ---- reading back

  // The files another tab wrote, as they are in IndexedDB now.
  readBack: function (paths) {
    IDBFS.getDB(ZrbSongStore.root, function (error, db) {
      if (error) return;
      var store = db.transaction([IDBFS.DB_STORE_NAME], 'readonly').objectStore(IDBFS.DB_STORE_NAME);
      paths.slice().sort().forEach(function (path) {
        if (!ZrbSongStore.inFolder(path)) return;
        IDBFS.loadRemoteEntry(store, path, function (e, entry) {
          // A file this tab changed since is about to be written: it wins.
          if (e || ZrbSongStore.marked[path]) return;
          ZrbSongStore.applyingRemote = true;
          try {
            if (entry) IDBFS.storeLocalEntry(path, entry, function () {});
            else if (FS.analyzePath(path).exists) IDBFS.removeLocalEntry(path, function () {});
          } finally {
            ZrbSongStore.applyingRemote = false;
          }
        });
      });
    });
  },

  // The whole folder as IndexedDB has it (a tab shown again may have missed
  // messages while it was asleep): every file whose copies differ is read back.
  readAll: function () {
    ZrbSongStore.whenIdle(function () {
      var mount = { mountpoint: ZrbSongStore.root };
      IDBFS.getLocalSet(mount, function (error, local) {
        if (error) return;
        IDBFS.getRemoteSet(mount, function (error, remote) {
          if (error) return;
          var differ = {};
          Object.keys(remote.entries).forEach(function (path) {
            var mine = local.entries[path];
            if (!mine || mine.timestamp.getTime() != remote.entries[path].timestamp.getTime()) differ[path] = true;
          });
          Object.keys(local.entries).forEach(function (path) {
            if (!remote.entries[path]) differ[path] = true;
          });
          ZrbSongStore.readBack(Object.keys(differ));
        });
      });
    });
  },
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(ZrbSongStore.mount);
Module['zrbSongStore'] = ZrbSongStore;
