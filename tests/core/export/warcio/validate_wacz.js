// Checks a WACZ package written by Restash without a network, as far as the
// WACZ validator of the Python world would:
//   node validate_wacz.js PACKAGE.wacz
// The ZIP file is read by Info-ZIP's unzip, the archive and index inside it
// by validate.js (warcio). Every member must be stored; datapackage.json must
// name every other file with its SHA-256 and size, datapackage-digest.json
// the SHA-256 of datapackage.json; pages/pages.jsonl must list pages whose
// address and date the index holds as HTML. Prints a JSON summary on
// success; exits 1 with the problems otherwise.
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const crypto = require("crypto");
const { execFileSync } = require("child_process");
const { checkArchive, report, fail } = require("./validate.js");

const MEMBERS = ["archive/data.warc.gz", "indexes/index.cdxj", "pages/pages.jsonl", "datapackage.json",
  "datapackage-digest.json"];

const sha256 = (bytes) => "sha256:" + crypto.createHash("sha256").update(bytes).digest("hex");
const member = (wacz, name) => execFileSync("unzip", ["-p", wacz, name], { maxBuffer: 1 << 30 });

function checkZip(wacz) {
  execFileSync("unzip", ["-tq", wacz]);  // every member's CRC-32
  const names = execFileSync("zipinfo", ["-1", wacz]).toString().split("\n").filter((n) => n);
  const listing = execFileSync("zipinfo", ["-v", wacz]).toString();
  if (names.join() !== MEMBERS.join()) fail(`members ${names.join(", ")}`);
  const stored = (listing.match(/compression method: +none \(stored\)/g) || []).length;
  if (stored !== names.length) fail(`${names.length - stored} member(s) compressed; all must be stored`);
  return names;
}

function checkPackage(wacz) {
  const packageBytes = member(wacz, "datapackage.json");
  const pkg = JSON.parse(packageBytes);
  if (pkg.profile !== "data-package") fail(`profile ${pkg.profile}`);
  if (pkg.wacz_version !== "1.1.1") fail(`wacz_version ${pkg.wacz_version}`);
  for (const key of ["title", "created", "software"]) if (typeof pkg[key] !== "string") fail(`no ${key}`);
  const paths = pkg.resources.map((r) => r.path);
  if (paths.join() !== MEMBERS.slice(0, 3).join()) fail(`resources ${paths.join(", ")}`);
  for (const r of pkg.resources) {
    const bytes = member(wacz, r.path);
    if (r.hash !== sha256(bytes)) fail(`${r.path}: hash ${r.hash}, computed ${sha256(bytes)}`);
    if (r.bytes !== bytes.length) fail(`${r.path}: bytes ${r.bytes}, holds ${bytes.length}`);
    if (r.name !== path.basename(r.path)) fail(`${r.path}: name ${r.name}`);
  }
  const digest = JSON.parse(member(wacz, "datapackage-digest.json"));
  if (digest.path !== "datapackage.json" || digest.hash !== sha256(packageBytes))
    fail(`datapackage-digest.json: ${JSON.stringify(digest)}`);
  return pkg;
}

function checkPages(wacz, pkg) {
  const lines = member(wacz, "pages/pages.jsonl").toString("utf8").split("\n");
  if (lines.pop() !== "") fail("pages.jsonl does not end with a line end");
  const header = JSON.parse(lines.shift());
  if (header.format !== "json-pages-1.0" || header.id !== "pages") fail(`pages header ${JSON.stringify(header)}`);
  const html = new Set();
  let htmlLines = 0;
  for (const line of member(wacz, "indexes/index.cdxj").toString("utf8").split("\n")) {
    const m = /^\S+ (\d{14}) (\{.*\})$/.exec(line);
    if (m && JSON.parse(m[2]).mime === "text/html") {
      html.add(JSON.parse(m[2]).url + " " + m[1]);
      ++htmlLines;
    }
  }
  const ids = new Set();
  const pages = lines.map((l) => JSON.parse(l));
  for (const page of pages) {
    if (ids.has(page.id) || !/^[0-9a-f]{32}$/.test(page.id)) fail(`page id ${page.id}`);
    ids.add(page.id);
    if (!/^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$/.test(page.ts)) fail(`page ${page.url}: ts ${page.ts}`);
    if (!html.has(page.url + " " + page.ts.replace(/[-T:Z]/g, ""))) fail(`page ${page.url} ${page.ts} is not indexed as HTML`);
    if ("title" in page && (typeof page.title !== "string" || !page.title)) fail(`page ${page.url}: title ${page.title}`);
  }
  if (pages.length !== htmlLines) fail(`${pages.length} pages for ${htmlLines} HTML captures`);
  if (pkg.mainPageUrl && !pages.some((p) => p.url === pkg.mainPageUrl)) fail(`mainPageUrl ${pkg.mainPageUrl} is no page`);
  return pages.length;
}

async function main() {
  const wacz = process.argv[2];
  const members = checkZip(wacz);
  const pkg = checkPackage(wacz);
  const pages = checkPages(wacz, pkg);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "wacz-check-"));
  try {
    fs.writeFileSync(path.join(dir, "data.warc.gz"), member(wacz, "archive/data.warc.gz"));
    fs.writeFileSync(path.join(dir, "index.cdxj"), member(wacz, "indexes/index.cdxj"));
    const archive = await checkArchive(path.join(dir, "data.warc.gz"), path.join(dir, "index.cdxj"), "data.warc.gz");
    report({ members: members.length, pages, ...archive });
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
