// What the page checks share: one line a check, kept for the exit status, and waiting until the
// page says something is so.
export const failures = [];

export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Whether `expression` became true in the page within `ms`.
export async function until(page, expression, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) {
    if (await page.evaluate(expression)) return true;
  }
  return false;
}
