// The page around the tracker: the canvas's size in whole steps, keys as on
// the desktop, the song controls (open, drop, download, share link) and
// reading back songs other tabs saved. Loaded before the program.
//
// Sections: scale; keys; songs in and out; share links; shown again.
'use strict';

var Module = {
  canvas: document.getElementById('canvas'),
  print: function (text) { console.log(text); },
  printErr: function (text) { console.warn(text); },
};

var zrbPage = (function () {
  var kWidth = 640, kHeight = 475, kMaxScale = 4;
  var kMaxSongBytes = 1024 * 1024;  // the largest file F12 loads
  var canvas = Module.canvas;
  var controls = document.getElementById('controls');
  var chosenScale = 0;  // 0: the largest that fits

  // ---- scale

  // Device pixels per drawing pixel: the largest whole step that fits the
  // window, or the one Ctrl+Plus/Minus chose when it still fits.
  function fittingScale() {
    var ratio = window.devicePixelRatio || 1;
    var width = window.innerWidth * ratio;
    var height = (window.innerHeight - controls.offsetHeight - 16) * ratio;
    return Math.max(1, Math.min(kMaxScale, Math.floor(width / kWidth), Math.floor(height / kHeight)));
  }
  function applyScale() {
    var ratio = window.devicePixelRatio || 1;
    var fit = fittingScale();
    var scale = chosenScale ? Math.min(chosenScale, fit) : fit;
    canvas.style.width = (kWidth * scale) / ratio + 'px';
    canvas.style.height = (kHeight * scale) / ratio + 'px';
    return scale;
  }
  window.addEventListener('resize', applyScale);
  applyScale();

  // ---- keys

  // The program's keys come from the key's place (event.code) as on a US
  // keyboard, as the desktop's do; characters still come as typed. With
  // Ctrl a key that types a letter is that letter (Ctrl+Z undoes on every
  // layout). The code given at a press is kept for its release.
  var usKeyCodes = {
    Minus: 189, Equal: 187, BracketLeft: 219, BracketRight: 221, Backslash: 220, Semicolon: 59,
    Quote: 222, Backquote: 192, Comma: 188, Period: 190, Slash: 191,
  };
  var pressedAs = {};
  function positionKeyCode(event) {
    var code = event.code || '';
    if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
    if (code in usKeyCodes) return usKeyCodes[code];
    return event.keyCode;
  }
  function pressKeyCode(event) {
    if ((event.ctrlKey || event.metaKey) && event.key && /^[a-z]$/i.test(event.key))
      return event.key.toUpperCase().charCodeAt(0);
    return positionKeyCode(event);
  }
  function trackerHasFocus() {
    var active = document.activeElement;
    return !active || active === document.body || active === canvas;
  }
  // Keys whose browser meaning (help, reload, find, full screen, tools,
  // focus moves, scrolling, going back) is held back.
  var heldBack = /^(F[0-9]+|Tab|Arrow.*|Page(Up|Down)|Home|End|Insert|Delete|Backspace|Escape|Enter)$/;
  var scaleKeys = {
    Equal: 1, NumpadAdd: 1, BracketRight: 1, Minus: -1, NumpadSubtract: -1, Slash: -1, Digit0: 0, Numpad0: 0,
  };

  function onKey(event) {
    if (!trackerHasFocus()) {
      // Page controls keep their keys; the tracker doesn't see them.
      event.stopImmediatePropagation();
      return;
    }
    if (event.type == 'keypress') {
      if (event.key == ' ') event.preventDefault();
      return;
    }
    // Ctrl+Plus, Ctrl+Minus, Ctrl+0: the canvas's scale, not the browser's zoom.
    if ((event.ctrlKey || event.metaKey) && event.code in scaleKeys) {
      event.preventDefault();
      event.stopImmediatePropagation();
      if (event.type == 'keydown') {
        var change = scaleKeys[event.code];
        var current = applyScale();
        chosenScale = change == 0 ? 1 : Math.max(1, Math.min(fittingScale(), current + change));
        applyScale();
      }
      return;
    }
    var keyCode;
    if (event.type == 'keydown') {
      keyCode = pressKeyCode(event);
      pressedAs[event.code] = keyCode;
    } else {
      keyCode = pressedAs[event.code] || positionKeyCode(event);
      delete pressedAs[event.code];
    }
    Object.defineProperty(event, 'keyCode', { value: keyCode });
    if (heldBack.test(event.key) || heldBack.test(event.code) || event.ctrlKey || event.metaKey)
      event.preventDefault();
  }
  // Registered before the program's own listeners, so these run first.
  ['keydown', 'keyup', 'keypress'].forEach(function (type) { window.addEventListener(type, onKey, true); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // ---- songs in and out

  function running() { return typeof Module._zrbWebOpenSong == 'function' && Module.calledRun; }

  // Hands the bytes to the tracker (null: no song could be read); it loads
  // them as F12 would, or shows "Loading Failed!" and keeps its song.
  function openSong(bytes) {
    var path = '';
    if (bytes && bytes.length <= kMaxSongBytes) {
      path = '/tmp/zrb-opened-song';
      FS.writeFile(path, bytes);
    }
    Module.ccall('zrbWebOpenSong', 'number', ['string'], [path]);
    if (path) FS.unlink(path);
    canvas.focus();
  }

  function openFile(file) {
    if (!file) return;
    if (file.size > kMaxSongBytes) return openSong(null);
    file.arrayBuffer().then(function (buffer) { openSong(new Uint8Array(buffer)); },
                            function () { openSong(null); });
  }

  // The bytes F11 would write for the song in memory, and its name.
  function songFile() {
    var path = '/tmp/zrb-song-out';
    var name = Module.ccall('zrbWebWriteSong', 'string', ['string'], [path]);
    if (name === null) return null;
    var bytes = FS.readFile(path);
    FS.unlink(path);
    return { name: name, bytes: bytes };
  }

  var fileInput = document.getElementById('file');
  document.getElementById('open').addEventListener('click', function () { fileInput.click(); });
  fileInput.addEventListener('change', function () {
    if (running()) openFile(fileInput.files[0]);
    fileInput.value = '';
  });
  window.addEventListener('dragover', function (event) {
    event.preventDefault();
    event.stopPropagation();
    document.body.classList.add('dragging');
  }, true);
  window.addEventListener('dragleave', function () { document.body.classList.remove('dragging'); }, true);
  window.addEventListener('drop', function (event) {
    event.preventDefault();
    event.stopPropagation();
    document.body.classList.remove('dragging');
    var files = event.dataTransfer && event.dataTransfer.files;
    if (running() && files && files.length) openFile(files[0]);
  }, true);

  document.getElementById('download').addEventListener('click', function () {
    var song = running() && songFile();
    if (!song) return;
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([song.bytes], { type: 'application/octet-stream' }));
    link.download = song.name.replace(/^.*\//, '') || 'song';
    document.body.appendChild(link);
    link.click();
    link.remove();
    canvas.focus();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
  });

  // ---- share links: #song= and the song file in unpadded base64url

  function toBase64Url(bytes) {
    var text = '';
    for (var i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  // null for anything that is not unpadded base64url.
  function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 == 1) return null;
    var padded = text.replace(/-/g, '+').replace(/_/g, '/') + '==='.slice((text.length + 3) % 4);
    try {
      var binary = atob(padded);
      var bytes = new Uint8Array(binary.length);
      for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
      return bytes;
    } catch (e) {
      return null;
    }
  }

  var linkField = document.getElementById('link');
  document.getElementById('share').addEventListener('click', function () {
    var song = running() && songFile();
    if (!song) return;
    var url = location.href.replace(/#.*$/, '') + '#song=' + toBase64Url(song.bytes);
    linkField.hidden = false;
    linkField.value = url;
    linkField.select();
    if (navigator.clipboard) navigator.clipboard.writeText(url).catch(function () {});
    document.getElementById('note').textContent = url.length > 8000 ? 'long link: some programs cut it' : '';
  });

  // A link's song is opened once; the fragment then goes, so a reload
  // doesn't open it over later work.
  function openLinkedSong() {
    var match = /^#song=(.*)$/.exec(location.hash);
    if (!match || !running()) return;
    history.replaceState(null, '', location.href.replace(/#.*$/, ''));
    openSong(fromBase64Url(match[1]));
  }
  window.addEventListener('hashchange', openLinkedSong);

  // ---- shown again

  // Hiding and leaving keep the work (the program's own listeners); a tab
  // shown again reads back what other tabs saved meanwhile.
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState == 'visible' && running()) Module.zrbSongStore.readAll();
  });

  Module.postRun = [function () {
    applyScale();  // the program's window set-up resets the canvas's size
    setTimeout(openLinkedSong, 0);
    canvas.focus();
  }];

  return { applyScale: applyScale, toBase64Url: toBase64Url, fromBase64Url: fromBase64Url };
})();
