# Shared helpers of the bench/commands scripts (sourced, not run): wall-clock timing in
# milliseconds, medians, and a scratch installation with the built program in ROOT/bin.

# now_ns: nanoseconds since the epoch.
now_ns() { date +%s%N; }

# cpu_ms FILE: user + system time of finished children in a `times` listing, in ms.
cpu_ms() { awk 'END {split($0, f, /[ms ]+/); print (f[1] * 60 + f[2] + f[3] * 60 + f[4]) * 1000}' "$1"; }

# timed VAR CMD...: runs CMD (output discarded); appends its wall time in ms to $VAR and the
# CPU time of its processes (10 ms steps) to ${VAR}_cpu. On 2 cores shared with other work
# the CPU time is the steadier figure. `times` runs in this shell itself: a subshell would
# count only its own children.
timed() {
  _var=$1; shift
  times >"$work/.t0"
  _s=$(now_ns)
  "$@" >/dev/null 2>&1 || echo "warning: '$*' exited with $?" >&2
  _e=$(now_ns)
  times >"$work/.t1"
  eval "$_var=\"\$$_var $(awk "BEGIN {printf \"%.1f\", ($_e - $_s) / 1e6}")\""
  eval "${_var}_cpu=\"\$${_var}_cpu $(awk "BEGIN {printf \"%.0f\", $(cpu_ms "$work/.t1") - $(cpu_ms "$work/.t0")}")\""
}

# median V...: the median of the numbers given.
median() {
  echo "$@" | tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2] + a[NR/2+1]) / 2}'
}

# ratio A B: A / B to two decimals.
ratio() { awk "BEGIN {printf \"%.2f\", $1 / $2}"; }

# make_root ROOT BUILD: an installation folder with the program and the demo schema.
make_root() {
  mkdir -p "$1/bin"
  cp "$2/QuorixUtil" "$1/bin/"
  cp -r "$(dirname "$0")/../../examples/installation/bin/QETData" "$1/bin/QETData"
}

# report_load: the machine's load, printed with every result.
report_load() { echo "load: $(uptime | sed 's/.*load average: //') on $(nproc) cores"; }

# show LABEL VAR: the runs recorded by `timed VAR` and their wall and CPU medians.
show() {
  eval "_w=\$$2; _c=\$${2}_cpu"
  echo "$1: wall runs (ms):$_w; cpu runs (ms):$_c"
  echo "$1: median wall $(median $_w) ms, median cpu $(median $_c) ms"
}
# med VAR / medcpu VAR: the wall / CPU median of `timed VAR`.
med() { eval "median \$$1"; }
medcpu() { eval "median \$${1}_cpu"; }
