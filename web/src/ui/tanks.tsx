// Every board at a glance, live from the event stream: link and mode, the
// channels as bars in their colours, temperatures, voltage, the schedule
// line running, clouds and storms, the board's error flags and its
// acclimation plan.
import { useEffect } from 'preact/hooks';
import { browserLocale, formatNumber } from '../logic/numbers';
import { channelCaption, CHANNEL_TINTS, MODE_KEYS, MODES } from '../logic/texts';
import { Board, loadPlans, modeOf, select, State } from '../store';

// The flags that mean trouble, in the order and words of the window's status
// line; the others tell what the board is doing.
const ALERTS: [string, string][] = [['overtemperature', 'Overtemperature'], ['undervoltage', 'Undervoltage'],
  ['quartz', 'QuarzError'], ['crc', 'CRCError'], ['ram_full', 'RAMFull'], ['rtc', 'RTCError'],
  ['temp_board', 'TempBoardError'], ['pwm', 'PWMError']];

function Tank({ b, s, chosen }: { b: Board; s: State; chosen: boolean }) {
  const w = s.words;
  const st = b.summary.connected ? b.status : undefined;
  const names = b.settings?.Names ?? {};
  const word = modeOf(b);
  const mode = word ? MODES.indexOf(word as (typeof MODES)[number]) : -1;
  const unit = st?.unit === 'F' ? '°F' : '°C';
  const temp = (v: number | null | undefined) => (v === null || v === undefined ? '–' : `${formatNumber(v, 1, browserLocale, true)} ${unit}`);
  const row = st ? b.schedule?.rows[st.row] : undefined;
  const alerts = st ? ALERTS.filter(([flag]) => st.flags[flag]).map(([, key]) => w.t(key)) : [];
  const headingId = `tank-${b.summary.id}`;
  // What the window's Visualization page says of the plan.
  const p = b.plan;
  const plan = p?.state === 'paused' ? w.t('AcclimationPausedShort')
    : p?.state === 'running' && p.factor !== undefined && (p.day ?? -1) >= 0
      ? w.t('AcclimationToday', formatNumber(p.factor, 1, browserLocale), p.day!, p.days!) : null;
  return (
    <article class={`tank${chosen ? ' chosen' : ''}`} aria-labelledby={headingId} data-board={b.summary.id}>
      <header>
        <h3 id={headingId}>{b.summary.id}</h3>
        <span class={`link ${b.summary.connected ? 'up' : 'down'}`}>
          {w.t(b.summary.connected ? 'WebConnected' : 'WebDisconnected')}</span>
        {mode >= 0 && <span class="mode">{w.t(MODE_KEYS[mode])}</span>}
      </header>
      <p class="port">{b.summary.port}</p>
      <div class="bars">
        {Array.from({ length: 12 }, (_, n) => {
          const v = st?.channels[n] ?? 0;
          const caption = channelCaption(w, n, names[`ColorName${n}`] ?? 0);
          return (
            <div class="bar" role="meter" aria-label={caption} aria-valuemin={0} aria-valuemax={100}
              aria-valuenow={v} aria-valuetext={`${formatNumber(v, 1, browserLocale)} %`} title={caption}>
              <div class="fill" style={{ height: `${Math.min(100, Math.max(0, v))}%`,
                background: CHANNEL_TINTS[names[`ColorName${n}`] ?? 0] }} />
              <span class="letter" aria-hidden="true">{String.fromCharCode(65 + n)}</span>
            </div>
          );
        })}
      </div>
      {st && (
        <dl class="facts">
          <dt>{w.t('WebBoardTemperature')}</dt><dd data-fact="board">{temp(st.temperatures.board)}</dd>
          <dt>{w.t('HomeWaterTemperature')}</dt><dd data-fact="water">{temp(st.temperatures.water)}</dd>
          {st.temperatures.second !== null && (<><dt>{w.t('HomeSlaveTemperature')}</dt><dd>{temp(st.temperatures.second)}</dd></>)}
          <dt>{w.t('WebVoltage')}</dt><dd>{formatNumber(st.voltage, 2, browserLocale)} V</dd>
          <dt>{w.t('HomeActiveRow')}</dt><dd>{st.row}{row ? ` (${row.cells[1]})` : ''}</dd>
          <dt>{w.t('WebBoardClock')}</dt><dd>{new Date(st.clock).toLocaleString(browserLocale, { dateStyle: 'short', timeStyle: 'medium' })}</dd>
          <dt>{w.t('HomeCloudActive')}</dt><dd>{w.t(st.cloud ? 'ON' : 'OFF')}</dd>
          <dt>{w.t('HomeStormActive')}</dt><dd>{w.t(st.storm ? 'ON' : 'OFF')}</dd>
        </dl>
      )}
      {alerts.length > 0 && <p class="alerts" role="status">{w.t('HomeAlarm')}: {alerts.join(', ')}</p>}
      {plan && <p class="plan" data-fact="acclimation">{plan}</p>}
      <button type="button" aria-pressed={chosen} onClick={() => select(b.summary.id)}>
        {w.t(chosen ? 'WebChosen' : 'WebChoose')}</button>
    </article>
  );
}

export function TanksScreen({ s }: { s: State }) {
  useEffect(() => {
    const timer = window.setInterval(() => void loadPlans(), 60000);
    return () => window.clearInterval(timer);
  }, []);
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{s.words.t('WebTanks')}</h2>
      {s.order.length === 0 && <p class="note">{s.words.t('WebNoBoards')}</p>}
      <div class="tanks">
        {s.order.map((id) => s.boards[id] && <Tank b={s.boards[id]} s={s} chosen={id === s.selected} />)}
      </div>
    </section>
  );
}
