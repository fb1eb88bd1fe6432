// The service's API as the interface uses it: JSON over fetch with the
// session cookie, and the one event stream.

export class ApiError extends Error {
  constructor(readonly status: number, message: string, readonly key: string | null = null) {
    super(message);
  }
}

export async function call<T = unknown>(method: string, path: string, body?: unknown): Promise<T> {
  const headers: Record<string, string> = {};
  // The service refuses a cookie request that changes something without it.
  if (method !== 'GET') headers['X-Velmarinex'] = '1';
  if (body !== undefined) headers['Content-Type'] = 'application/json';
  let response: Response;
  try {
    response = await fetch(path, {
      method, headers, credentials: 'same-origin',
      body: body === undefined ? undefined : JSON.stringify(body),
    });
  } catch {
    throw new ApiError(0, 'no answer from the service');
  }
  const text = await response.text();
  let value: unknown = null;
  try {
    value = text ? JSON.parse(text) : null;
  } catch {
    value = null;
  }
  if (!response.ok) {
    const e = (value ?? {}) as { error?: string; key?: string };
    throw new ApiError(response.status, e.error ?? response.statusText, e.key ?? null);
  }
  return value as T;
}

export type Handlers = Record<string, (data: any) => void>;

// The event stream, opened again after a loss: the browser's own retry ends
// for good when the service answers with an error (after a restart the
// session is gone), so every loss is retried here.
export class Events {
  private source: EventSource | null = null;
  private timer = 0;
  constructor(private readonly handlers: Handlers, private readonly opened: () => void,
              private readonly lost: () => void) {}

  open(): void {
    this.close();
    const source = new EventSource('/api/v1/events', { withCredentials: true });
    this.source = source;
    source.onopen = () => this.opened();
    source.onerror = () => {
      this.lost();
      if (source.readyState === EventSource.CLOSED) this.retry();
    };
    for (const [name, handler] of Object.entries(this.handlers))
      source.addEventListener(name, (e) => handler(JSON.parse((e as MessageEvent).data)));
  }

  retry(): void {
    window.clearTimeout(this.timer);
    this.timer = window.setTimeout(() => this.open(), 1000);
  }

  close(): void {
    window.clearTimeout(this.timer);
    this.source?.close();
    this.source = null;
  }
}
