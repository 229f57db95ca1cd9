# Sourced by the packaging checks: a scratch folder removed on exit, and
# check DESCRIPTION COMMAND... which counts the command's outcome and shows
# the output of one that failed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {
  local what=$1
  shift
  if "$@" >"$work/last.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
    sed 's/^/    /' "$work/last.log" | head -30
  fi
}
