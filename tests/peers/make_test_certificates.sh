#!/bin/sh
# Makes a private certificate authority and server certificates for the TLS
# tests, all in FOLDER:
#   ca.pem                      the authority to trust (STATVANE_CA_FILE)
#   server.pem, server.key      for localhost and 127.0.0.1, signed by ca.pem
#   wrongname.pem, wrongname.key  for other.invalid only, signed by ca.pem
#   expired.pem, expired.key    for localhost and 127.0.0.1, expired, signed by ca.pem
#   selfsigned.pem, selfsigned.key  for localhost and 127.0.0.1, signed by itself
# Usage: make_test_certificates.sh FOLDER
set -eu
folder=$1
mkdir -p "$folder"
cd "$folder"

quiet() { "$@" >/dev/null 2>&1 || { "$@"; exit 1; }; }

quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=Statvane Test Authority" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"

# signed NAME SUBJECT_ALT_NAMES DAYS_FROM DAYS_TO: a key and a certificate signed by the authority
signed() {
    quiet openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2"
    printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$3" >"$1.ext"
    quiet openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial \
        -out "$1.pem" -extfile "$1.ext" $4
    rm -f "$1.csr" "$1.ext"
}

# expired: valid from two days ago to yesterday; only "openssl ca" sets both dates.
expired() {
    quiet openssl req -newkey rsa:2048 -nodes -keyout expired.key -out expired.csr -subj "/CN=localhost"
    mkdir -p ca.db
    : >ca.db/index.txt
    cat >ca.db/ca.cnf <<CONF
[ca]
default_ca = test
[test]
database = ca.db/index.txt
new_certs_dir = ca.db
serial = ca.db/serial
default_md = sha256
policy = anything
copy_extensions = none
[anything]
commonName = supplied
[server]
subjectAltName = $local_names
extendedKeyUsage = serverAuth
CONF
    echo 01 >ca.db/serial
    quiet openssl ca -batch -config ca.db/ca.cnf -cert ca.pem -keyfile ca.key -in expired.csr \
        -out expired.pem -extensions server -notext \
        -startdate "$(date -u -d '-2 days' +%Y%m%d%H%M%SZ)" -enddate "$(date -u -d '-1 day' +%Y%m%d%H%M%SZ)"
    rm -rf ca.db expired.csr
}

local_names="DNS:localhost,IP:127.0.0.1,IP:::1"
signed server localhost "$local_names" "-days 2"
signed wrongname other.invalid "DNS:other.invalid" "-days 2"
expired

quiet openssl req -x509 -newkey rsa:2048 -nodes -keyout selfsigned.key -out selfsigned.pem \
    -days 2 -subj "/CN=localhost" -addext "subjectAltName=$local_names"
