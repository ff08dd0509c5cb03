#!/bin/sh
# Replays every transcript script and every input of the script fuzzer's corpus
# through zorlo-script and keeps what it printed, so two builds can be compared
# byte for byte:
#   tests/replay_corpus.sh BUILD OUT [ZORLO_SCRIPT]
#   diff -r OUT_BEFORE OUT_AFTER
# BUILD holds decode_script (and zorlo-script unless ZORLO_SCRIPT names another).
# A corpus input is played as the fuzzer plays it: its script, then a second
# run in the same folder that starts and dumps what the first one saved.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 BUILD OUT [ZORLO_SCRIPT]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
out=$2
runner=${3:-$build/zorlo-script}
decode=$build/tests/decode_script
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out/transcripts" "$out/corpus"

play() { # folder script output
    "$runner" "$1" <"$2" >"$3" 2>&1 || echo "exit status $?" >>"$3"
}

transcripts=0
for script in "$root"/tests/transcripts/*.jsonl; do
    case $script in *.expected.jsonl) continue ;; esac
    name=$(basename "$script" .jsonl)
    folder=$work/t-$name
    mkdir -p "$folder"
    [ -d "$root/tests/transcripts/$name.setup" ] && cp -R "$root/tests/transcripts/$name.setup/." "$folder"
    play "$folder" "$script" "$out/transcripts/$name.jsonl"
    (cd "$folder" && find . -type f | LC_ALL=C sort | xargs -r cksum) >"$out/transcripts/$name.files"
    transcripts=$((transcripts + 1))
done

inputs=0
for input in "$root"/fuzz/corpus/script/*; do
    name=$(basename "$input")
    folder=$work/c-$name
    mkdir -p "$folder"
    "$decode" "$input" >"$work/$name.jsonl"
    cp "$work/$name.jsonl" "$out/corpus/$name.script.jsonl"
    play "$folder" "$work/$name.jsonl" "$out/corpus/$name.jsonl"
    printf '["start"]\n["dump"]\n' >"$work/$name.again.jsonl"
    play "$folder" "$work/$name.again.jsonl" "$out/corpus/$name.again.jsonl"
    inputs=$((inputs + 1))
done
echo "replayed $transcripts transcripts and $inputs corpus inputs into $out"
