#!/usr/bin/env bash
# veldrune-calc on 100, 1,000 and 10,000 station files that each carry a 16-minute duty cycle:
# the wall time and the peak memory of each run, with one thread and with every core.
#   bench/batch-stations.sh build-release/veldrune-calc
set -euo pipefail
calc=${1:-build-release/veldrune-calc}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
tools=(KRV-110QM1-05 KRV-140QH1 KRV-210QM2 KRV-220QT2-A KRV-290QS1 KRV-320QM3 KRV-450QT3 KRV-610QM4 KRV-850QM5)
for i in $(seq 1 10000); do
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
cores=$(nproc)
for count in 100 1000 10000; do
    files=()
    for i in $(seq 1 "$count"); do files+=("$dir/s$i.json"); done
    for jobs in 1 "$cores"; do
        # GNU time: elapsed seconds and the peak resident set in kB.
        measured=$( { /usr/bin/time -f "%e %M" "$calc" -j "$jobs" --json "${files[@]}" > "$dir/out.json"; } 2>&1 )
        read -r seconds kilobytes <<< "$measured"
        stations=$(grep -c '"duty_cycle"' "$dir/out.json")
        echo "veldrune-calc -j $jobs on $stations stations with a 16-minute duty cycle: $seconds s, peak $((kilobytes / 1024)) MB"
    done
done
