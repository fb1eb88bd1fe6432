// The day as twelve curves over the time of day (Auto) or the sun's path
// (Geo). A point of the chosen channel is dragged with mouse, pen or touch;
// its line is written once, on release, as the window's Visualization page
// does. With the keyboard: arrows left and right choose a point, up and down
// change it, Enter writes it.
import { useEffect, useRef, useState } from 'preact/hooks';
import uPlot from 'uplot';
import { curveData, dragged, hitRow, isGeo, percentCell, pointLabel, Row, Schedule,
  timeText, cellsWith, COL_FIRST_CHANNEL, COL_TIME } from '../logic/schedule';
import { browserLocale } from '../logic/numbers';
import { channelCaption, CURVE_COLORS } from '../logic/texts';
import { State, write } from '../store';

// Drag frames, from the pointer's move to the drawn picture, for measurements.
declare global {
  interface Window { vmxDragFrames?: number[] }
}

const translucent = (hex: string) => `${hex}40`;

function geoLabel(psi: number): string {
  return `${psi <= 180 ? psi - 90 : 270 - psi}°`;
}

function boardMinutes(clock: string | undefined): number | null {
  const m = clock ? /T(\d\d):(\d\d)/.exec(clock) : null;
  return m ? Number(m[1]) * 60 + Number(m[2]) : null;
}

export function Curves({ s }: { s: State }) {
  const board = s.selected ? s.boards[s.selected] : undefined;
  const schedule = board?.schedule;
  const w = s.words;
  const [channel, setChannel] = useState(0);
  const [lock, setLock] = useState(false);
  const [label, setLabel] = useState<string | null>(null);
  const box = useRef<HTMLDivElement>(null);
  const plot = useRef<uPlot | null>(null);
  // The rows being edited (a copy while a drag or key edit runs), the edited row.
  const edit = useRef<{ rows: Row[]; row: number; moved: boolean; start: number } | null>(null);
  const focusRow = useRef(0);
  const live = useRef({ schedule, channel, lock, clock: board?.status?.clock });
  live.current = { schedule, channel, lock, clock: board?.status?.clock };
  const names = board?.settings?.Names ?? {};
  const color = (n: number) => CURVE_COLORS[names[`ColorName${n}`] ?? 0] ?? '#ffffff';
  const disabled = !board?.summary.connected || s.serviceLost || !schedule;
  const geo = schedule ? isGeo(schedule.Mode) : false;

  const shownSchedule = (): Schedule | undefined => {
    const sc = live.current.schedule;
    return sc && edit.current ? { ...sc, rows: edit.current.rows } : sc;
  };
  const dataOf = (sc: Schedule | undefined) => {
    const [xs, ...ys] = sc ? curveData(sc) : [[0], ...Array.from({ length: 12 }, () => [0])];
    // The chosen channel once more on top, drawn with its points.
    const data: uPlot.AlignedData = [xs, ...ys, ys[live.current.channel]];
    return data;
  };

  // The plot, made anew when the channel, the mode or the colours change.
  const colorKey = Array.from({ length: 12 }, (_, n) => color(n)).join();
  useEffect(() => {
    const el = box.current;
    if (!el) return;
    const width = Math.max(280, el.clientWidth);
    const height = Math.round(Math.min(420, Math.max(220, width * 0.5)));
    const splits = geo ? Array.from({ length: 25 }, (_, i) => i * 15) : Array.from({ length: 25 }, (_, i) => i * 60);
    const axis = { stroke: '#b0b0b0', grid: { stroke: '#202020', width: 1 }, ticks: { show: false } };
    const series: uPlot.Series[] = [{}];
    for (let n = 0; n < 12; ++n) series.push({ stroke: translucent(color(n)), width: 1.5, points: { show: false } });
    series.push({ stroke: color(channel), width: 2, fill: translucent(color(channel)),
      points: { show: true, size: 10, fill: color(channel), stroke: color(channel) } });
    const u = new uPlot({
      width, height, legend: { show: false },
      cursor: { drag: { x: false, y: false }, points: { show: false }, x: false, y: false },
      scales: { x: { time: false, range: geo ? [0, 360] : [0, 1440] }, y: { range: [0, 100] } },
      axes: [
        { ...axis, splits: () => splits, values: (_u, v) => v.map((x) => (x % (geo ? 45 : 180) === 0 || width > 700
          ? (geo ? geoLabel(x) : String(x / 60)) : '')) },
        { ...axis, splits: () => [0, 20, 40, 60, 80, 100], values: (_u, v) => v.map((x) => `${x}%`) },
      ],
      series,
      hooks: {
        draw: [(pl) => {
          const t0 = (pl as any).vmxMoveAt as number | undefined;
          if (t0 !== undefined) {
            (window.vmxDragFrames ??= []).push(performance.now() - t0);
            (pl as any).vmxMoveAt = undefined;
          }
          const minutes = geo ? null : boardMinutes(live.current.clock);
          if (minutes === null) return;
          const x = pl.valToPos(minutes, 'x', true);
          const ctx = pl.ctx;
          ctx.save();
          ctx.strokeStyle = '#c0c0c0';
          ctx.lineWidth = 1;
          ctx.beginPath();
          ctx.moveTo(x, pl.bbox.top);
          ctx.lineTo(x, pl.bbox.top + pl.bbox.height);
          ctx.stroke();
          ctx.restore();
        }],
      },
    }, dataOf(shownSchedule()), el);
    u.over.style.touchAction = 'none';
    plot.current = u;

    const pointsOf = (rows: Row[]) => {
      const xs = curveData({ ...live.current.schedule!, rows })[0];
      return rows.map((r, k) => ({ x: u.valToPos(xs[k + 1], 'x'), y: u.valToPos(r.Color16[channel] / 40.96, 'y') }));
    };
    const redraw = () => {
      (u as any).vmxMoveAt = performance.now();
      u.setData(dataOf(shownSchedule()));
    };
    const over = u.over;
    const down = (e: PointerEvent) => {
      const sc = live.current.schedule;
      if (!sc || over.dataset.disabled === 'true') return;
      const rect = over.getBoundingClientRect();
      const rows = sc.rows.map((r) => ({ ...r, Color16: [...r.Color16] }));
      const k = hitRow(pointsOf(rows), e.clientX - rect.left, e.clientY - rect.top);
      if (k < 0) return;
      over.setPointerCapture(e.pointerId);
      edit.current = { rows, row: k, moved: false, start: 0 };
      focusRow.current = k;
      setLabel(pointLabel(rows[k], channel, geo, browserLocale));
      e.preventDefault();
    };
    const move = (e: PointerEvent) => {
      const ed = edit.current;
      if (!ed) return;
      const rect = over.getBoundingClientRect();
      const p = dragged(u.posToVal(e.clientX - rect.left, 'x'), u.posToVal(e.clientY - rect.top, 'y'));
      const row = ed.rows[ed.row];
      if (!geo && !live.current.lock) {
        row.Hour = Math.floor(p.minutes / 60);
        row.Minute = p.minutes % 60;
      }
      row.Color16[channel] = p.raw;
      ed.moved = true;
      redraw();
      setLabel(pointLabel(row, channel, geo, browserLocale));
    };
    const up = () => {
      const ed = edit.current;
      if (!ed) return;
      edit.current = null;
      setLabel(null);
      if (ed.moved) send(ed.rows[ed.row]);
      else u.setData(dataOf(shownSchedule()));
    };
    over.addEventListener('pointerdown', down);
    over.addEventListener('pointermove', move);
    over.addEventListener('pointerup', up);
    over.addEventListener('pointercancel', up);
    const resize = new ResizeObserver(() => {
      const wd = Math.max(280, el.clientWidth);
      if (wd !== u.width) u.setSize({ width: wd, height: Math.round(Math.min(420, Math.max(220, wd * 0.5))) });
    });
    resize.observe(el);
    return () => {
      resize.disconnect();
      u.destroy();
      plot.current = null;
    };
  }, [channel, geo, colorKey]);

  // Values from the board, shown unless a drag is running.
  useEffect(() => {
    if (plot.current && !edit.current) plot.current.setData(dataOf(schedule));
  }, [schedule, board?.status?.clock]);

  useEffect(() => {
    if (plot.current) plot.current.over.dataset.disabled = String(disabled);
  }, [disabled]);

  // The edited line goes out once: its time (Auto, unless locked) and the channel's level.
  function send(row: Row) {
    const changes: Record<number, string> = { [COL_FIRST_CHANNEL + channel]: percentCell(row.Color16[channel]) };
    if (!geo && !lock) changes[COL_TIME] = timeText(row.Hour * 60 + row.Minute);
    void write('PUT', `schedule/${row.line}`, { cells: cellsWith(changes) });
  }

  const onKey = (e: KeyboardEvent) => {
    const sc = live.current.schedule;
    if (!sc || !sc.rows.length || disabled) return;
    const n = sc.rows.length;
    if (e.key === 'ArrowLeft' || e.key === 'ArrowRight') {
      focusRow.current = (focusRow.current + (e.key === 'ArrowLeft' ? n - 1 : 1)) % n;
      edit.current = null;
      setLabel(pointLabel(sc.rows[focusRow.current], channel, geo, browserLocale));
    } else if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
      if (!edit.current) edit.current = { rows: sc.rows.map((r) => ({ ...r, Color16: [...r.Color16] })),
        row: focusRow.current, moved: false, start: 0 };
      const row = edit.current.rows[edit.current.row];
      const step = (e.shiftKey ? 10 : 1) * 40.96 * (e.key === 'ArrowUp' ? 1 : -1);
      row.Color16[channel] = dragged(0, (row.Color16[channel] + step) / 40.96).raw;
      edit.current.moved = true;
      plot.current?.setData(dataOf(shownSchedule()));
      setLabel(pointLabel(row, channel, geo, browserLocale));
    } else if (e.key === 'Enter' && edit.current) {
      const ed = edit.current;
      edit.current = null;
      send(ed.rows[ed.row]);
    } else if (e.key === 'Escape') {
      edit.current = null;
      setLabel(null);
      plot.current?.setData(dataOf(sc));
    } else {
      return;
    }
    e.preventDefault();
  };

  return (
    <div class="curves">
      <h3>{w.t('tsVisualize.Caption')}</h3>
      <div class="curve-tools">
        <label for="curve-channel">{w.t('lblVisualize.Caption')}</label>
        <select id="curve-channel" value={String(channel)}
          onChange={(e) => setChannel(Number((e.target as HTMLSelectElement).value))}>
          {Array.from({ length: 12 }, (_, n) => <option value={String(n)}>{channelCaption(w, n, names[`ColorName${n}`] ?? 0)}</option>)}
        </select>
        {!geo && (
          <label class="radio"><input type="checkbox" checked={lock}
            onChange={(e) => setLock((e.target as HTMLInputElement).checked)} />{w.t('cbxTimeLock.Caption')}</label>
        )}
      </div>
      <div class="plot-wrap">
        <output class="point-label" aria-live="polite">{label ?? ''}</output>
        <div ref={box} class="plot" tabIndex={0} role="application" aria-label={w.t('WebCurvesHelp')}
          aria-disabled={disabled ? 'true' : undefined} onKeyDown={onKey} />
      </div>
    </div>
  );
}
