# The benchmarks' test data, sourced from the top of the tree by the bench
# scripts. Each function makes its data once and keeps it for later runs.

GIB=1073741824

# The work folder: $BENCH_DIR, or $1 under /dev/shm (or /tmp without it).
bench_dir() {
    if [ -n "${BENCH_DIR:-}" ]; then echo "$BENCH_DIR"
    elif [ -d /dev/shm ] && [ -w /dev/shm ]; then echo "/dev/shm/$1"
    else echo "/tmp/$1"; fi
}

# $1/big.bin: 1 GiB of random bytes.
make_big() {
    mkdir -p "$1"
    if [ "$(stat -c %s "$1/big.bin" 2>/dev/null || echo 0)" != "$GIB" ]; then
        echo "making a 1 GiB test file..." >&2
        head -c "$GIB" /dev/urandom > "$1/big.bin"
    fi
}

# $1/list20000: a folder of 20,000 empty files.
make_list() {
    mkdir -p "$1/list20000"
    if [ "$(find "$1/list20000" -type f | wc -l)" != 20000 ]; then
        (cd "$1/list20000" && seq -f "file_%05g.dat" 1 20000 | xargs touch)
    fi
}

# $1/tree: 1,000 files of 8 KiB of random bytes in 20 folders.
make_tree() {
    if [ "$(find "$1/tree" -type f 2>/dev/null | wc -l)" != 1000 ]; then
        echo "making a tree of 1,000 files..." >&2
        rm -rf "$1/tree"
        for d in $(seq -w 1 20); do
            mkdir -p "$1/tree/d$d"
            for f in $(seq -w 1 50); do head -c 8192 /dev/urandom > "$1/tree/d$d/f$f.bin"; done
        done
    fi
}

min() { printf '%s\n' "$@" | sort -g | head -1; }

# Builds the given targets into $BUILD (a Release build without the tests
# when the folder is new); prints the build's output only when it fails.
build_targets() {
    local log
    if ! log=$( { [ -f "$BUILD/build.ninja" ] \
                  || cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_BUILD_TESTS=OFF; } 2>&1 \
                && cmake --build "$BUILD" --target "$@" -j2 2>&1 ); then
        echo "$log" >&2
        exit 1
    fi
}

# A free port on the loopback interface.
free_port() {
    /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# Starts one of bench/servers/*.py with Debian's Python (it has pyftpdlib):
# $1 its log file, then the script and its arguments. Waits for its "ready"
# line; sets PY_PID.
start_py_server() {
    local log=$1
    shift
    /usr/bin/python3 "$@" > "$log" 2>&1 &
    PY_PID=$!
    for _ in $(seq 100); do
        grep -q '^ready' "$log" && return 0
        sleep 0.05
    done
    echo "$1 did not start:" >&2
    cat "$log" >&2
    exit 1
}
