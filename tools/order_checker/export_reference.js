#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the stroke-order reference of the cnchar-order package as plain text for the order
// checker: a header line naming the package and version, then one line per character, the
// character, a blank and its strokes as cnchar-order's stroke-type letters ("肠 srjjwss").
// usage: export_reference.js PACKAGE_FOLDER OUTPUT_FILE
'use strict';
const fs = require('fs');
const path = require('path');

function fail(message) {
    process.stderr.write(`export_reference.js: ${message}\n`);
    process.exit(1);
}

if (process.argv.length !== 4) {
    fail('usage: export_reference.js PACKAGE_FOLDER OUTPUT_FILE');
}
const folder = path.resolve(process.argv[2]);
const output = process.argv[3];

let manifest;
try {
    manifest = JSON.parse(fs.readFileSync(path.join(folder, 'package.json'), 'utf8'));
} catch (e) {
    fail(`cannot read ${folder}/package.json: ${e.message}`);
}
if (manifest.name !== 'cnchar-order') {
    fail(`${folder} does not hold the cnchar-order package`);
}
// The package is a UMD bundle whose dictionary of stroke letters is exported as dict.orders.
const orders = require(path.join(folder, manifest.main || 'index.js')).dict?.orders;
if (!orders || typeof orders !== 'object') {
    fail(`cnchar-order ${manifest.version} has no dict.orders: the bundle's layout changed`);
}

const lines = [`# cnchar-order ${manifest.version}`];
for (const [character, letters] of Object.entries(orders)) {
    // Only single characters with letter sequences; the bundle holds nothing else today.
    if ([...character].length === 1 && typeof letters === 'string' && /^[a-z]+$/.test(letters)) {
        lines.push(`${character} ${letters}`);
    }
}
const temporary = `${output}.part`;
fs.writeFileSync(temporary, lines.join('\n') + '\n');
fs.renameSync(temporary, output);
