// Replays a WACZ package in ReplayWeb.page (the npm package replaywebpage:
// its ui.js and sw.js), served with the package by a small HTTP server on
// 127.0.0.1 and opened in Debian's headless Chromium over the DevTools
// protocol (puppeteer-core; no browser is downloaded, nothing leaves the
// machine):
//   node replay.js PACKAGE.wacz EXPECTED.json [SCREENSHOT.png]
// EXPECTED.json: {"listed": [TITLE or URL, ...], "replayed": [{"url", "ts"
// (14 digits), "title", "text", "image" (an image's address, optional)}],
// "screenshot": index into "replayed"}. Checks that the page list shows every
// listed page and that each replayed page shows its title, its text and its
// image. Prints a JSON summary and exits 0; exits 1 with the problems; exits
// 77 when Chromium cannot start here.
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const http = require("http");
const puppeteer = require("puppeteer-core");

const CHROMIUM = "/usr/bin/chromium";
const begun = Date.now();
const log = (text) => console.error(`[${((Date.now() - begun) / 1000).toFixed(1)} s] ${text}`);
const WAIT_MS = 60000;  // for any one thing to appear
// The app's folder, found where the modules are (NODE_PATH).
const ROOT = (process.env.NODE_PATH || "").split(path.delimiter)
  .map((dir) => path.join(dir, "replaywebpage"))
  .find((dir) => fs.existsSync(path.join(dir, "sw.js")));
const TYPES = { ".js": "text/javascript", ".html": "text/html", ".json": "application/json", ".css": "text/css",
  ".wasm": "application/wasm", ".svg": "image/svg+xml", ".png": "image/png", ".wacz": "application/zip" };

// The app's files, and the package under /archive.wacz with byte ranges (the
// app reads the package piece by piece, as it would from any web server).
function serve(wacz) {
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, "http://127.0.0.1");
    let file = url.pathname === "/archive.wacz" ? wacz : path.join(ROOT, path.normalize(url.pathname));
    if (url.pathname === "/") file = path.join(ROOT, "index.html");
    if (!file.startsWith(ROOT) && file !== wacz) file = "";
    if (!file || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end();
      return;
    }
    const size = fs.statSync(file).size;
    const headers = { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
      "Accept-Ranges": "bytes", "Cache-Control": "no-store" };
    const range = /^bytes=(\d+)-(\d*)$/.exec(req.headers.range || "");
    if (range) {
      const start = Number(range[1]);
      const end = Math.min(range[2] ? Number(range[2]) : size - 1, size - 1);
      res.writeHead(206, { ...headers, "Content-Range": `bytes ${start}-${end}/${size}`,
        "Content-Length": end - start + 1 });
      if (req.method === "HEAD") return res.end();
      fs.createReadStream(file, { start, end }).pipe(res);
      return;
    }
    res.writeHead(200, { ...headers, "Content-Length": size });
    if (req.method === "HEAD") return res.end();
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// All text of a document, its shadow roots included (the app is made of web
// components).
function deepText() {
  let text = "";
  const walk = (node) => {
    if (node.shadowRoot) walk(node.shadowRoot);
    for (const child of node.childNodes) {
      if (child.nodeType === Node.TEXT_NODE) text += child.textContent + "\n";
      else walk(child);
    }
  };
  walk(document);
  return text;
}

async function launch(profile) {
  try {
    return await puppeteer.launch({
      executablePath: CHROMIUM,
      headless: false,  // the flags below say --headless, as Debian's Chromium takes it
      userDataDir: profile,
      args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--window-size=1280,900"],
      timeout: WAIT_MS,
      protocolTimeout: WAIT_MS * 2,
    });
  } catch (e) {
    console.log(`Chromium cannot start here: ${e.message.split("\n")[0]}`);
    process.exit(77);
  }
}

// The page list of the archive; problems for the entries it does not show.
async function checkList(page, base, listed, problems) {
  await page.goto(`${base}/?source=${encodeURIComponent(base + "/archive.wacz")}#view=pages`);
  const shown = await page
    .waitForFunction((wanted, text) => {
      const all = eval(`(${text})`)();
      return wanted.every((w) => all.includes(w)) && all;
    }, { timeout: WAIT_MS, polling: 500 }, listed, deepText.toString())
    .then((h) => h.jsonValue())
    .catch(async () => page.evaluate(deepText));
  for (const w of listed) if (!shown.includes(w)) problems.push(`the page list does not show ${w}`);
  log("page list read");
  return listed.filter((w) => shown.includes(w)).length;
}

// One page replayed in the app: the frame that shows it, once it shows the
// page's text.
async function replayFrame(page, base, p, problems) {
  const app = `${base}/?source=${encodeURIComponent(base + "/archive.wacz")}#view=pages&url=${encodeURIComponent(p.url)}&ts=${p.ts}`;
  await page.goto(app);
  const deadline = Date.now() + WAIT_MS;
  while (Date.now() < deadline) {
    for (const frame of page.frames()) {
      if (!frame.url().includes(`${p.ts}mp_/`)) continue;  // not this page's frame (yet)
      const state = await frame
        .evaluate((t) => document.readyState !== "complete" || !document.body ? "loading"
          : document.body.innerText.includes(t) ? "shown"
          : document.title === "Archived Page Not Found" ? "not found" : "loading", p.text)
        .catch(() => "loading");
      if (state === "not found") {
        problems.push(`${p.url} ${p.ts}: ReplayWeb.page says "Archived Page Not Found"`);
        return null;
      }
      const ready = state === "shown";
      if (ready) {
        log(`replayed ${p.url}`);
        return frame;
      }
    }
    await new Promise((r) => setTimeout(r, 250));
  }
  const frames = page.frames().map((f) => f.url()).join(", ");
  const said = await page.evaluate(deepText).catch((e) => e.message);
  problems.push(`${p.url} ${p.ts}: no replayed frame shows "${p.text}" (frames: ${frames}; app: ${said.replace(/\s+/g, " ").slice(0, 300)})`);
  return null;
}

async function checkReplay(page, base, p, problems) {
  const frame = await replayFrame(page, base, p, problems);
  if (!frame) return false;
  const seen = await frame.evaluate(async (image) => {
    const img = image ? [...document.images].find((i) => i.getAttribute("src") !== null) : null;
    if (img && !img.complete) await new Promise((r) => { img.onload = img.onerror = r; setTimeout(r, 20000); });
    return { title: document.title, width: img ? img.naturalWidth : -1, src: img ? img.currentSrc : "" };
  }, p.image || "");
  let ok = true;
  if (seen.title !== p.title) ok = !!problems.push(`${p.url}: title "${seen.title}", cached "${p.title}"`) && false;
  if (p.image && !(seen.width > 0)) ok = !!problems.push(`${p.url}: its image ${p.image} did not load (${seen.src})`) && false;
  // The app keeps the address as the page writes it in the image's frame
  // address, and finds the record by the address a browser makes of it.
  const framed = /\/\d{14}[a-z_]*\/(.*)$/.exec(seen.src);
  const shown = framed ? new URL(framed[1]).href : seen.src;
  if (p.image && shown !== p.image) ok = !!problems.push(`${p.url}: image ${shown}, expected ${p.image}`) && false;
  return ok;
}

async function main() {
  const [wacz, expectedFile, screenshot] = process.argv.slice(2);
  const expected = JSON.parse(fs.readFileSync(expectedFile, "utf8"));
  if (!fs.existsSync(CHROMIUM)) {
    console.log(`Chromium cannot start here: ${CHROMIUM} is not installed`);
    process.exit(77);
  }
  const server = await serve(path.resolve(wacz));
  const base = `http://127.0.0.1:${server.address().port}`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "replay-profile-"));
  const browser = await launch(profile);
  const problems = [];
  const started = Date.now();
  try {
    const page = await browser.newPage();
    page.on("pageerror", (e) => log(`page error: ${e.message}`));
    await page.setViewport({ width: 1280, height: 900 });
    const listed = await checkList(page, base, expected.listed, problems);
    let replayed = 0;
    for (const p of expected.replayed) if (await checkReplay(page, base, p, problems)) ++replayed;
    if (screenshot && expected.screenshot !== undefined) {
      await replayFrame(page, base, expected.replayed[expected.screenshot], problems);
      await new Promise((r) => setTimeout(r, 1500));
      await page.screenshot({ path: screenshot });
    }
    const summary = { listed, replayed, seconds: Math.round((Date.now() - started) / 1000) };
    if (problems.length) {
      console.error(problems.join("\n"));
      console.error(JSON.stringify(summary));
      process.exitCode = 1;
    } else {
      console.log(JSON.stringify(summary));
    }
  } finally {
    await browser.close().catch(() => {});
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
