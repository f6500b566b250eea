#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer. The layers, lowest first:
# core < engine < elements < control < ui. Tests, benchmarks and resources are exempt.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(core engine elements control ui)
status=0
for rank in "${!layers[@]}"; do
  layer=${layers[$rank]}
  higher=("${layers[@]:rank+1}")
  [ ${#higher[@]} -eq 0 ] && continue
  pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($(IFS='|'; echo "${higher[*]}"))/"
  while IFS= read -r hit; do
    echo "check_layers: $layer may not include a higher layer: $hit"
    status=1
  done < <(find "$layer" -name "*.cpp" -o -name "*.h" | sort | xargs -r grep -nHE "$pattern" || true)
done
[ $status -eq 0 ] && echo "check_layers: every include stays within its layer or below"
exit $status
