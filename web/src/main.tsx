// Start: the words, the token of the loopback link (exchanged for the
// session cookie and dropped from the address), then the boards.
import { render } from 'preact';
import 'uplot/dist/uPlot.min.css';
import './style.css';
import { call } from './api';
import { chosenLanguage, loadWords, start, update } from './store';
import { App } from './ui/app';

async function boot(): Promise<void> {
  const words = loadWords(chosenLanguage()).catch(() => undefined);
  const url = new URL(location.href);
  const token = url.searchParams.get('token');
  if (token) {
    url.searchParams.delete('token');
    history.replaceState(null, '', url.pathname + url.search + url.hash);
    try {
      await call('POST', '/api/v1/login', { token });
    } catch {
      // a stale link: the sign-in form follows
    }
  }
  await words;
  await start();
}

render(<App />, document.getElementById('app')!);
void boot().then(() => {
  // For measurements: when the first screen had its data.
  performance.mark('vmx-interactive');
  update({});
});
