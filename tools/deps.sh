#!/usr/bin/env bash
# Installs with apt-get only the Debian packages that are missing. Usage: tools/deps.sh PACKAGE...
# A package named in tools/backports-packages.txt (with the oldest version that will do) counts as
# missing while an older version is installed too. On Debian 12 such packages come from the
# bookworm-backports suite, which is added as an apt source when the system lacks it (same archive
# and keyring as the main suite) and asked for by name (-t bookworm-backports): backports are pinned
# low, so a plain install would take Debian 12's own, older version.
set -euo pipefail
backports_list="$(dirname "$0")/backports-packages.txt"
missing=()
newer=()
for p in "$@"; do
  min=$(awk -v p="$p" '$1 == p { print $2 }' "$backports_list")
  status=$(dpkg-query -W -f='${Status} ${Version}' "$p" 2>/dev/null || true)
  if [ -n "$min" ]; then
    version=${status##* }
    if [[ "$status" != "install ok installed "* ]] || ! dpkg --compare-versions "$version" ge "$min"; then
      newer+=("$p")
    fi
  elif [[ "$status" != "install ok installed"* ]]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && [ ${#newer[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]} ${newer[*]}" >&2
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

suite=()
codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
if [ ${#newer[@]} -gt 0 ] && [ "$codename" = bookworm ]; then
  suite=(-t bookworm-backports)
  if ! grep -rqs --include='*.list' --include='*.sources' -e '^[^#]*bookworm-backports' \
      /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # The archive the main suite comes from (the first deb822 or one-line entry that names it).
    archive=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null | awk 'BEGIN { RS = "" } {
        uri = ""; main = 0; n = split($0, line, "\n")
        for (i = 1; i <= n; i++) {
          if (line[i] ~ /^URIs:/) { split(line[i], f, /[ \t]+/); uri = f[2] }
          if (line[i] ~ /^Suites:/) { m = split(line[i], f, /[ \t]+/); for (j = 2; j <= m; j++) if (f[j] == "bookworm") main = 1 }
        }
        if (main && uri != "") { print uri; exit }
      }')
    [ -n "$archive" ] || archive=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+bookworm[[:space:]].*/\2/p' \
      /etc/apt/sources.list 2>/dev/null | head -n1)
    [ -n "$archive" ] || archive=http://deb.debian.org/debian
    echo "Adding the bookworm-backports suite of $archive to apt's sources" >&2
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$archive" | $SUDO tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
  fi
fi
$SUDO apt-get update -qq
[ ${#missing[@]} -eq 0 ] || $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
[ ${#newer[@]} -eq 0 ] || $SUDO apt-get install -y -qq --no-install-recommends "${suite[@]}" "${newer[@]}"
