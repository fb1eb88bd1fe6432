// One settings key as a form field: the raw value the board stores, its
// range and step from the key table, the window's way of showing it beside,
// and the page's slider where it has one. A change is sent when the field is
// left or Enter is pressed; a value the key cannot hold is refused here, with
// the reason, and never sent. While the field is being edited, values from
// the board do not overwrite the typing.
import { useState } from 'preact/hooks';
import { checkValue, Field } from '../logic/forms';
import { browserLocale } from '../logic/numbers';
import { shownText, weatherCount } from '../logic/shown';
import { Words } from '../logic/texts';

interface Props {
  item: Field;
  value: number | undefined;
  words: Words;
  fahrenheit: boolean;
  disabled: boolean;
  tint?: string;
  send: (value: number) => void;
}

export function NumberField({ item, value, words, fahrenheit, disabled, tint, send }: Props) {
  const { info } = item;
  const [draft, setDraft] = useState<string | null>(null);
  const [error, setError] = useState<string | null>(null);
  const id = `f-${info.section}-${info.key}`;
  const commit = () => {
    if (draft === null) return;
    const checked = checkValue(draft, info, words);
    if (!checked.ok) {
      setError(checked.reason);
      return;
    }
    setError(null);
    setDraft(null);
    if (checked.value !== value) send(checked.value);
  };
  const current = draft ?? (value === undefined ? '' : String(value));
  const parsed = Number(current);
  const count = weatherCount(info.key, parsed);
  const shown = Number.isInteger(parsed) && current !== ''
    ? count !== null ? String(count) : shownText(info.shown, parsed, { fahrenheit, locale: browserLocale })
    : null;
  const describedBy = [error ? `${id}-error` : '', shown ? `${id}-shown` : ''].filter(Boolean).join(' ');
  return (
    <div class={`field${error ? ' invalid' : ''}`}>
      <label for={id}>{item.label}<span class="key"> · {info.key} · {info.min}…{info.max}</span></label>
      <div class="inputs">
        {info.slider && (
          <input type="range" min={info.slider[0]} max={info.slider[1]} step={info.step}
            value={Math.min(info.slider[1], Math.max(info.slider[0], value ?? 0))}
            aria-label={item.label} disabled={disabled} tabIndex={-1}
            onChange={(e) => send(Number((e.target as HTMLInputElement).value))} />
        )}
        <input id={id} name={info.key} type="text" inputMode="numeric" autoComplete="off"
          value={current} disabled={disabled} aria-invalid={error ? 'true' : undefined}
          aria-describedby={describedBy || undefined} title={item.hint ?? undefined}
          style={tint ? { background: tint, color: '#000' } : undefined}
          onInput={(e) => setDraft((e.target as HTMLInputElement).value)}
          onBlur={commit}
          onKeyDown={(e) => {
            if (e.key === 'Enter') commit();
            if (e.key === 'Escape') { setDraft(null); setError(null); }
          }} />
        {shown && <output id={`${id}-shown`} class="shown">{shown}</output>}
      </div>
      {error && <p id={`${id}-error`} class="error" role="alert">{error}</p>}
    </div>
  );
}
