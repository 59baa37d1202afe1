// The page's running figures in headless Chromium: time from navigation to
// the first full frame, and the renderer main thread's busy share (CDP
// TaskDuration over wall time) while idle and while playing the demo.
//   node page_figures.js WEB_DIR SECONDS   (puppeteer-core from tests/web)
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require(path.join(__dirname, '../../tests/web/node_modules/puppeteer-core'));

const [webDir, secondsText] = process.argv.slice(2);
const seconds = parseFloat(secondsText || '20');
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css' };

// The first iteration of the frame loop draws the whole screen.
function watchFirstFrame() {
  const poll = setInterval(() => {
    if (typeof Browser != 'undefined' && Browser.mainLoop && Browser.mainLoop.currentFrameNumber > 0) {
      window.firstFrameMs = performance.now();
      clearInterval(poll);
    }
  }, 1);
}

async function busyShare(client, page, ms) {
  const taskDuration = async () =>
    (await client.send('Performance.getMetrics')).metrics.find((m) => m.name == 'TaskDuration').value;
  const before = await taskDuration();
  const start = Date.now();
  await pause(ms);
  return (await taskDuration() - before) / ((Date.now() - start) / 1000);
}

(async () => {
  const server = http.createServer((request, response) => {
    const file = path.join(webDir, path.normalize(request.url.split(/[?#]/)[0].replace(/^\/$/, '/index.html')));
    fs.readFile(file, (error, data) => {
      if (error) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zrb-bench-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: 'new', userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--enable-unsafe-swiftshader', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run',
           '--autoplay-policy=no-user-gesture-required'],
  });
  const page = await browser.newPage();
  await page.setViewport({ width: 660, height: 540 });
  await page.evaluateOnNewDocument(watchFirstFrame);
  const client = await page.target().createCDPSession();
  await client.send('Performance.enable');
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction('window.firstFrameMs !== undefined', { timeout: 60000 });
  console.log(`web_first_frame ${(await page.evaluate(() => window.firstFrameMs / 1000)).toFixed(3)} s`);

  await pause(3000);  // past the sound device's pause after 2 s of silence
  console.log(`web_main_thread_idle ${(await busyShare(client, page, seconds * 1000)).toFixed(3)} of a core`);

  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.click(box.x + 200, box.y + 449);
  await page.keyboard.type('demo', { delay: 60 });
  await page.keyboard.press('Enter');
  await pause(100);
  await page.keyboard.press('F12');
  await pause(300);
  await page.keyboard.press('F1');
  await pause(500);
  console.log(`web_main_thread_playing ${(await busyShare(client, page, seconds * 1000)).toFixed(3)} of a core`);
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
})().catch((error) => { console.log('web bench stopped: ' + error); process.exit(1); });
