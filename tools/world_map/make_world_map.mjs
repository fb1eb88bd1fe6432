// Draws the Geo page's world map, data/world_map.png, from Natural Earth's land
// polygons (public domain) as the npm package world-atlas ships them.
//
//   cd tools/world_map && npm install && node make_world_map.mjs ../../data/world_map.png
//
// Run once when the map should change; the build only compiles in the PNG.
//
// The map is equirectangular, 1000 x 500 pixels, and its pixel centres sit
// where the page puts a location: x = (lon + 180) * 1000 / 360 and
// y = (90 - lat) * 500 / 180, so column 0 is centred on 180 W and row 0 on the
// north pole. Each pixel is the land share of 8 x 8 samples, blended between
// the ocean and land colours, so coastlines are smooth at 1:1 pixels.
import {readFileSync, writeFileSync} from 'node:fs';
import {deflateSync} from 'node:zlib';
import {feature} from 'topojson-client';

const WIDTH = 1000;
const HEIGHT = 500;
const SAMPLES = 8;  // per pixel and axis
const DEG_PER_PIXEL = 360 / WIDTH;

// Read at a glance, and far from the marker's pure red and the white lines.
const OCEAN = [46, 94, 138];
const LAND = [150, 186, 116];

function landPolygons(resolution) {
  const url = new URL(`node_modules/world-atlas/land-${resolution}.json`, import.meta.url);
  const topo = JSON.parse(readFileSync(url));
  const land = feature(topo, topo.objects.land);
  return land.features.flatMap((f) =>
    f.geometry.type === 'MultiPolygon' ? f.geometry.coordinates : [f.geometry.coordinates]);
}

// world-atlas joins the pieces Natural Earth cuts at the antimeridian, so a
// ring may jump from +180 to -180 and back (Chukotka, Wrangel, Fiji). Such a
// ring is made continuous, reaching past +-180; it is drawn shifted by a full
// turn as well. A ring that goes once round the globe (Antarctica) is closed
// along its pole, or its closing edge would cut a band across the whole map.
function unwrapRing(ring) {
  const out = [[ring[0][0], ring[0][1]]];
  let shift = 0;
  for (let i = 1; i < ring.length; i++) {
    const d = ring[i][0] - ring[i - 1][0];
    if (d > 180) shift -= 360;
    if (d < -180) shift += 360;
    out.push([ring[i][0] + shift, ring[i][1]]);
  }
  const first = out[0];
  const last = out[out.length - 1];
  const turn = last[0] - first[0];
  if (Math.abs(turn) > 180) {
    const pole = out.reduce((s, p) => s + p[1], 0) < 0 ? -90 : 90;
    out.push([last[0], pole], [first[0], pole]);
  }
  // Every ring of a polygon in the same turn, so a hole (the Caspian Sea)
  // stays inside its outer ring.
  const lons = out.map((p) => p[0]);
  const middle = (Math.min(...lons) + Math.max(...lons)) / 2;
  const turns = Math.round(middle / 360);
  return out.map(([lon, lat]) => [lon - 360 * turns, lat]);
}

// Sample rows and columns in map units: sample s of the image lies at
// s / SAMPLES - 0.5 + 0.5 / SAMPLES pixels.
function sampleToPixel(s) {
  return (s + 0.5) / SAMPLES - 0.5;
}

function lonToPixel(lon) {
  return (lon + 180) / DEG_PER_PIXEL;
}

function latToPixel(lat) {
  return (90 - lat) / DEG_PER_PIXEL;
}

// Fills one polygon (outer ring and holes, even-odd) into the sample mask.
function fillPolygon(mask, rings) {
  const sw = WIDTH * SAMPLES;
  const sh = HEIGHT * SAMPLES;
  const edges = [];
  let minY = Infinity;
  let maxY = -Infinity;
  let minX = Infinity;
  let maxX = -Infinity;
  for (const ring of rings) {
    const pts = ring.map(([lon, lat]) => [lonToPixel(lon), latToPixel(lat)]);
    for (let i = 0; i < pts.length; i++) {
      const a = pts[i];
      const b = pts[(i + 1) % pts.length];
      if (a[1] === b[1]) continue;
      edges.push(a[1] < b[1] ? [a[0], a[1], b[0], b[1]] : [b[0], b[1], a[0], a[1]]);
      minY = Math.min(minY, a[1]);
      maxY = Math.max(maxY, a[1]);
      minX = Math.min(minX, a[0]);
      maxX = Math.max(maxX, a[0]);
    }
  }
  if (!edges.length) return;
  edges.sort((e, f) => e[1] - f[1]);
  for (const offset of [-WIDTH, 0, WIDTH]) {
    if (maxX + offset < -1 || minX + offset > WIDTH + 1) continue;
    const first = Math.max(0, Math.floor((minY + 0.5) * SAMPLES - 0.5));
    const end = Math.min(sh - 1, Math.ceil((maxY + 0.5) * SAMPLES));
    for (let sy = first; sy <= end; sy++) {
      const y = sampleToPixel(sy);
      const xs = [];
      for (const e of edges) {
        if (e[1] > y) break;
        if (e[3] <= y) continue;
        xs.push(e[0] + ((y - e[1]) * (e[2] - e[0])) / (e[3] - e[1]) + offset);
      }
      xs.sort((a, b) => a - b);
      for (let i = 0; i + 1 < xs.length; i += 2) {
        // Samples whose centre lies inside [xs[i], xs[i+1]).
        const from = Math.max(0, Math.ceil((xs[i] + 0.5) * SAMPLES - 0.5));
        const to = Math.min(sw - 1, Math.ceil((xs[i + 1] + 0.5) * SAMPLES - 0.5) - 1);
        const row = sy * sw;
        for (let sx = from; sx <= to; sx++) mask[row + sx] = 1;
      }
    }
  }
}

function render(polygons) {
  const sw = WIDTH * SAMPLES;
  const mask = new Uint8Array(sw * HEIGHT * SAMPLES);
  for (const polygon of polygons) fillPolygon(mask, polygon.map(unwrapRing));
  const rgb = Buffer.alloc(WIDTH * HEIGHT * 3);
  for (let y = 0; y < HEIGHT; y++) {
    for (let x = 0; x < WIDTH; x++) {
      let count = 0;
      for (let j = 0; j < SAMPLES; j++) {
        const row = (y * SAMPLES + j) * sw + x * SAMPLES;
        for (let i = 0; i < SAMPLES; i++) count += mask[row + i];
      }
      const share = count / (SAMPLES * SAMPLES);
      for (let c = 0; c < 3; c++)
        rgb[(y * WIDTH + x) * 3 + c] = Math.round(OCEAN[c] + (LAND[c] - OCEAN[c]) * share);
    }
  }
  return rgb;
}

const CRC_TABLE = Array.from({length: 256}, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
  const length = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(body));
  return Buffer.concat([length, body, crc]);
}

// An opaque 8-bit RGB PNG, each row with the "sub" filter.
function encodePng(rgb) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(WIDTH, 0);
  header.writeUInt32BE(HEIGHT, 4);
  header[8] = 8;  // bit depth
  header[9] = 2;  // truecolour
  const stride = WIDTH * 3;
  const raw = Buffer.alloc((stride + 1) * HEIGHT);
  for (let y = 0; y < HEIGHT; y++) {
    raw[y * (stride + 1)] = 1;
    for (let i = 0; i < stride; i++) {
      const left = i >= 3 ? rgb[y * stride + i - 3] : 0;
      raw[y * (stride + 1) + 1 + i] = (rgb[y * stride + i] - left) & 0xff;
    }
  }
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('IDAT', deflateSync(raw, {level: 9})),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

const target = process.argv[2];
if (!target) {
  console.error('usage: node make_world_map.mjs OUTPUT.png [50m|110m]');
  process.exit(2);
}
const resolution = process.argv[3] ?? '50m';
writeFileSync(target, encodePng(render(landPolygons(resolution))));
console.log(`${target}: ${WIDTH} x ${HEIGHT}, Natural Earth land ${resolution}`);
