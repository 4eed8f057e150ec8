#!/bin/sh
# Times the 400-ball pile in peer engines beside the simulator's own box400
# benchmark, in one run on this machine, each on one core (processor time).
# The peers come from Debian's libbox2d-dev and libchipmunk-dev; they are
# installed here when missing and are never part of the build.
#
#   bench/peers/run_peers.sh [build folder, default build-engine] [steps, default 5000]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=${1:-$source_dir/build-engine}
steps=${2:-5000}
work=${TMPDIR:-/tmp}/velo_peers
mkdir -p "$work"

if [ ! -f /usr/include/box2d/box2d.h ] || [ ! -f /usr/include/chipmunk/chipmunk.h ]; then
    apt-get install -y libbox2d-dev libchipmunk-dev >/dev/null
fi
c++ -O2 -o "$work/box2d_pile" "$here/box2d_pile.cpp" -lbox2d
cc -O2 -o "$work/chipmunk_pile" "$here/chipmunk_pile.c" -lchipmunk -lm

echo "The 400-ball pile, dt = 0.001, one core:"
"$work/box2d_pile" 8 3 "$steps"
"$work/box2d_pile" 1 1 "$steps"
"$work/chipmunk_pile" 10 "$steps" | grep -v -e "^Initializing cpSpace" -e "^Compile with"
"$work/chipmunk_pile" 1 "$steps" | grep -v -e "^Initializing cpSpace" -e "^Compile with"
if [ -x "$build/velo_bench" ]; then
    "$build/velo_bench" --benchmark_filter='Box400_MechanicalStep$' --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true 2>/dev/null | grep median |
        sed 's/.*steps\/s=\([0-9.k]*\).*/Velocitronimatics (whole mechanical step, median of 3): \1 steps\/s/'
else
    echo "No $build/velo_bench: build the benchmarks to compare."
fi
