#!/usr/bin/env bash
# veldrune-calc on 1,000 station files that each carry a 16-minute duty cycle, in one run:
# the wall time of the whole run.
#   bench/batch-stations.sh build-release/veldrune-calc
set -euo pipefail
calc=${1:-build-release/veldrune-calc}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
tools=(KRV-110QM1-05 KRV-140QH1 KRV-210QM2 KRV-220QT2-A KRV-290QS1 KRV-320QM3 KRV-450QT3 KRV-610QM4 KRV-850QM5)
for i in $(seq 1 1000); do
    tool=${tools[$((i % ${#tools[@]}))]}
    cat > "$dir/s$i.json" <<JSON
{
  "system": "MVC4800", "tool": "$tool",
  "fastening": { "bolt_length": $((10 + i % 30)), "bolt_pitch": 1.25 },
  "initial_time": 0.$((i % 9 + 1)), "freerun_speed": $((600 + i % 700)),
  "tightening_angle": $((30 + i % 90)), "communication_time": 0.25,
  "duty_cycle": { "station_cycle_time": $((10 + i % 50)), "fastening_torque": $((1 + i % 8)),
                  "torque_recovery_time": 0.$((i % 10)), "period_minutes": 16 }
}
JSON
done
start=$(date +%s%N)
"$calc" --json "$dir"/s*.json > "$dir/out.json"
end=$(date +%s%N)
stations=$(grep -c '"duty_cycle"' "$dir/out.json")
echo "veldrune-calc on $stations stations with a 16-minute duty cycle: $(( (end - start) / 1000000 )) ms"
