// A settings screen (Configuration, Expert, Weather, Delays, Moon, White
// balance, Time zone): the form the key table generates for it.
import { buildScreens, Choice, choiceSelected, choiceValue } from '../logic/forms';
import { CHANNEL_TINTS } from '../logic/texts';
import { Board, State, write } from '../store';
import { NumberField } from './field';

function colors(board: Board | undefined): number[] {
  const names = board?.settings?.Names ?? {};
  return Array.from({ length: 12 }, (_, i) => names[`ColorName${i}`] ?? 0);
}

function ChoiceField({ choice, current, disabled, send }:
  { choice: Choice; current: number | undefined; disabled: boolean; send: (v: number) => void }) {
  const key = choice.info.key;
  const now = current === undefined ? undefined : choiceSelected(choice, current);
  if (choice.bit !== undefined) {
    const id = `f-${key}-${choice.bit}`;
    return (
      <div class="field">
        <label for={id}>{choice.label}</label>
        <select id={id} name={key} disabled={disabled} value={String(now ?? '')}
          onChange={(e) => send(choiceValue(choice, Number((e.target as HTMLSelectElement).value), current ?? 0))}>
          {choice.options.map((o) => <option value={String(o.value)}>{o.label}</option>)}
        </select>
      </div>
    );
  }
  return (
    <fieldset class="choice" disabled={disabled}>
      <legend>{choice.label}</legend>
      {choice.options.map((o) => (
        <label class="radio">
          <input type="radio" name={key} value={String(o.value)} checked={now === o.value}
            onChange={() => send(o.value)} />
          {o.label}
        </label>
      ))}
    </fieldset>
  );
}

export function SettingsScreen({ s, id }: { s: State; id: string }) {
  const board = s.selected ? s.boards[s.selected] : undefined;
  const names = colors(board);
  const screen = buildScreens(s.keys, s.words, names).find((x) => x.id === id);
  if (!screen) return null;
  const settings = board?.settings;
  const disabled = !settings || !board?.summary.connected || s.serviceLost;
  const fahrenheit = ((settings?.Config?.Flag ?? 0) & 0x04) !== 0;
  const send = (section: string, key: string, value: number) =>
    void write('PATCH', 'settings', { [section]: { [key]: value } });
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{screen.title}</h2>
      {screen.note && <p class="note">{screen.note}</p>}
      <form class="settings" onSubmit={(e) => e.preventDefault()}>
        {screen.groups.map((g) => (
          <fieldset class="group" disabled={disabled}>
            {g.title && <legend>{g.title}</legend>}
            {g.items.map((item) => {
              const { section, key } = item.info;
              const value = settings?.[section]?.[key];
              return item.kind === 'choice'
                ? <ChoiceField choice={item} current={value} disabled={disabled}
                    send={(v) => send(section, key, v)} />
                : <NumberField item={item} value={value} words={s.words} fahrenheit={fahrenheit}
                    disabled={disabled} send={(v) => send(section, key, v)}
                    tint={item.channel !== null ? CHANNEL_TINTS[names[item.channel]] ?? '#fff' : undefined} />;
            })}
          </fieldset>
        ))}
      </form>
    </section>
  );
}
