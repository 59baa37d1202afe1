// Browser tests of the page: Debian's chromium, headless, driven by
// puppeteer-core against the built page served from ZRB_WEB_DIR.
//   node run.js WEB_DIR REFERENCE_DIR WORK_DIR
// REFERENCE_DIR holds what the desktop showed after the same keys
// (desktop-start.png, desktop-demo.png, desktop-notes.png, desktop-help.png) and the desktop's
// demo level (demo-rms.txt, RMS of the first seconds) and its render of the
// demo (demo.wav, for the pitches, measured by pitch.py with PYTHON).
//   node run.js WEB_DIR REFERENCE_DIR WORK_DIR [PYTHON]
// Prints one line per check and exits 1 when any failed.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');

const [webDir, referenceDir, workDir, python = 'python3'] = process.argv.slice(2);
const kTypingDelay = 60;  // ms between typed keys, as a person types
const kLevelToleranceDb = 1;
const kPitchSeconds = 6.5;  // song time analysed for pitches, from the first sound
// The pitch of a window is the strongest peak of a mix of four channels whose
// arpeggios take their phase from the page's tick timing, so single windows
// wander by a few cents; their median must hold 2 cents, each one a quarter tone.
const kPitchMedianCents = 2;
const kPitchWindowCents = 25;
const kPitchWindows = 6;
let failures = 0;

function check(name, ok, detail) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
  if (!ok) failures++;
}
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---- serving and launching

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css' };
function serve() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split(/[?#]/)[0]).replace(/^\/$/, '/index.html');
    const file = path.join(webDir, path.normalize(name));
    fs.readFile(file, (error, data) => {
      if (error) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const profile = path.join(workDir, 'profile');
function launch() {
  return puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: 'new', userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run',
           '--autoplay-policy=no-user-gesture-required'],
  });
}

// Records what the page sends to its speakers (both channels) while tapOn is set.
function installTap() {
  window.tapSamples = [[], []];
  window.tapOn = false;
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode && !target.tap) {
      const tap = target.context.createScriptProcessor(2048, 2, 2);
      tap.onaudioprocess = (event) => {
        if (window.tapOn) for (let c = 0; c < 2; ++c) window.tapSamples[c].push(Array.from(event.inputBuffer.getChannelData(c)));
        for (let c = 0; c < 2; ++c) event.outputBuffer.getChannelData(c).set(event.inputBuffer.getChannelData(c));
      };
      connect.call(tap, target);
      target.tap = tap;
    }
    return connect.call(this, target.tap && target instanceof AudioDestinationNode ? target.tap : target, ...rest);
  };
}

async function openPage(browser, url, problems) {
  const page = await browser.newPage();
  await page.setViewport({ width: 660, height: 540 });
  page.on('console', (message) => { if (message.type() == 'error') problems.push(message.text()); });
  page.on('pageerror', (error) => problems.push(String(error.message || error)));
  await page.evaluateOnNewDocument(installTap);
  await page.goto(url);
  await page.waitForFunction('Module.calledRun === true', { timeout: 60000 });
  await pause(1000);
  return page;
}

// 16-bit stereo WAV of the tap's samples.
function writeWav(file, left, right, rate) {
  const data = Buffer.alloc(left.length * 4);
  const sample = (v) => Math.max(-32768, Math.min(32767, Math.round(v * 32768)));
  for (let i = 0; i < left.length; ++i) {
    data.writeInt16LE(sample(left[i]), 4 * i);
    data.writeInt16LE(sample(right[i]), 4 * i + 2);
  }
  const header = Buffer.alloc(44);
  header.write('RIFF', 0);
  header.writeUInt32LE(36 + data.length, 4);
  header.write('WAVEfmt ', 8);
  header.writeUInt32LE(16, 16);
  header.writeUInt16LE(1, 20);
  header.writeUInt16LE(2, 22);
  header.writeUInt32LE(rate, 24);
  header.writeUInt32LE(rate * 4, 28);
  header.writeUInt16LE(4, 32);
  header.writeUInt16LE(16, 34);
  header.write('data', 36);
  header.writeUInt32LE(data.length, 40);
  fs.writeFileSync(file, Buffer.concat([header, data]));
}

// ---- what the page shows

async function shot(page, file, clip) {
  const box = await (await page.$('#canvas')).boundingBox();
  const area = clip || { x: 0, y: 0, width: 640, height: 475 };
  const buffer = await page.screenshot({
    clip: { x: box.x + area.x, y: box.y + area.y, width: area.width, height: area.height } });
  if (file) fs.writeFileSync(path.join(workDir, file), buffer);
  return buffer;
}
// Pixels that differ between two PNG files (ImageMagick).
function differingPixels(a, b) {
  try {
    execFileSync('compare', ['-metric', 'AE', a, b, 'null:'], { stdio: ['ignore', 'ignore', 'pipe'] });
    return 0;
  } catch (error) {
    const count = parseFloat(String(error.stderr));
    return isNaN(count) ? -1 : count;
  }
}
function sameAsDesktop(name, file, reference) {
  const desktop = path.join(referenceDir, reference);
  const count = differingPixels(path.join(workDir, file), desktop);
  check(name, count == 0, count == 0 ? '' : `${count} pixels differ (${file} against ${desktop})`);
}

const kStatusArea = { x: 384, y: 0, width: 256, height: 14 };

async function click(page, x, y) {
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.click(box.x + x, box.y + y);
  await pause(100);
}
// The file-name line: cleared, then the name and Enter.
async function typeName(page, name) {
  await click(page, 200, 449);
  for (let i = 0; i < 12; ++i) {
    await page.keyboard.press('Backspace');
    await pause(kTypingDelay);
  }
  await page.keyboard.type(name, { delay: kTypingDelay });
  await page.keyboard.press('Enter');
  await pause(100);
}
async function press(page, ...keys) {
  for (const key of keys) {
    await page.keyboard.press(key);
    await pause(kTypingDelay);
  }
  await pause(300);
}
const songBytes = (page) => page.evaluate(() => {
  Module.ccall('zrbWebWriteSong', 'string', ['string'], ['/tmp/t']);
  return Array.from(FS.readFile('/tmp/t')).join(',');
});
const songName = (page) => page.evaluate(() => Module.ccall('zrbWebWriteSong', 'string', ['string'], ['/tmp/t']));

// ---- the checks

async function main() {
  fs.mkdirSync(workDir, { recursive: true });
  fs.rmSync(profile, { recursive: true, force: true });
  const server = await serve();
  const url = `http://127.0.0.1:${server.address().port}/`;
  const problems = [];

  let browser = await launch();
  let page = await openPage(browser, url, problems);
  await shot(page, 'page-start.png');
  sameAsDesktop('the start screen equals the desktop window', 'page-start.png', 'desktop-start.png');

  // A name that is no song: the status every failed load shows.
  await typeName(page, 'nosuchsong');
  await press(page, 'F12');
  const failedStatus = await shot(page, 'status-failed.png', kStatusArea);

  await typeName(page, 'demo');
  await press(page, 'F12');
  await shot(page, 'page-demo.png');
  sameAsDesktop('after loading the demo the canvas equals the desktop window', 'page-demo.png', 'desktop-demo.png');

  // The demo plays at the desktop's level (RMS over the first seconds) and pitches.
  await page.evaluate(() => { window.tapSamples = [[], []]; window.tapOn = true; });
  await press(page, 'F1');
  await pause((kPitchSeconds + 1) * 1000);
  const [left, right] = await page.evaluate(() => {
    window.tapOn = false;
    return window.tapSamples.map((chunks) => [].concat(...chunks));
  });
  await press(page, 'F1');
  const first = left.findIndex((v, i) => Math.abs(v) > 1e-4 || Math.abs(right[i]) > 1e-4);
  const rate = await page.evaluate(() => AL.currentCtx ? AL.currentCtx.audioCtx.sampleRate : 44100);
  const audioState = await page.evaluate(() => AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none');
  const end = first < 0 ? 0 : Math.min(left.length, first + Math.round(rate * 3));
  let power = 0;
  for (let i = Math.max(first, 0); i < end; ++i) power += left[i] * left[i] + right[i] * right[i];
  const taken = Math.max(0, end - first);
  const rms = Math.sqrt(power / Math.max(1, 2 * taken));
  const desktopRms = parseFloat(fs.readFileSync(path.join(referenceDir, 'demo-rms.txt'), 'utf8'));
  const decibels = 20 * Math.log10(rms / desktopRms);
  check('the demo plays at the desktop\'s level', taken > rate * 2.5 && Math.abs(decibels) <= kLevelToleranceDb,
        `page RMS ${rms.toFixed(4)}, desktop ${desktopRms.toFixed(4)} (${decibels.toFixed(2)} dB) over ${(taken / rate).toFixed(2)} s, audio ${audioState}`);

  const pageWav = path.join(workDir, 'page-demo.wav');
  writeWav(pageWav, left, right, rate);
  const windows = execFileSync(python, [path.join(__dirname, 'pitch.py'), path.join(referenceDir, 'demo.wav'), pageWav,
                                        String(kPitchSeconds)], { encoding: 'utf8' })
    .trim().split('\n').filter(Boolean).map((line) => line.split(' ').map(parseFloat));
  const cents = windows.map(([, , c]) => c).sort((a, b) => a - b);
  const median = cents.length ? cents[Math.floor(cents.length / 2)] : NaN;
  check('the demo plays at the desktop\'s pitches',
        cents.length >= kPitchWindows && Math.abs(median) <= kPitchMedianCents &&
          cents.every((c) => Math.abs(c) <= kPitchWindowCents),
        `median ${median.toFixed(2)} cents over ${cents.length} windows (s Hz cents: ` +
          windows.map(([t, hz, c]) => `${t.toFixed(2)} ${hz.toFixed(1)} ${c >= 0 ? '+' : ''}${c.toFixed(2)}`).join(', ') + ')');

  // Notes typed by key position appear as on the desktop.
  await press(page, 'Space', 'KeyQ', 'Digit2', 'KeyW');
  await shot(page, 'page-notes.png');
  sameAsDesktop('typed notes appear as on the desktop', 'page-notes.png', 'desktop-notes.png');
  await page.keyboard.type('?');
  await pause(400);
  await shot(page, 'page-help.png');
  sameAsDesktop('the help page equals the desktop window', 'page-help.png', 'desktop-help.png');
  await press(page, 'Escape');

  // A share link opens its song, unnamed and unsaved.
  await page.click('#share');
  const link = await page.$eval('#link', (field) => field.value);
  const linked = await openPage(browser, link, problems);
  const notesSong = await songBytes(page);
  check('a share link opens its song', (await songBytes(linked)) == notesSong && (await songName(linked)) === '',
        `link of ${link.length} characters`);
  await linked.close();

  // F11, a browser restart with the same profile, F12: the song is back.
  await typeName(page, 'webtest');
  await press(page, 'F11');
  const saved = await page.evaluate(() => Array.from(FS.readFile('/app/data/songs/webtest')));
  await pause(500);
  await browser.close();
  browser = await launch();
  page = await openPage(browser, url, problems);
  const kept = await page.evaluate(() => {
    try { return Array.from(FS.readFile('/app/data/songs/webtest')); } catch (e) { return null; }
  });
  await typeName(page, 'webtest');
  await press(page, 'F12');
  check('a song saved with F11 is back after a browser restart',
        kept && kept.join(',') == saved.join(',') && (await songBytes(page)) == notesSong);
  const demoKept = await page.evaluate(() => FS.analyzePath('/app/data/songs/demo').exists);
  check('the demo song is in the songs folder', demoKept);

  // A damaged link: "Loading Failed!", the song in memory stays, nothing written.
  const before = await page.evaluate(() => FS.readdir('/app/data/songs').sort().join(' '));
  await page.evaluate(() => { location.hash = '#song=WlJCMQ@@'; });
  await pause(500);
  await shot(page, 'status-link.png', kStatusArea);
  check('a damaged link gives "Loading Failed!" and keeps the song',
        (await shot(page, null, kStatusArea)).equals(failedStatus) &&
        (await songBytes(page)) == notesSong &&
        (await page.evaluate(() => FS.readdir('/app/data/songs').sort().join(' '))) == before);

  // A dropped PNG: the same.
  await press(page, 'Escape');
  const png = Array.from(fs.readFileSync(path.join(workDir, 'status-failed.png')));
  await page.evaluate((bytes) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(bytes)], 'picture.png', { type: 'image/png' }));
    document.getElementById('canvas').dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
  }, png);
  await pause(500);
  check('a dropped PNG gives "Loading Failed!" and keeps the song',
        (await shot(page, 'status-dropped.png', kStatusArea)).equals(failedStatus) && (await songBytes(page)) == notesSong);

  // Two tabs: a save in one never deletes or reverts the other's songs.
  const other = await openPage(browser, url, problems);
  await typeName(other, 'othertab');
  await press(other, 'F11');
  await page.bringToFront();
  await typeName(page, 'thistab');
  await press(page, 'F11');
  await pause(500);
  const third = await openPage(browser, url, problems);
  const folder = (tab) => tab.evaluate(() => FS.readdir('/app/data/songs').join(' '));
  const lists = [await folder(page), await folder(other), await folder(third)];
  check('two tabs keep each other\'s songs',
        lists.every((list) => /\bothertab\b/.test(list) && /\bthistab\b/.test(list) && /\bwebtest\b/.test(list)),
        lists.join(' | '));

  await browser.close();
  server.close();
  check('no errors in the console', problems.length == 0, problems.slice(0, 5).join(' | '));
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.log('FAIL the browser tests stopped: ' + (error.stack || error));
  process.exit(1);
});
