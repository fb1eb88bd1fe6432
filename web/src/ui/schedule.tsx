// The schedule as a grid of lines in the board's mode (times in Auto, sun
// altitudes in Geo), edited cell by cell; lines moved; one channel's column
// pasted onto another or two swapped; and the day's curves below.
import { useState } from 'preact/hooks';
import { checkCell, cellsWith, COL_FIRST_CHANNEL, COL_FIRST_SWITCH, COL_TIMER, COL_TIME, isGeo,
  Row } from '../logic/schedule';
import { channelCaption, channelLetter, CHANNEL_TINTS, Words } from '../logic/texts';
import { State, write } from '../store';
import { Curves } from './curves';

function Cell({ row, column, geo, words, disabled, tint }: {
  row: Row; column: number; geo: boolean; words: Words; disabled: boolean; tint?: string;
}) {
  const [draft, setDraft] = useState<string | null>(null);
  const [error, setError] = useState<string | null>(null);
  const commit = () => {
    if (draft === null) return;
    const checked = checkCell(column, draft, geo, words);
    if (!checked.ok) {
      setError(checked.reason);
      return;
    }
    setError(null);
    setDraft(null);
    if (draft.trim() !== row.cells[column])
      void write('PUT', `schedule/${row.line}`, { cells: cellsWith({ [column]: checked.value }) });
  };
  return (
    <td class={error ? 'invalid' : undefined} style={tint ? { background: tint } : undefined}>
      <input type="text" value={draft ?? row.cells[column]} disabled={disabled} size={5}
        data-line={row.line} data-col={column} aria-invalid={error ? 'true' : undefined}
        aria-label={`${words.t('Line')} ${row.line}, ${words.t(column === COL_TIME ? (geo ? 'Altitude' : 'Time')
          : column === COL_TIMER ? 'Timer' : 'WebChannel', channelLetter(column - COL_FIRST_CHANNEL))}`}
        title={error ?? undefined}
        onInput={(e) => setDraft((e.target as HTMLInputElement).value)} onBlur={commit}
        onKeyDown={(e) => { if (e.key === 'Enter') commit(); if (e.key === 'Escape') { setDraft(null); setError(null); } }} />
      {error && <span class="sr-only" role="alert">{error}</span>}
    </td>
  );
}

const SWITCH_KEYS = ['Display', 'Clouds', 'Storms'];

export function ScheduleScreen({ s }: { s: State }) {
  const board = s.selected ? s.boards[s.selected] : undefined;
  const schedule = board?.schedule;
  const w = s.words;
  const disabled = !board?.summary.connected || s.serviceLost || !schedule;
  const [from, setFrom] = useState(0);
  const [to, setTo] = useState(1);
  const names = board?.settings?.Names ?? {};
  const color = (n: number) => names[`ColorName${n}`] ?? 0;
  if (!schedule) return <section><h2 id="screen-title">{w.t('tsSchedule.Caption')}</h2></section>;
  const geo = isGeo(schedule.Mode);
  const rows = schedule.rows;
  const activeRow = board?.status?.row ?? -1;
  const move = (line: number, target: number) =>
    void write('POST', 'schedule/move', { from: line, to: target });
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{w.t('tsSchedule.Caption')}</h2>
      <p class="note">{w.t('memDescription.Caption')}</p>
      <div class="grid-scroll">
        <table class="grid">
          <thead>
            <tr>
              <th scope="col">{w.t('Line')}</th>
              <th scope="col">{w.t(geo ? 'Altitude' : 'Time')}</th>
              {Array.from({ length: 12 }, (_, n) => <th scope="col">{channelCaption(w, n, color(n))}</th>)}
              {SWITCH_KEYS.map((k) => <th scope="col">{w.t(k)}</th>)}
              <th scope="col">{w.t('Timer')}</th>
            </tr>
          </thead>
          <tbody>
            {rows.map((row) => (
              <tr class={row.line === activeRow ? 'active' : undefined}>
                <th scope="row">
                  <span>{row.line}</span>
                  <button type="button" class="mini" disabled={disabled || row.line === 0}
                    aria-label={w.t('WebMoveUp', row.line)} onClick={() => move(row.line, row.line - 1)}>↑</button>
                  <button type="button" class="mini" disabled={disabled || row.line === rows.length - 1}
                    aria-label={w.t('WebMoveDown', row.line)} onClick={() => move(row.line, row.line + 1)}>↓</button>
                </th>
                <Cell row={row} column={COL_TIME} geo={geo} words={w} disabled={disabled} />
                {Array.from({ length: 12 }, (_, n) => (
                  <Cell row={row} column={COL_FIRST_CHANNEL + n} geo={geo} words={w} disabled={disabled}
                    tint={CHANNEL_TINTS[color(n)]} />
                ))}
                {SWITCH_KEYS.map((k, i) => {
                  const column = COL_FIRST_SWITCH + i;
                  const on = (row.Switch & (0x20 << i)) !== 0;
                  return (
                    <td class={on ? 'on' : 'off'}>
                      <button type="button" aria-pressed={on} disabled={disabled} data-line={row.line} data-col={column}
                        aria-label={`${w.t('Line')} ${row.line}, ${w.t(k)}: ${w.t(on ? 'ON' : 'OFF')}`}
                        onClick={() => void write('PUT', `schedule/${row.line}`,
                          { cells: cellsWith({ [column]: on ? 'OFF' : 'ON' }) })}>
                        {w.t(on ? 'ON' : 'OFF')}
                      </button>
                    </td>
                  );
                })}
                <Cell row={row} column={COL_TIMER} geo={geo} words={w} disabled={disabled} />
              </tr>
            ))}
          </tbody>
        </table>
      </div>
      <fieldset class="group columns" disabled={disabled}>
        <legend>{w.t('WebColumns')}</legend>
        <label for="col-from">{w.t('WebColumnFrom')}</label>
        <select id="col-from" value={String(from)} onChange={(e) => setFrom(Number((e.target as HTMLSelectElement).value))}>
          {Array.from({ length: 12 }, (_, n) => <option value={String(n)}>{channelCaption(w, n, color(n))}</option>)}
        </select>
        <label for="col-to">{w.t('WebColumnTo')}</label>
        <select id="col-to" value={String(to)} onChange={(e) => setTo(Number((e.target as HTMLSelectElement).value))}>
          {Array.from({ length: 12 }, (_, n) => <option value={String(n)}>{channelCaption(w, n, color(n))}</option>)}
        </select>
        <button type="button" disabled={from === to}
          onClick={() => void write('POST', 'schedule/paste', { from: channelLetter(from), to: channelLetter(to) })}>
          {w.t('mnuPasteCol.Caption')}</button>
        <button type="button" disabled={from === to}
          onClick={() => void write('POST', 'schedule/swap', { from: channelLetter(from), to: channelLetter(to) })}>
          {w.t('mnuSwapCol.Caption')}</button>
      </fieldset>
      <Curves s={s} />
    </section>
  );
}
