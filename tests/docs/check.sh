#!/usr/bin/env bash
# Keeps the documents true: every relative link of README.md and docs/*.md
# names a file, every #anchor a heading (as GitHub spells it) or an <a id>, and
# docs/testing.md's "Environment variables" table names exactly the variables
# read by the C++, CMake, and scripts that take a TREMBLIX_*/HARNESS_* name
# from their caller (expanded with a default or a check, not exported there).
set -uo pipefail
cd "$1" && files=$(git ls-files --cached --others --exclude-standard) || exit 1
export LC_ALL=C
bad=0
declare -A anchors
for doc in README.md docs/*.md; do
  anchors[$doc]=$(awk '/^```/ { code = !code; next } !code && /^#+ /' "$doc" | sed -E 's/^#+ //' |
    tr 'A-Z' 'a-z' | sed -E 's/[^a-z0-9 _-]//g; s/ /-/g'; grep -oE '<a (id|name)="[^"]+"' "$doc" | cut -d'"' -f2)
done
for doc in README.md docs/*.md; do
  for link in $(grep -oE '\]\([^) ]+' "$doc" | cut -c3- | grep -vE '^[a-z]+:'); do
    path=${link%%#*} anchor=${link#"$path"} target=$doc dir=${doc%/*}
    [ -z "$path" ] || target=${dir%README.md}${dir:+/}$path target=${target#/}
    while [[ $target =~ ^(.*/)?[^/.][^/]*/\.\./(.*)$ ]]; do target=${BASH_REMATCH[1]}${BASH_REMATCH[2]}; done
    if [ ! -e "$target" ]; then echo "$doc: no file for the link $link"; bad=1
    elif [ -n "$anchor" ] && ! grep -qxF -- "${anchor#\#}" <<<"${anchors[$target]:-}"; then
      echo "$doc: no anchor for the link $link"; bad=1; fi
  done
done
scripts=$(grep -E '^(tools|tests|\.ci|cmake)/' <<<"$files" | xargs awk 'FNR == 1 && (FILENAME ~ /\.sh$/ || /^#!.*sh/) { print FILENAME } { nextfile }')
read=$({
  grep -ohE '(getenv|_wgetenv|GetEnvironmentVariable[AW]?)\(\s*L?"\w+"' $(grep -E '\.(cpp|h)$' <<<"$files") | cut -d'"' -f2
  grep -ohE 'ENV\{\w+\}' $(grep -E '(^|/)CMakeLists\.txt$|\.cmake$' <<<"$files") | sed -E 's/ENV\{(.*)\}/\1/'
  grep -HoE '\$\{(TREMBLIX|HARNESS)_\w+:?[-?=+]|export +(TREMBLIX|HARNESS)_\w+=' $scripts | awk '
    { file = substr($0, 1, index($0, ":") - 1); what = substr($0, length(file) + 2)
      name = what; gsub(/^(export +|\$\{)|:?[-?=+]$/, "", name)
      if (what ~ /^export/) exported[file, name] = 1; else read[file, name] = 1 }
    END { for (k in read) if (!(k in exported)) { split(k, p, SUBSEP); print p[2] } }'
} | sort -u)
table=$(awk '/^## /{ on = /^## Environment variables/ } on' docs/testing.md |
  grep -oE '^\| (<a id="[^"]*"></a>)?`\w+`' | sed -E 's/.*`(.*)`/\1/' | sort -u)
comm -23 <(echo "$read") <(echo "$table") | sed 's/^/read, but not in the table of docs\/testing.md: /'
comm -13 <(echo "$read") <(echo "$table") | sed 's/^/in the table of docs\/testing.md, but read nowhere: /'
[ -z "$(comm -3 <(echo "$read") <(echo "$table"))" ] || bad=1
[ "$bad" = 0 ] && echo "documents: every link, anchor and environment variable found"
exit "$bad"
