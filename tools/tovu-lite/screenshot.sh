#!/usr/bin/env bash
# Runs tovu-lite under Xvfb in a scratch HOME with the fixture model,
# types the syllable 1 8 3 (standard layout) and saves the screen as
# OUT/tovu-lite-typing.png, then opens the settings dialog and saves
# OUT/tovu-lite-settings.png. Fails when a picture is missing.
#   screenshot.sh TOVU_LITE MODULE FIXTURE_SQL OUT
set -euo pipefail
tovu_lite=$1 module=$2 fixture=$3 out=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
sqlite3 "$scratch/ZezAri.db" <"$fixture"
mkdir -p "$scratch/home/.tovu/config"
printf '{"method":"traditional"}\n' >"$scratch/home/.tovu/config/ferrolune.json"
cd "$scratch"
rm -f "$out/tovu-lite-typing.png" "$out/tovu-lite-settings.png"
HOME="$scratch/home" xvfb-run -a -s "-screen 0 640x400x24" \
  "$tovu_lite" --module "$module" --type 183 --screenshot "$out/tovu-lite-typing.png"
HOME="$scratch/home" xvfb-run -a -s "-screen 0 640x400x24" \
  "$tovu_lite" --module "$module" --settings --screenshot "$out/tovu-lite-settings.png"
test -s "$out/tovu-lite-typing.png"
test -s "$out/tovu-lite-settings.png"
echo "saved $out/tovu-lite-typing.png and $out/tovu-lite-settings.png"
