// What the service logged for the chosen board, newest last, read again
// every two seconds while the screen is open.
import { useEffect, useState } from 'preact/hooks';
import { call } from '../api';
import { browserLocale } from '../logic/numbers';
import { State } from '../store';

interface Entry { time: string; text: string }

export function LogScreen({ s }: { s: State }) {
  const [entries, setEntries] = useState<Entry[]>([]);
  const id = s.selected;
  useEffect(() => {
    if (!id) return;
    let stop = false;
    const read = async () => {
      try {
        const got = await call<Entry[]>('GET', `/api/v1/boards/${encodeURIComponent(id)}/log`);
        if (!stop) setEntries(got);
      } catch {
        // the banner tells of a lost service; the next read tries again
      }
    };
    void read();
    const timer = window.setInterval(read, 2000);
    return () => { stop = true; window.clearInterval(timer); };
  }, [id]);
  return (
    <section aria-labelledby="screen-title">
      <h2 id="screen-title">{s.words.t('tsMessages.Caption')}</h2>
      <ol class="log" aria-live="polite">
        {entries.map((e) => (
          <li><time dateTime={e.time}>{new Date(e.time).toLocaleString(browserLocale)}</time> {e.text}</li>
        ))}
      </ol>
    </section>
  );
}
