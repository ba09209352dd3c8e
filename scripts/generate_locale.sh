#!/usr/bin/env bash
# Makes a system locale available (as root, or through sudo), for the tests
# that run the tool under the installers' own locale:
#   scripts/generate_locale.sh ru_RU.UTF-8
# The locale is enabled in /etc/locale.gen, so that a later locale-gen (a
# package upgrade runs one) keeps it, and then generated. Nothing is done
# when `locale -a` already lists it.
set -euo pipefail
name=${1:?usage: generate_locale.sh LOCALE (e.g. ru_RU.UTF-8)}
lang=${name%%.*}
charset=${name#*.}

# `locale -a` lists ru_RU.UTF-8 as ru_RU.utf8.
listed() {
    local wanted
    wanted=$(printf '%s.%s' "$lang" "$charset" | tr '[:upper:]' '[:lower:]' | tr -d -- '-')
    locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d -- '-' | grep -qxF "$wanted"
}
listed && exit 0

echo "Generating the locale $name"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to generate the locale $name" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
entry="$name $charset"
if [[ -f /etc/locale.gen ]] && command -v locale-gen >/dev/null; then
    if grep -qE "^#? *${entry//./\\.}\$" /etc/locale.gen; then
        "${sudo_cmd[@]}" sed -i -E "s/^# *(${entry//./\\.})\$/\\1/" /etc/locale.gen
    else
        echo "$entry" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo_cmd[@]}" locale-gen >/dev/null
else
    "${sudo_cmd[@]}" localedef -i "$lang" -f "$charset" "$name"
fi
listed || { echo "The locale $name is still missing after generating it" >&2; exit 1; }
