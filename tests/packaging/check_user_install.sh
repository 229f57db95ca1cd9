#!/usr/bin/env bash
# check_user_install.sh NATIVE_BUILD
# The per-user install into a scratch home: the plug-ins land in ~/.vst and
# the tool in ~/.local/bin, stripped; a file of ours' name that we did not
# install is kept aside and comes back; uninstall leaves the home as it was.
set -u
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/checks.sh"
# Every path under the home with its type and content hash.
snapshot() {
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | while IFS= read -r p; do
    if [ -f "$p" ]; then echo "$p $(sha256sum <"$p" | cut -c1-16)"; else echo "$p/"; fi
  done)
}
tool() { HOME=$1 XDG_DATA_HOME= "$here/tools/user-install.sh" "$2" "$build"; }

# A home with nothing of ours.
empty=$work/empty
mkdir -p "$empty"
check "install into an empty home" tool "$empty" install
for so in "$build"/plugins/*.so; do
  name=$(basename "$so")
  check "$name in ~/.vst, stripped" bash -c "[ -f '$empty/.vst/$name' ] && ! readelf -S '$empty/.vst/$name' | grep -q '\\.symtab'"
done
check "nubbel-render in ~/.local/bin runs" "$empty/.local/bin/nubbel-render" --version
check "uninstall" tool "$empty" uninstall
check "the empty home is empty again" bash -c "[ -z \"\$(ls -A '$empty')\" ]"

# A home with its own ~/.vst, one file there of the same name as ours.
lived=$work/lived
mkdir -p "$lived/.vst" "$lived/.local/bin"
echo "someone else's plug-in" >"$lived/.vst/Nubbel3.so"
echo "another plug-in" >"$lived/.vst/Other.so"
before=$(snapshot "$lived")
check "install beside a foreign file of the same name" tool "$lived" install
check "the foreign file is kept beside ours" \
  bash -c "grep -q \"someone else\" '$lived/.vst/Nubbel3.so.before-nubbel' && ! grep -q \"someone else\" '$lived/.vst/Nubbel3.so'"
check "a second install keeps the one backup" tool "$lived" install
check "no second backup" bash -c "[ ! -e '$lived/.vst/Nubbel3.so.before-nubbel.1' ]"
check "uninstall" tool "$lived" uninstall
check "the home is as it was" diff <(echo "$before") <(snapshot "$lived")
check "uninstall with nothing installed says so and succeeds" tool "$lived" uninstall

echo "user install: $passed passed, $failed failed"
[ $failed -eq 0 ]
