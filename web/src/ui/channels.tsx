// The channels by hand: a slider and a percent field per channel in mode
// Manual, the channel's colour name, and all off / 20 % / on.
import { useState } from 'preact/hooks';
import { browserLocale, formatNumber, parseDecimal } from '../logic/numbers';
import { rawOfPercent } from '../logic/shown';
import { channelCaption, CHANNEL_TINTS, COLOR_KEYS, Words } from '../logic/texts';
import { State, write } from '../store';

const setLevels = (levels: Record<string, number>) => void write('POST', 'channels', { levels });

function Channel({ n, percent, color, manual, connected, words }: {
  n: number; percent: number; color: number; manual: boolean; connected: boolean; words: Words;
}) {
  const [draft, setDraft] = useState<string | null>(null);
  const [error, setError] = useState<string | null>(null);
  const [sliding, setSliding] = useState<number | null>(null);
  const caption = channelCaption(words, n, color);
  const commit = () => {
    if (draft === null) return;
    const v = parseDecimal(draft);
    if (v === null || v < 0 || v > 100) {
      setError(words.t('WebOutOfRange', draft.trim(), 0, 100));
      return;
    }
    setError(null);
    setDraft(null);
    setLevels({ [n]: v });
  };
  const raw = sliding ?? rawOfPercent(percent);
  const off = !manual || !connected;
  return (
    <div class="channel" style={{ '--tint': CHANNEL_TINTS[color] ?? '#fff' }}>
      <div class="channel-head">
        <label for={`name-${n}`} class="channel-label">{words.t('lblName0.Caption', String.fromCharCode(65 + n))}</label>
        <select id={`name-${n}`} name={`ColorName${n}`} disabled={!connected} value={String(color)}
          onChange={(e) => void write('PATCH', 'settings',
            { Names: { [`ColorName${n}`]: Number((e.target as HTMLSelectElement).value) } })}>
          {COLOR_KEYS.map((k, i) => <option value={String(i)}>{words.t(k)}</option>)}
        </select>
      </div>
      <input type="range" class="level" name={`Channel${n}`} min={0} max={4096} step={1} value={raw}
        aria-label={caption} aria-valuetext={`${formatNumber(raw / 40.96, 2, browserLocale)} %`} disabled={off}
        onInput={(e) => setSliding(Number((e.target as HTMLInputElement).value))}
        onChange={(e) => {
          const v = Number((e.target as HTMLInputElement).value);
          setSliding(null);
          setLevels({ [n]: Math.round((v / 40.96) * 100) / 100 });
        }} />
      <div class="channel-row">
        <input id={`level-${n}`} name={`edt${n}`} type="text" inputMode="decimal" class="percent"
          aria-label={`${caption} (%)`} disabled={off} aria-invalid={error ? 'true' : undefined}
          value={draft ?? formatNumber(raw / 40.96, 2, browserLocale)}
          onInput={(e) => setDraft((e.target as HTMLInputElement).value)} onBlur={commit}
          onKeyDown={(e) => { if (e.key === 'Enter') commit(); if (e.key === 'Escape') { setDraft(null); setError(null); } }} />
        <span aria-hidden="true">%</span>
        <button type="button" disabled={off} aria-label={`${caption}: ${words.t('btnOff0.Caption')}`}
          onClick={() => setLevels({ [n]: 0 })}>{words.t('btnOff0.Caption')}</button>
        <button type="button" disabled={off} aria-label={`${caption}: ${words.t('btnOn0.Caption')}`}
          onClick={() => setLevels({ [n]: 100 })}>{words.t('btnOn0.Caption')}</button>
      </div>
      {error && <p class="error" role="alert">{error}</p>}
    </div>
  );
}

export function ChannelsScreen({ s }: { s: State }) {
  const board = s.selected ? s.boards[s.selected] : undefined;
  const connected = !!board?.summary.connected && !s.serviceLost && !!board.settings;
  const manual = board?.settings?.Config?.Mode === 0;
  const all = (p: number) => setLevels(Object.fromEntries(Array.from({ length: 12 }, (_, i) => [i, p])));
  const w = s.words;
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{w.t('tsChannels.Caption', 'A-L')}</h2>
      {!manual && connected && <p class="note">{w.t('WebManualOnly')}</p>}
      <div class="toolbar">
        <button type="button" disabled={!connected || !manual} onClick={() => all(0)}>{w.t('mnuAllOff.Caption')}</button>
        <button type="button" disabled={!connected || !manual} onClick={() => all(20)}>{w.t('mnuAll20.Caption')}</button>
        <button type="button" disabled={!connected || !manual} onClick={() => all(100)}>{w.t('mnuAllOn.Caption')}</button>
      </div>
      <div class="channels">
        {Array.from({ length: 12 }, (_, n) => (
          <Channel n={n} percent={board?.status?.channels[n] ?? 0}
            color={board?.settings?.Names?.[`ColorName${n}`] ?? 0} manual={manual} connected={connected} words={w} />
        ))}
      </div>
    </section>
  );
}
