// The frame of every screen: the board chosen, the screens, the language,
// the banner of a lost service or board, and the last outcome of a change.
import { useEffect, useState } from 'preact/hooks';
import { select, setLanguage, signIn, signOut, State, useStore } from '../store';
import { ActionsScreen } from './actions';
import { ChannelsScreen } from './channels';
import { LogScreen } from './log';
import { ScheduleScreen } from './schedule';
import { SettingsScreen } from './settings';
import { TanksScreen } from './tanks';

export const SCREENS: { id: string; caption: string }[] = [
  { id: 'tanks', caption: 'WebTanks' },
  { id: 'channels', caption: 'WebChannels' },
  { id: 'schedule', caption: 'tsSchedule.Caption' },
  { id: 'config', caption: 'tsConfig.Caption' },
  { id: 'expert', caption: 'tsExpert.Caption' },
  { id: 'weather', caption: 'tsWeather.Caption' },
  { id: 'delays', caption: 'tsWeatherDelay.Caption' },
  { id: 'moon', caption: 'tsMoon.Caption' },
  { id: 'balance', caption: 'tsBalance.Caption' },
  { id: 'timezone', caption: 'WebTimeZone' },
  { id: 'actions', caption: 'WebActions' },
  { id: 'log', caption: 'tsMessages.Caption' },
];

function screenOfHash(): string {
  const id = location.hash.replace(/^#\/?/, '');
  return SCREENS.some((x) => x.id === id) ? id : 'tanks';
}

function SignIn({ s }: { s: State }) {
  const [user, setUser] = useState('');
  const [password, setPassword] = useState('');
  const w = s.words;
  return (
    <main id="main" class="signin">
      <h1>{w.t('WebTitle')}</h1>
      <form onSubmit={(e) => { e.preventDefault(); void signIn({ user, password }); }}>
        <label for="user">{w.t('WebUser')}</label>
        <input id="user" name="user" autoComplete="username" value={user}
          onInput={(e) => setUser((e.target as HTMLInputElement).value)} />
        <label for="password">{w.t('WebPassword')}</label>
        <input id="password" name="password" type="password" autoComplete="current-password" value={password}
          onInput={(e) => setPassword((e.target as HTMLInputElement).value)} />
        {s.signinError && <p class="error" role="alert">{s.signinError}</p>}
        <button type="submit">{w.t('WebSignIn')}</button>
      </form>
      <p class="note">{w.t('WebTokenHint')}</p>
    </main>
  );
}

function Banner({ s }: { s: State }) {
  const w = s.words;
  const board = s.selected ? s.boards[s.selected] : undefined;
  let text: string | null = null;
  if (s.serviceLost) text = w.t('WebServiceLost');
  else if (board && !board.summary.connected) text = w.t('WebBoardLost', board.summary.id, board.summary.port);
  return <div class="banner" role="alert" hidden={!text}>{text}</div>;
}

export function App() {
  const s = useStore();
  const [screen, setScreen] = useState(screenOfHash());
  useEffect(() => {
    const changed = () => setScreen(screenOfHash());
    window.addEventListener('hashchange', changed);
    return () => window.removeEventListener('hashchange', changed);
  }, []);
  useEffect(() => {
    document.title = `${s.words.t(SCREENS.find((x) => x.id === screen)!.caption)} – ${s.words.t('WebTitle')}`;
  }, [screen, s.words]);
  if (s.phase === 'signin') return <SignIn s={s} />;
  const w = s.words;
  const other = w.lang === 'de' ? 'en' : 'de';
  return (
    <>
      <a class="skip" href="#main">{w.t('WebSkip')}</a>
      <header class="top">
        <h1>{w.t('WebTitle')}</h1>
        {s.order.length > 1 && (
          <select aria-label={w.t('WebBoard')} value={s.selected ?? ''}
            onChange={(e) => select((e.target as HTMLSelectElement).value)}>
            {s.order.map((id) => <option value={id}>{id}</option>)}
          </select>
        )}
        <button type="button" lang={other} onClick={() => void setLanguage(other)}>
          {other === 'de' ? 'Deutsch' : 'English'}</button>
        <button type="button" onClick={() => void signOut()}>{w.t('WebSignOut')}</button>
      </header>
      <nav aria-label={w.t('WebScreens')}>
        <ul>
          {SCREENS.map((x) => (
            <li><a href={`#/${x.id}`} aria-current={x.id === screen ? 'page' : undefined}>{w.t(x.caption)}</a></li>
          ))}
        </ul>
      </nav>
      <Banner s={s} />
      <main id="main" tabIndex={-1}>
        {s.phase === 'loading' ? <p>{w.t('WebLoading')}</p>
          : screen === 'tanks' ? <TanksScreen s={s} />
          : screen === 'channels' ? <ChannelsScreen s={s} />
          : screen === 'schedule' ? <ScheduleScreen s={s} />
          : screen === 'actions' ? <ActionsScreen s={s} />
          : screen === 'log' ? <LogScreen s={s} />
          : <SettingsScreen s={s} id={screen} />}
      </main>
      <footer class="notice" role="status">{s.notice?.text ?? ''}</footer>
    </>
  );
}
