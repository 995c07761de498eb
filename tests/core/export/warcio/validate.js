// Reads a web archive written by Restash with warcio, an independent WARC
// reader, and checks it against the archive's own claims and its index:
//   node validate.js ARCHIVE.warc.gz INDEX.cdxj
// Prints a JSON summary on success; exits 1 with the problems otherwise.
// Records are filed under the address a browser asks for: where Node's own
// WHATWG URL parser reads the address the cache held (the metadata record's
// cache-url), it must give the record's address.
"use strict";
const fs = require("fs");
const crypto = require("crypto");
const path = require("path");
const { WARCParser, getSurt } = require("warcio");

const problems = [];
const fail = (text) => problems.push(text);

function base32(bytes) {
  const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  let out = "", buffer = 0, bits = 0;
  for (const b of bytes) {
    buffer = (buffer << 8) | b;
    bits += 8;
    while (bits >= 5) {
      bits -= 5;
      out += alphabet[(buffer >>> bits) & 31];
    }
    buffer &= 0xff;
  }
  if (bits > 0) out += alphabet[(buffer << (5 - bits)) & 31];
  while (out.length % 8) out += "=";
  return out;
}

const sha1 = (bytes) => "sha1:" + base32(crypto.createHash("sha1").update(bytes).digest());

// Every record with its whole block; a response record also with the
// payload and status warcio's HTTP parser finds in it.
async function readArchive(file) {
  const records = [];
  const raw = new WARCParser(fs.createReadStream(file), { parseHttp: false });
  for await (const record of raw) {
    const block = await record.readFully(false);
    records.push({
      type: record.warcType,
      id: record.warcHeader("WARC-Record-ID"),
      uri: record.warcTargetURI,
      headers: record.warcHeaders.headers,
      block: Buffer.from(block),
      offset: raw.offset,
      length: raw.recordLength,
    });
  }
  const http = new WARCParser(fs.createReadStream(file));
  let i = 0;
  for await (const record of http) {
    const r = records[i++];
    if (r && record.warcType === "response") {
      r.payload = Buffer.from(await record.readFully(false));
      r.status = record.httpHeaders ? String(record.httpHeaders.statusCode) : undefined;
    }
  }
  return records;
}

// Where Node reads the cache's address as an address of the web, its form
// (without the fragment a browser never sends); null where it does not.
function browserForm(cacheUrl) {
  if (/%[01][0-9A-F]|%7F/.test(cacheUrl)) return null;  // control bytes, encoded for the field
  try {
    const url = new URL(cacheUrl);
    if (/(^|\.)xn--/.test(url.hostname)) return null;  // international names are left as they are
    url.hash = "";
    return url.href;
  } catch {
    return null;
  }
}

let urlChecked = 0;

function checkRecords(records) {
  if (records.length === 0 || records[0].type !== "warcinfo") fail("the archive does not begin with a warcinfo record");
  const infoId = records.length ? records[0].id : undefined;
  const ids = new Set();
  const resources = new Map();
  for (const r of records) {
    const where = `${r.type} record at ${r.offset}`;
    if (ids.has(r.id)) fail(`${where}: WARC-Record-ID ${r.id} used twice`);
    ids.add(r.id);
    if (!/^<urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}>$/.test(r.id || ""))
      fail(`${where}: bad WARC-Record-ID ${r.id}`);
    if (!/^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$/.test(r.headers.get("warc-date") || ""))
      fail(`${where}: bad WARC-Date ${r.headers.get("warc-date")}`);
    if (Number(r.headers.get("content-length")) !== r.block.length)
      fail(`${where}: Content-Length ${r.headers.get("content-length")} but ${r.block.length} bytes`);
    const digest = sha1(r.block);
    if (r.headers.get("warc-block-digest") !== digest)
      fail(`${where}: WARC-Block-Digest ${r.headers.get("warc-block-digest")}, computed ${digest}`);
    if (r.type === "resource" || r.type === "response") {
      const payload = r.type === "response" ? r.payload : r.block;
      if (r.type === "response" && r.headers.get("content-type") !== "application/http; msgtype=response")
        fail(`${where}: Content-Type ${r.headers.get("content-type")}`);
      if (r.type === "response" && !r.status) fail(`${where}: warcio finds no HTTP status in it`);
      if (!payload || r.headers.get("warc-payload-digest") !== sha1(payload))
        fail(`${where}: WARC-Payload-Digest ${r.headers.get("warc-payload-digest")}, computed ${payload && sha1(payload)}`);
      if (r.headers.get("warc-warcinfo-id") !== infoId) fail(`${where}: WARC-Warcinfo-ID does not name the warcinfo`);
      if (!r.headers.get("content-type")) fail(`${where}: no Content-Type`);
      resources.set(r.id, r);
    } else if (r.type === "metadata") {
      const target = resources.get(r.headers.get("warc-concurrent-to"));
      if (!target) fail(`${where}: WARC-Concurrent-To names no earlier resource or response record`);
      else if (target.uri !== r.uri) fail(`${where}: its address differs from its resource record's`);
      const cacheUrl = /^cache-url: (.*)\r$/m.exec(r.block.toString("utf8"));
      if (!cacheUrl) fail(`${where}: no cache-url field`);
      const expected = cacheUrl && browserForm(cacheUrl[1]);
      if (expected !== null && expected !== undefined) {
        ++urlChecked;
        if (expected !== r.uri) fail(`${where}: filed under ${r.uri}, a browser asks for ${expected}`);
      }
      if (r.headers.get("warc-refers-to") !== r.headers.get("warc-concurrent-to"))
        fail(`${where}: WARC-Refers-To differs from WARC-Concurrent-To`);
      if (!r.block.toString("latin1").startsWith("cache-file: ")) fail(`${where}: no cache-file field`);
    } else if (r !== records[0]) {
      fail(`${where}: unexpected record type`);
    }
  }
  return resources;
}

function checkIndex(file, resources, archiveName) {
  const text = fs.readFileSync(file, "utf8");
  if (text.length && !text.endsWith("\n")) fail("the index does not end with a line end");
  const lines = text.split("\n").filter((l) => l.length > 0);
  if (lines.length !== resources.size) fail(`${lines.length} index lines for ${resources.size} resource records`);
  const byOffset = new Map([...resources.values()].map((r) => [r.offset, r]));
  let surtChecked = 0;
  for (let i = 0; i < lines.length; ++i) {
    const line = lines[i];
    if (i > 0 && Buffer.compare(Buffer.from(lines[i - 1]), Buffer.from(line)) > 0) fail(`index line ${i + 1} is out of order`);
    const m = /^(\S+) (\d{14}) (\{.*\})$/.exec(line);
    if (!m) {
      fail(`index line ${i + 1} is malformed: ${line}`);
      continue;
    }
    const json = JSON.parse(m[3]);
    const r = byOffset.get(Number(json.offset));
    if (!r) {
      fail(`index line ${i + 1}: offset ${json.offset} is not where a resource or response record begins`);
      continue;
    }
    byOffset.delete(Number(json.offset));
    if (Number(json.length) !== r.length) fail(`index line ${i + 1}: length ${json.length}, record is ${r.length}`);
    if (json.url !== r.uri) fail(`index line ${i + 1}: url ${json.url}, record has ${r.uri}`);
    if (json.digest !== r.headers.get("warc-payload-digest")) fail(`index line ${i + 1}: digest differs`);
    if (json.status !== r.status) fail(`index line ${i + 1}: status ${json.status}, record has ${r.status}`);
    if (json.filename !== archiveName) fail(`index line ${i + 1}: filename ${json.filename}`);
    const stamp = r.headers.get("warc-date").replace(/[-T:Z]/g, "");
    if (m[2] !== stamp) fail(`index line ${i + 1}: time stamp ${m[2]}, record date ${stamp}`);
    // warcio's own key, where its simpler rules and the replay tools' agree:
    // lower-case http(s) addresses without "wwwN." and no closing "/".
    const u = r.uri;
    if (/^https?:\/\/[^A-Z]*$/.test(u) && !/:\/\/www\d/.test(u) && !/[^/]\/(\?|#|$)/.test(u)) {
      ++surtChecked;
      if (getSurt(u) !== m[1]) fail(`index line ${i + 1}: key ${m[1]}, warcio gives ${getSurt(u)}`);
    }
  }
  return { lines: lines.length, surtChecked };
}

// Checks an archive and its index; the summary of what was checked.
async function checkArchive(archive, index, archiveName) {
  const records = await readArchive(archive);
  const captures = checkRecords(records);
  const indexFacts = index ? checkIndex(index, captures, archiveName) : {};
  return { records: records.length, captures: captures.size, ...indexFacts, urlChecked };
}

// Prints the summary, or the problems and exits 1.
function report(summary) {
  if (problems.length) {
    console.error(problems.slice(0, 50).join("\n"));
    console.error(`${problems.length} problem(s)`);
    process.exit(1);
  }
  console.log(JSON.stringify(summary));
}

module.exports = { checkArchive, report, fail };

if (require.main === module) {
  const [archive, index] = process.argv.slice(2);
  checkArchive(archive, index, path.basename(archive))
    .then(report)
    .catch((e) => {
      console.error(e.stack || String(e));
      process.exit(1);
    });
}
