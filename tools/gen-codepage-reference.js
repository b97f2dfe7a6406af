#!/usr/bin/env node
// Writes the code page 936 and UTF-8 reference fixtures of tests/web/data/codepage/
// from Node.js's TextDecoder, an implementation independent of ours (ICU's
// Windows 936 table; WHATWG decoding of ill-formed UTF-8). The tests read the
// fixtures, so they need no Node.js at test time.
//
//   node tools/gen-codepage-reference.js [output folder]
'use strict';
const fs = require('fs');
const path = require('path');

const outDir = process.argv[2] || path.join(__dirname, '..', 'tests', 'web', 'data', 'codepage');
const gbk = new TextDecoder('gbk');
// A byte order mark is a character like any other, as in the conversion under test.
const utf8 = new TextDecoder('utf-8', {ignoreBOM: true});

const hex2 = (b) => b.toString(16).toUpperCase().padStart(2, '0');
const hex4 = (u) => u.toString(16).toUpperCase().padStart(4, '0');
const units = (s) => Array.from({length: s.length}, (_, i) => hex4(s.charCodeAt(i))).join(' ');
const bytesOf = (spec) => Uint8Array.from(spec.split(' ').map((b) => parseInt(b, 16)));

// Every code: a line per lead byte with the unit of each trail 40-FE (7F
// skipped), and a line "00" with the unit of each byte 80-FF alone.
function table() {
  const lines = ['# lead, then the UTF-16 unit of each trail byte 40-FE without 7F;',
                 '# lead 00: each byte 80-FF on its own'];
  const single = [];
  for (let b = 0x80; b <= 0xff; b++) single.push(units(gbk.decode(Uint8Array.of(b))));
  lines.push('00 ' + single.join(' '));
  for (let lead = 0x81; lead <= 0xfe; lead++) {
    const row = [];
    for (let trail = 0x40; trail <= 0xfe; trail++) {
      if (trail === 0x7f) continue;
      const s = gbk.decode(Uint8Array.of(lead, trail));
      if (s.length !== 1) throw new Error(`code ${hex2(lead)}${hex2(trail)} decodes to ${s.length} units`);
      row.push(units(s));
    }
    lines.push(hex2(lead) + ' ' + row.join(' '));
  }
  return lines.join('\n') + '\n';
}

// Byte sequences and the units the decoder makes of them: "bytes | units".
function cases(decoder, inputs, title) {
  const lines = [`# ${title}: input bytes | UTF-16 units`];
  for (const spec of inputs) lines.push(`${spec} | ${units(decoder.decode(bytesOf(spec)))}`);
  return lines.join('\n') + '\n';
}

const cp936Inputs = [
  '81', '41 81', 'FE', 'D6 D0 D6', '81 30', '81 3F 41', '81 7F', '81 FF', '81 20 41', 'A1 0A',
  '80', 'FF', '80 FF 80', 'D6 D0', 'A1 A4', 'A1 AA', 'A2 A0 41', 'FE 50', 'AA A1 F8 A1 A1 40',
  '81 81 81', 'D6 81 40', '41 42 43', 'C3 80 FF', 'A1 A1',
];
const utf8Inputs = [
  '80', 'BF', '80 80', '41 80 42', 'C0 80', 'C0 AF', 'C1 BF', 'E0 80 AF', 'E0 9F BF', 'F0 80 80 AF',
  'F0 8F BF BF', 'ED A0 80', 'ED BF BF', 'ED A0 80 ED B0 80', 'F4 90 80 80', 'F5 80 80 80',
  'F7 BF BF BF', 'F8 88 80 80 80', 'FC 84 80 80 80 80', 'FE', 'FF', 'FE FF', 'C3', 'E4', 'E4 B8',
  'F0 9F 98', 'E4 B8 41', 'F0 9F 41', 'C3 C3 A9', 'E4 80 E4 B8 AD', '00', '41 00 42', '7F', 'C2 80',
  'DF BF', 'E0 A0 80', 'EF BF BF', 'EF BB BF 41', 'F0 90 80 80', 'F4 8F BF BF', 'F0 9F 98 80',
  '41 E4 B8 AD 42 E2 82 AC',
];

fs.mkdirSync(outDir, {recursive: true});
fs.writeFileSync(path.join(outDir, 'cp936_table.txt'), table());
fs.writeFileSync(path.join(outDir, 'cp936_malformed.txt'),
                 cases(gbk, cp936Inputs, 'code page 936 sequences, decoded by TextDecoder("gbk")'));
fs.writeFileSync(path.join(outDir, 'utf8_malformed.txt'),
                 cases(utf8, utf8Inputs, 'UTF-8 sequences, decoded by TextDecoder("utf-8")'));
