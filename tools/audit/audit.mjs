// SPDX-License-Identifier: MIT
// Accessibility audit of Lumivert albums: runs axe-core over the cover, the index and the first photo
// page of each album given, in headless Chromium, and counts the violations of the WCAG 2.0/2.1
// level A and AA rules. Optionally takes screenshots at desktop and phone widths.
//
// Usage: node audit.mjs [--screenshots DIR] NAME=ALBUM_FOLDER...
// Exit status: 0 no violation, 1 violations found, 2 bad arguments or the browser failed.
import { createRequire } from 'node:module';
import { mkdirSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const require = createRequire(import.meta.url);
const axePath = require.resolve('axe-core/axe.min.js');
const tags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'];
const pages = ['top.htm', 'index.htm', 'page001.htm'];
const widths = { desktop: 1280, phone: 390 };

const args = process.argv.slice(2);
let shots = '';
const albums = [];
for (let i = 0; i < args.length; ++i) {
  if (args[i] === '--screenshots') shots = args[++i] ?? '';
  else if (args[i].includes('=')) {
    const at = args[i].indexOf('=');
    albums.push({ name: args[i].slice(0, at), folder: resolve(args[i].slice(at + 1)) });
  } else {
    console.error(`unexpected argument ${args[i]}`);
    process.exit(2);
  }
}
if (albums.length === 0) {
  console.error('usage: node audit.mjs [--screenshots DIR] NAME=ALBUM_FOLDER...');
  process.exit(2);
}
if (shots) mkdirSync(shots, { recursive: true });

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--allow-file-access-from-files'],
});
let total = 0;
try {
  const page = await browser.newPage();
  console.log(['style', ...pages].join('\t'));
  for (const album of albums) {
    const row = [album.name];
    for (const name of pages) {
      const url = pathToFileURL(join(album.folder, name)).href;
      await page.setViewport({ width: widths.desktop, height: 900 });
      await page.goto(url, { waitUntil: 'load' });
      await page.addScriptTag({ path: axePath });
      const result = await page.evaluate(
        (runOnly) => window.axe.run(document, { runOnly: { type: 'tag', values: runOnly }, resultTypes: ['violations', 'incomplete'] }),
        tags);
      const count = result.violations.reduce((n, v) => n + v.nodes.length, 0);
      total += count;
      row.push(String(count));
      for (const v of result.incomplete) {
        if (process.env.AUDIT_VERBOSE)
          for (const node of v.nodes.slice(0, 4)) console.error(`  review ${album.name} ${name}: ${v.id} ${node.target.join(' ')}: ${node.any?.[0]?.message ?? ''}`);
      }
      for (const v of result.violations) {
        console.error(`${album.name} ${name}: ${v.id} (${v.impact}) ${v.help}`);
        for (const node of v.nodes.slice(0, 3)) console.error(`    ${node.target.join(' ')}: ${node.failureSummary?.split('\n').slice(1).join(' ')}`);
      }
      if (shots) {
        for (const [label, width] of Object.entries(widths)) {
          await page.setViewport({ width, height: label === 'phone' ? 844 : 900, isMobile: label === 'phone', hasTouch: label === 'phone' });
          await page.goto(url, { waitUntil: 'load' });
          await page.screenshot({ path: join(shots, `${album.name}-${name.replace('.htm', '')}-${label}.png`), fullPage: true });
        }
      }
    }
    console.log(row.join('\t'));
  }
} finally {
  await browser.close();
}
console.log(`violations (${tags.join(', ')}): ${total}`);
process.exit(total === 0 ? 0 : 1);
