// The board's mode and one-shot actions; the two that change what the board
// keeps (save, reef defaults) ask first.
import { useRef, useState } from 'preact/hooks';
import { MODE_KEYS, MODES } from '../logic/texts';
import { modeOf, State, write } from '../store';

const ACTIONS: { action: string; caption: string; confirm?: string }[] = [
  { action: 'save', caption: 'mnuSaveEEPROM.Caption', confirm: 'WebConfirmSave' },
  { action: 'refresh', caption: 'mnuRefresh.Caption' },
  { action: 'reef', caption: 'mnuLoadReef.Caption', confirm: 'WebConfirmReef' },
  { action: 'clock', caption: 'mnuSetTimeDate.Caption' },
  { action: 'cloud', caption: 'HomeTriggerCloud' },
  { action: 'storm', caption: 'HomeTriggerStorm' },
];

export function ActionsScreen({ s }: { s: State }) {
  const w = s.words;
  const board = s.selected ? s.boards[s.selected] : undefined;
  const disabled = !board?.summary.connected || s.serviceLost || !board.summary.complete;
  const mode = modeOf(board) ?? '';
  const dialog = useRef<HTMLDialogElement>(null);
  const [asking, setAsking] = useState<(typeof ACTIONS)[number] | null>(null);
  const run = (a: (typeof ACTIONS)[number]) => {
    if (a.confirm) {
      setAsking(a);
      dialog.current?.showModal();
    } else {
      void write('POST', `actions/${a.action}`);
    }
  };
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{w.t('WebActions')}</h2>
      <fieldset class="group choice" disabled={disabled}>
        <legend>{w.t('HomeMode')}</legend>
        {MODES.map((m, i) => (
          <label class="radio">
            <input type="radio" name="Mode" value={m} checked={mode === m}
              onChange={() => void write('POST', 'mode', { mode: m })} />
            {w.t(MODE_KEYS[i])}
          </label>
        ))}
      </fieldset>
      <fieldset class="group actions" disabled={disabled}>
        <legend>{w.t('WebActions')}</legend>
        {ACTIONS.map((a) => (
          <button type="button" data-action={a.action} onClick={() => run(a)}>{w.t(a.caption)}</button>
        ))}
      </fieldset>
      <dialog ref={dialog} aria-labelledby="confirm-text" onClose={() => setAsking(null)}>
        <form method="dialog">
          <p id="confirm-text">{asking ? w.t(asking.confirm!) : ''}</p>
          <button value="no">{w.t('WebCancel')}</button>
          <button value="yes" onClick={() => { if (asking) void write('POST', `actions/${asking.action}`); }}>
            {asking ? w.t(asking.caption) : ''}</button>
        </form>
      </dialog>
    </section>
  );
}
