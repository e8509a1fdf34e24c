# The queue cases of bench/mainwindow (sourced by it: PORT, URL, SERVE,
# BENCH_DIR, BUILD, RUNS are set there). Each side runs RUNS times,
# alternating, and its best run counts.

queue_prepare() {
    mkdir -p "$BENCH_DIR/local" "$BENCH_DIR/peer"
    if [ "$(stat -c %s "$SERVE/big.bin" 2>/dev/null || echo 0)" != "$GIB" ]; then
        echo "making a 1 GiB test file..." >&2
        head -c "$GIB" /dev/urandom > "$SERVE/big.bin"
    fi
    if [ "$(find "$SERVE/tree" -type f 2>/dev/null | wc -l)" != 1000 ]; then
        rm -rf "$SERVE/tree"
        for d in $(seq -w 1 20); do
            mkdir -p "$SERVE/tree/d$d"
            for f in $(seq -w 1 50); do head -c 8192 /dev/urandom > "$SERVE/tree/d$d/f$f.bin"; done
        done
    fi
}

queue_ours() { "$BUILD/bench/queue_bench" --port "$PORT" "$@" 2>/dev/null | sed -n 's/.*seconds=\([0-9.]*\).*/\1/p'; }
lftp_time() {
    local start end
    start=$(date +%s.%N)
    lftp -e "set net:connection-limit 1; set mirror:parallel-transfer-count 1; $1; quit" "$URL" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", e - s }'
}

run_queue_case() {
    queue_prepare
    local o=() p=()
    case $1 in
    queue_download_1GiB)
        for _ in $(seq "$RUNS"); do
            rm -f "$BENCH_DIR/local/big.bin" "$BENCH_DIR/peer/big.bin"
            o+=("$(queue_ours --case download --name big.bin --local "$BENCH_DIR/local")")
            p+=("$(curl -s -w '%{time_total}\n' -o "$BENCH_DIR/peer/big.bin" "$URL/big.bin")")
        done
        cmp -s "$BENCH_DIR/local/big.bin" "$SERVE/big.bin" || { echo "queue_download_1GiB: not byte-exact" >&2; exit 1; }
        rm -f "$BENCH_DIR/local/big.bin" "$BENCH_DIR/peer/big.bin"
        report_queue_rate "$1" ;;
    queue_upload_1GiB)
        mkdir -p "$SERVE/up"
        cp "$SERVE/big.bin" "$BENCH_DIR/local/big.bin"
        for _ in $(seq "$RUNS"); do
            rm -f "$SERVE/up/big.bin" "$SERVE/up/peer.bin"
            o+=("$(queue_ours --case upload --name big.bin --local "$BENCH_DIR/local" --remote-dir up)")
            p+=("$(curl -s -w '%{time_total}\n' -T "$BENCH_DIR/local/big.bin" "$URL/up/peer.bin")")
        done
        cmp -s "$SERVE/up/big.bin" "$SERVE/big.bin" || { echo "queue_upload_1GiB: not byte-exact" >&2; exit 1; }
        rm -rf "$SERVE/up" "$BENCH_DIR/local/big.bin"
        report_queue_rate "$1" ;;
    queue_tree_1000)
        for _ in $(seq "$RUNS"); do
            rm -rf "$BENCH_DIR/local/tree" "$BENCH_DIR/peer/tree"
            o+=("$(queue_ours --case download --name tree --local "$BENCH_DIR/local")")
            p+=("$(lftp_time "mirror tree $BENCH_DIR/peer/tree")")
        done
        diff -r "$BENCH_DIR/local/tree" "$SERVE/tree" >/dev/null || { echo "queue_tree_1000: download differs" >&2; exit 1; }
        report_queue_time "queue_tree_1000_download"
        o=() p=()
        for _ in $(seq "$RUNS"); do
            rm -rf "$SERVE/tree_up_ours" "$SERVE/tree_up_peer"
            mkdir -p "$SERVE/tree_up_ours"
            o+=("$(queue_ours --case upload --name tree --local "$BENCH_DIR/local" --remote-dir tree_up_ours)")
            p+=("$(lftp_time "mirror -R $BENCH_DIR/local/tree tree_up_peer")")
        done
        diff -r "$SERVE/tree_up_ours/tree" "$SERVE/tree" >/dev/null || { echo "queue_tree_1000: upload differs" >&2; exit 1; }
        report_queue_time "queue_tree_1000_upload"
        rm -rf "$BENCH_DIR/local/tree" "$BENCH_DIR/peer/tree" ;;
    esac
}

report_queue_rate() {
    OURS=$(min "${o[@]}") PEER=$(min "${p[@]}")
    awk -v n="$1" -v o="$OURS" -v p="$PEER" \
        'BEGIN { printf "%s ours=%.0fMiB/s (%.2fs) curl=%.0fMiB/s (%.2fs) ratio=%.2f (ours/peer throughput)\n", n, 1024 / o, o, 1024 / p, p, p / o }'
}

report_queue_time() {
    OURS=$(min "${o[@]}") PEER=$(min "${p[@]}")
    awk -v n="$1" -v o="$OURS" -v p="$PEER" \
        'BEGIN { printf "%s ours=%.2fs lftp=%.2fs ratio=%.2f (ours/peer time)\n", n, o, p, o / p }'
}
