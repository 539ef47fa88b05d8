#!/usr/bin/env bash
# The include arrows point one way: each folder of the program may include only the folders
# listed for it here (and itself). A new arrow is a design change: add it here on purpose.
set -euo pipefail
cd "$1"
declare -A may=(
  [platform]=""
  [platform/script]="platform"
  [platform/soft]="platform"
  [platform/png]="platform/files"
  [platform/files]=""
  [platform/test_double]="platform platform/soft"
  [core]="platform"
  [gfx]="platform core"
  [sound]="platform core"
  [input]="platform core gfx"
  [game]="platform core gfx sound input"
  [zorvex]="platform core gfx sound input game"
  [host]="platform platform/soft platform/png platform/files"
  [platform/sdl]="platform platform/soft platform/png platform/files host"
  [platform/win32]="platform platform/soft platform/png platform/files host"
  [platform/web]="platform platform/soft platform/files host tools/assetgen"
)
bad=0
while IFS= read -r file; do
  from=$(dirname "$file")
  [ "$from" = app ] && continue  # the entry points put every layer together
  if [ -z "${may[$from]+set}" ]; then
    echo "FAIL: $from/ has no place in the layers (tests/style/layers.sh)"
    bad=1
    continue
  fi
  while IFS= read -r inc; do
    to=$(dirname "$inc")
    [ "$to" = "$from" ] && continue
    case " ${may[$from]} " in *" $to "*) continue ;; esac
    echo "FAIL: $file includes $inc: $from/ may include only: ${may[$from]:-itself}"
    bad=1
  done < <(sed -n 's/^#include "\([^"]*\/[^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'app/*' 'core/*' 'game/*' 'gfx/*' 'host/*' 'input/*' 'platform/*' \
  'sound/*' 'zorvex/*' | grep -E '\.(cpp|h)$')
[ "$bad" -eq 0 ] && echo "ok: every include points down the layers"
exit "$bad"
