#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer. The libraries, lowest first:
# core < engine < elements < control < ui. Inside ui, its folders, lowest first:
# controls < frame < settings < display < settings/panels < editor < panels < toolbar
# < sidepanel < shell. Tests, benchmarks and resources are exempt.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
# check <prefix> <find depth> <layer>...: each layer's files may include no later layer.
check() {
  local prefix=$1 depth=$2; shift 2
  local layers=("$@")
  for rank in "${!layers[@]}"; do
    local layer=${layers[$rank]}
    local higher=("${layers[@]:rank+1}")
    [ ${#higher[@]} -eq 0 ] && continue
    local pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]$prefix($(IFS='|'; echo "${higher[*]}"))/"
    while IFS= read -r hit; do
      echo "check_layers: $prefix$layer may not include a higher layer: $hit"
      status=1
    done < <(find "$prefix$layer" $depth \( -name "*.cpp" -o -name "*.h" \) | sort | xargs -r grep -nHE "$pattern" || true)
  done
}

check "" "" core engine elements control ui
check "ui/" "-maxdepth 1" controls frame settings display settings/panels editor panels toolbar sidepanel shell
[ -z "$(find ui -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \))" ] || { echo "check_layers: ui keeps its files in its folders"; status=1; }
for folder in $(find ui -mindepth 1 -type d | sed 's|^ui/||' | sort); do
  case " controls frame settings display settings/panels editor panels toolbar sidepanel shell " in
    *" $folder "*) ;;
    *) echo "check_layers: ui/$folder has no place in the order of ui's folders"; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "check_layers: every include stays within its layer or below"
exit $status
