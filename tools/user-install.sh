#!/usr/bin/env bash
# user-install.sh install|uninstall NATIVE_BUILD
# For one user, without root: the Linux plug-ins into ~/.vst, where Linux hosts
# look for VST 2 plug-ins, and nubbel-render into ~/.local/bin, both stripped.
# Everything done is written to a manifest, so that uninstall removes exactly
# what install added: files we did not install are never deleted. A file of
# the same name that we did not install is kept beside ours as NAME.before-nubbel
# (and put back by uninstall); directories we had to create are removed again
# when empty.
set -euo pipefail
action=${1:-} build=${2:-}
vst_dir="$HOME/.vst"
bin_dir="$HOME/.local/bin"
state_dir="${XDG_DATA_HOME:-$HOME/.local/share}/nubbel"
manifest="$state_dir/installed-files"

say() { echo "nubbel: $*"; }

# Lines of the manifest, tab-separated: "statedir PATH", "dir PATH",
# "file PATH", "backup PATH ORIGINAL".
record() { printf '%s\t%s\t%s\n' "$1" "$2" "${3:-}" >>"$manifest"; }

# The folders that mkdir -p would create for $1, outermost first.
missing_dirs() {
  local d=$1 list=()
  while [ ! -d "$d" ]; do
    list=("$d" "${list[@]}")
    d=$(dirname "$d")
  done
  printf '%s\n' "${list[@]}"
}

in_manifest() { [ -f "$manifest" ] && grep -qxF "file"$'\t'"$1"$'\t' "$manifest"; }

make_dir() {
  local d
  while IFS= read -r d; do
    [ -n "$d" ] || continue
    mkdir "$d"
    record dir "$d"
  done < <(missing_dirs "$1")
}

place() {
  local source=$1 dir=$2 dest backup
  dest="$dir/$(basename "$source")"
  make_dir "$dir"
  if [ -e "$dest" ] && ! in_manifest "$dest"; then
    backup="$dest.before-nubbel"
    local n=1
    while [ -e "$backup" ]; do
      backup="$dest.before-nubbel.$n"
      n=$((n + 1))
    done
    mv "$dest" "$backup"
    record backup "$backup" "$dest"
    say "kept the existing $dest as $backup"
  fi
  strip -o "$dest.nubbel-new" "$source"
  chmod 0755 "$dest.nubbel-new"
  mv -f "$dest.nubbel-new" "$dest"
  in_manifest "$dest" || record file "$dest"
  say "installed $dest"
}

install_all() {
  [ -n "$build" ] && [ -d "$build/plugins" ] || {
    echo "user-install: no built plug-ins in '$build/plugins'" >&2
    exit 1
  }
  # The manifest's own folders go last at uninstall, after the manifest.
  local d created=()
  while IFS= read -r d; do [ -z "$d" ] || created+=("$d"); done < <(missing_dirs "$state_dir")
  mkdir -p "$state_dir"
  touch "$manifest"
  for d in "${created[@]}"; do record statedir "$d"; done
  local plugin
  for plugin in "$build"/plugins/*.so; do place "$plugin" "$vst_dir"; done
  place "$build/tools/nubbel-render/nubbel-render" "$bin_dir"
  case ":$PATH:" in *":$bin_dir:"*) ;; *) say "$bin_dir is not on your PATH" ;; esac
}

uninstall_all() {
  if [ ! -f "$manifest" ]; then
    say "nothing installed (no $manifest)"
    return 0
  fi
  local kind path original statedirs=()
  # Newest first: files before the folders that hold them, backups put back
  # after our file of the same name is gone.
  while IFS=$'\t' read -r kind path original; do
    case "$kind" in
      file) rm -f -- "$path" && say "removed $path" ;;
      backup) mv -- "$path" "$original" && say "restored $original" ;;
      dir) rmdir -- "$path" 2>/dev/null || true ;;
      statedir) statedirs+=("$path") ;;
    esac
  done < <(tac "$manifest")
  rm -f -- "$manifest"
  for path in "${statedirs[@]}"; do rmdir -- "$path" 2>/dev/null || true; done
}

case "$action" in
  install) install_all ;;
  uninstall) uninstall_all ;;
  *)
    echo "usage: user-install.sh install|uninstall NATIVE_BUILD" >&2
    exit 2
    ;;
esac
