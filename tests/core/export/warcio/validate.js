// Reads a web archive written by Restash with warcio, an independent WARC
// reader, and checks it against the archive's own claims and its index:
//   node validate.js ARCHIVE.warc.gz INDEX.cdxj
// Prints a JSON summary on success; exits 1 with the problems otherwise.
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

async function readArchive(file) {
  const parser = new WARCParser(fs.createReadStream(file));
  const records = [];
  for await (const record of parser) {
    const block = await record.readFully(false);
    records.push({
      type: record.warcType,
      id: record.warcHeader("WARC-Record-ID"),
      uri: record.warcTargetURI,
      headers: record.warcHeaders.headers,
      block: Buffer.from(block),
      offset: parser.offset,
      length: parser.recordLength,
    });
  }
  return records;
}

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
    if (r.type === "resource") {
      if (r.headers.get("warc-payload-digest") !== digest)
        fail(`${where}: WARC-Payload-Digest ${r.headers.get("warc-payload-digest")}, computed ${digest}`);
      if (r.headers.get("warc-warcinfo-id") !== infoId) fail(`${where}: WARC-Warcinfo-ID does not name the warcinfo`);
      if (!r.headers.get("content-type")) fail(`${where}: no Content-Type`);
      resources.set(r.id, r);
    } else if (r.type === "metadata") {
      const target = resources.get(r.headers.get("warc-concurrent-to"));
      if (!target) fail(`${where}: WARC-Concurrent-To names no earlier resource record`);
      else if (target.uri !== r.uri) fail(`${where}: its address differs from its resource record's`);
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
      fail(`index line ${i + 1}: offset ${json.offset} is not where a resource record begins`);
      continue;
    }
    byOffset.delete(Number(json.offset));
    if (Number(json.length) !== r.length) fail(`index line ${i + 1}: length ${json.length}, record is ${r.length}`);
    if (json.url !== r.uri) fail(`index line ${i + 1}: url ${json.url}, record has ${r.uri}`);
    if (json.digest !== r.headers.get("warc-payload-digest")) fail(`index line ${i + 1}: digest differs`);
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

async function main() {
  const [archive, index] = process.argv.slice(2);
  const records = await readArchive(archive);
  const resources = checkRecords(records);
  const indexFacts = index ? checkIndex(index, resources, path.basename(archive)) : {};
  if (problems.length) {
    console.error(problems.slice(0, 50).join("\n"));
    console.error(`${problems.length} problem(s)`);
    process.exit(1);
  }
  console.log(JSON.stringify({ records: records.length, resources: resources.size, ...indexFacts }));
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});
