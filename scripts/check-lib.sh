# Sourced by the install and package checks: runs one named check and counts
# it. Each check runs in a subshell of its own with -e in force, so that any
# command of it that fails fails the check (inside "if" bash would ignore -e).
# Needs $work (a scratch folder); with show_all_output=1 the output of every
# check is shown, otherwise only that of failed ones.
passed=0
failed=0
show_all_output=${show_all_output:-0}

check() {
  local name=$1 status=0
  shift
  set +e
  (set -e; "$@") > "$work/output" 2>&1
  status=$?
  set -e
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
  if [ "$status" -ne 0 ] || [ "$show_all_output" -eq 1 ]; then
    sed 's/^/     /' "$work/output"
  fi
}
