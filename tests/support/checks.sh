# SPDX-License-Identifier: MIT
# Sourced by the shell-script tests: checks that note a failure and go on, so one run names every
# check that failed; the script ends with ((failures == 0)).

failures=0

# fail MESSAGE...: one failed check, named on standard error.
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect_in TEXT NEEDLE WHAT: TEXT holds NEEDLE as it stands.
expect_in() {
  if ! grep -qF -- "$2" <<<"$1"; then fail "$3: no '$2' in:"$'\n'"$1"; fi
}
