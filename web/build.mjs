// Bundles the interface for velmarinexd: index.html, app.js and app.css, each
// also gzipped (the service sends those to browsers that take gzip). Fails
// when the gzipped files weigh more than the limit together.
// Usage: node build.mjs OUTDIR
import { build } from 'esbuild';
import { mkdirSync, readFileSync, writeFileSync, existsSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const here = dirname(fileURLToPath(import.meta.url));
const out = process.argv[2];
if (!out) {
  console.error('usage: node build.mjs OUTDIR');
  process.exit(2);
}
const LIMIT = 150 * 1024;

const result = await build({
  entryPoints: [join(here, 'src/main.tsx')],
  bundle: true,
  minify: true,
  format: 'iife',
  target: ['es2020'],
  jsx: 'automatic',
  jsxImportSource: 'preact',
  write: false,
  outdir: out,
  entryNames: 'app',
  legalComments: 'none',
  logLevel: 'warning',
});

const html = `<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Velmarinex</title>
<link rel="stylesheet" href="/app.css">
<script defer src="/app.js"></script>
</head>
<body><div id="app"></div></body>
</html>
`;

const files = { 'index.html': Buffer.from(html) };
for (const f of result.outputFiles) files[f.path.endsWith('.css') ? 'app.css' : 'app.js'] = Buffer.from(f.contents);

mkdirSync(out, { recursive: true });
// Written only when changed, so the service is not rebuilt for nothing.
const put = (name, data) => {
  const path = join(out, name);
  if (!existsSync(path) || !readFileSync(path).equals(data)) writeFileSync(path, data);
};
let zipped = 0;
for (const [name, data] of Object.entries(files)) {
  const gz = gzipSync(data, { level: 9 });
  // A fixed header time, so the same sources give the same bytes.
  gz.writeUInt32LE(0, 4);
  zipped += gz.length;
  put(name, data);
  put(`${name}.gz`, gz);
}
console.log(`web bundle: ${(zipped / 1024).toFixed(1)} KiB gzipped (limit ${LIMIT / 1024} KiB)`);
if (zipped > LIMIT) {
  console.error('web bundle: larger than the limit');
  process.exit(1);
}
