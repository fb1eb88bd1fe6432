// The board's settings history: its snapshots, what differs between the board
// and one of them as the pages show it, the chosen keys or whole sections put
// back after a question, and undo.
import { useEffect, useRef, useState } from 'preact/hooks';
import { call } from '../api';
import { browserLocale } from '../logic/numbers';
import { notify, State, write } from '../store';

interface Snapshot {
  index: number; time: string; reason: string; damaged: boolean; problem?: string;
}
interface Difference {
  section: string; key: string; a: string; b: string; caption: string; beyond_rows: boolean;
}

const REASONS: Record<string, string> = {
  'backup': 'ReasonBackup', 'export': 'ReasonExport', 'before-import': 'ReasonBeforeImport',
  'before-restore': 'ReasonBeforeRestore', 'before-reef': 'ReasonBeforeReef', 'before-undo': 'ReasonBeforeUndo',
};

// The words of the service's "only": one per key, as `settings restore --only` takes them.
const word = (d: Difference) => `${d.section}.${d.key}`;

export function HistoryScreen({ s }: { s: State }) {
  const w = s.words;
  const id = s.selected;
  const board = id ? s.boards[id] : undefined;
  const disabled = !board?.summary.connected || s.serviceLost || !board.summary.complete;
  const base = id ? `/api/v1/boards/${encodeURIComponent(id)}` : '';
  const [snapshots, setSnapshots] = useState<Snapshot[]>([]);
  const [chosen, setChosen] = useState<number | null>(null);
  const [diff, setDiff] = useState<Difference[] | null>(null);
  const [marked, setMarked] = useState<Set<string>>(new Set());
  const [asking, setAsking] = useState<'restore' | 'undo' | null>(null);
  const dialog = useRef<HTMLDialogElement>(null);

  const reload = async () => {
    if (!id) return;
    try {
      setSnapshots(await call<Snapshot[]>('GET', `${base}/history`));
    } catch (e) {
      notify(w.t('WebRefused', e instanceof Error ? e.message : String(e)), true);
    }
  };
  const compare = async (index: number, keepMarks = false) => {
    setChosen(index);
    if (!keepMarks) setMarked(new Set());
    try {
      setDiff(await call<Difference[]>('GET', `${base}/diff?a=board&b=snapshot:${index}&lang=${w.lang}`));
    } catch (e) {
      setDiff(null);
      notify(w.t('WebRefused', e instanceof Error ? e.message : String(e)), true);
    }
  };
  useEffect(() => { setChosen(null); setDiff(null); void reload(); }, [id]);
  // The captions and values come in the language of the page: asked again when it changes.
  useEffect(() => { if (chosen !== null) void compare(chosen, true); }, [w.lang]);

  const mark = (words: string[], on: boolean) => {
    const next = new Set(marked);
    for (const x of words) if (on) next.add(x); else next.delete(x);
    setMarked(next);
  };
  const ask = (what: 'restore' | 'undo') => { setAsking(what); dialog.current?.showModal(); };
  const confirmed = async () => {
    const done = asking === 'undo' ? await write('POST', 'undo')
      : await write('POST', 'restore', { source: `snapshot:${chosen}`, only: [...marked] });
    if (!done) return;
    await reload();
    if (chosen !== null) await compare(chosen);
  };

  const restorable = (diff ?? []).filter((d) => !d.beyond_rows);
  const sections = [...new Set(restorable.map((d) => d.section))];
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{w.t('WebHistory')}</h2>
      <fieldset class="group choice">
        <legend>{w.t('CompareWith')}</legend>
        {snapshots.map((x) => (
          <label class="radio">
            <input type="radio" name="snapshot" value={x.index} checked={chosen === x.index} disabled={x.damaged}
              onChange={() => void compare(x.index)} />
            {w.t('SnapshotItem', x.index, new Date(x.time).toLocaleString(browserLocale), w.t(REASONS[x.reason] ?? x.reason))}
            {x.damaged && ` ${w.t('SnapshotDamaged', x.index, x.problem ?? '')}`}
          </label>
        ))}
      </fieldset>
      {diff && diff.length === 0 && <p>{w.t('CompareEqual')}</p>}
      {restorable.length > 0 && (
        <div class="diff-scroll"><table class="diff">
          <thead>
            <tr><th /><th>{w.t('CompareSetting')}</th><th>{w.t('CompareKey')}</th>
              <th>{w.t('CompareBoard')}</th><th>{w.t('CompareOther')}</th></tr>
          </thead>
          {sections.map((section) => {
            const lines = restorable.filter((d) => d.section === section);
            const all = lines.every((d) => marked.has(word(d)));
            const title = /^\d+$/.test(section) ? w.t('ScheduleLine', section) : section;
            return (
              <tbody>
                <tr class="section">
                  <th colSpan={5}>
                    <label><input type="checkbox" name={`section:${section}`} checked={all}
                      onChange={(e) => mark(lines.map(word), (e.target as HTMLInputElement).checked)} /> {title}</label>
                  </th>
                </tr>
                {lines.map((d) => (
                  <tr>
                    <td><input type="checkbox" name={word(d)} aria-label={word(d)} checked={marked.has(word(d))}
                      onChange={(e) => mark([word(d)], (e.target as HTMLInputElement).checked)} /></td>
                    <td>{d.caption}</td><td>{word(d)}</td><td>{d.a}</td><td>{d.b}</td>
                  </tr>
                ))}
              </tbody>
            );
          })}
        </table></div>
      )}
      {diff && diff.some((d) => d.beyond_rows) && (
        <p class="note">{w.t('CompareBeyondRows')}: {diff.filter((d) => d.beyond_rows).map(word).join(', ')}</p>
      )}
      <fieldset class="group actions" disabled={disabled}>
        <legend>{w.t('WebActions')}</legend>
        <button type="button" data-action="restore" disabled={marked.size === 0} onClick={() => ask('restore')}>
          {w.t('CompareRestore')}</button>
        <button type="button" data-action="undo" disabled={!snapshots.some((x) => x.reason.startsWith('before-'))}
          onClick={() => ask('undo')}>{w.t('mnuUndoImport.Caption')}</button>
      </fieldset>
      <dialog ref={dialog} aria-labelledby="history-confirm" onClose={() => setAsking(null)}>
        <form method="dialog">
          <p id="history-confirm">{asking === 'undo' ? w.t('WebConfirmUndo') : w.t('WebConfirmRestore', marked.size)}</p>
          <button value="no">{w.t('WebCancel')}</button>
          <button value="yes" onClick={() => void confirmed()}>
            {asking === 'undo' ? w.t('mnuUndoImport.Caption') : w.t('CompareRestore')}</button>
        </form>
      </dialog>
    </section>
  );
}
