#!/usr/bin/env bash
# The manuals built beside the program: PDF files with their chapters as
# text, every chapter on its page, and the menu captions as the user sees
# them (without the "&" of their access keys).
set -euo pipefail
bin=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

check() {
  local pdf=$1 title=$2
  shift 2
  [[ -f "$bin/$pdf" ]] || fail "$pdf was not built"
  pdfinfo "$bin/$pdf" | grep -q "^Title: *$title\$" || fail "$pdf is not titled $title"
  local text
  text=$(pdftotext -layout "$bin/$pdf" -)
  for chapter in "$@"; do
    grep -qF "$chapter" <<<"$text" || fail "$pdf lacks \"$chapter\""
  done
  if grep -qE '"&[A-Za-z]|[A-Za-z]&[A-Za-z]' <<<"$text"; then fail "$pdf shows access-key marks"; fi
}

check KORVAN2021UsersManual.pdf "KORVAN 2021 User's Manual" \
  "1. Getting started with the example" "2. The main window and its commands" \
  "4. The data-entry tables" "7. The calculation report (PDF)" "8. The files of a project" \
  "9. Units" "10. The headless runner korvan" "12. Troubleshooting: result codes and messages" \
  "Export Plots to Excel" "Export Report (PDF)..." "Design Study..." \
  "Design Chart: Load at Settlement Limit"
# The picture of a report's first page, drawn into the users' manual.
pdfimages -list "$bin/KORVAN2021UsersManual.pdf" | grep -q " image " ||
  fail "KORVAN2021UsersManual.pdf holds no picture of a report's first page"
check KORVAN2021TechnicalManual.pdf "KORVAN 2021 Technical Manual" \
  "1. The load-transfer method" "3. t-z curves" "4. Q-w tip curves" \
  "5. The solution for tip movements" "6. The solution for head loads" \
  "7. Down-drag and modification factors" "9. The report file" "10. The plot data file" \
  "11. Verification against a closed-form solution"
echo "manuals: ok"
