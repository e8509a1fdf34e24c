# Starts the benchmarks' FTP server, sourced by bench/run, bench/mainwindow and
# bench/cli_bench from the top of the tree. Debian's vsftpd, taken out of its
# package by scripts/peer-server (never installed: the package would run an
# FTP service on port 21), serves $1 anonymously on a free loopback port in
# the foreground with bench/vsftpd/vsftpd.conf.in; its config and log go to
# $2. Sets PORT, URL and SERVER_PID; the caller's cleanup kills SERVER_PID.

start_vsftpd() {
    local root=$1 work=$2 vsftpd pasvmin
    vsftpd=$(scripts/peer-server vsftpd) || { echo "vsftpd could not be unpacked" >&2; exit 1; }
    PORT=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    # A passive port is taken for every file: a client moving a thousand
    # small files over four connections finds ten ports all still held
    # (vsftpd then gives up with "500 OOPS: vsf_sysutil_bind"), and runs of
    # the tree one after the other found even a hundred held: each server
    # gets two thousand.
    pasvmin=$(( 20000 + (PORT % 20) * 2000 ))
    sed -e "s|@PORT@|$PORT|; s|@ROOT@|$root|; s|@PASVMIN@|$pasvmin|; s|@PASVMAX@|$(( pasvmin + 1999 ))|" \
        -e "s|@EMPTY@|$work/vsftpd-empty|" bench/vsftpd/vsftpd.conf.in > "$work/vsftpd.conf"
    mkdir -p "$work/vsftpd-empty"
    "$vsftpd" "$work/vsftpd.conf" > "$work/vsftpd.log" 2>&1 &
    SERVER_PID=$!
    URL=ftp://127.0.0.1:$PORT
    for _ in $(seq 50); do
        curl -s -o /dev/null "$URL/" && return 0
        sleep 0.1
    done
    echo "vsftpd did not answer:" >&2
    cat "$work/vsftpd.log" >&2
    exit 1
}
