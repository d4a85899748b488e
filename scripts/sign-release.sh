#!/usr/bin/env bash
# Signs release files for the update server: each FILE gets FILE.sig beside it, one line holding the base64
# of the Ed25519 signature of the file's exact bytes (docs/updates.md). The private key stays outside the
# repository; the program checks the signatures with the public keys of product/update-keys.
#
# Usage: scripts/sign-release.sh --new-key KEY.pem       make a release key (refused inside the repository)
#        scripts/sign-release.sh --public KEY.pem        print its line for product/update-keys
#        scripts/sign-release.sh KEY.pem FILE...         write FILE.sig for each file
# Sign every file the server offers: software/version, software/Mouse-Setup-V.zip,
# firmware/<model>/mouse/version and firmware/<model>/mouse/firmware-V.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { sed -n '5,7p' "$0" | sed 's/^# //' >&2; exit 2; }
[ $# -ge 2 ] || usage

inside_repository() {
  local dir
  dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || return 1
  case "$dir/" in "$root"/*) return 0 ;; *) return 1 ;; esac
}

public_line() {
  openssl pkey -in "$1" -pubout -outform DER | tail -c 32 | base64 -w0
  echo
}

case "$1" in
  --new-key)
    key=$2
    if inside_repository "$key"; then
      echo "sign-release: keep the private key outside the repository ($root)" >&2
      exit 1
    fi
    if [ -e "$key" ]; then
      echo "sign-release: $key exists; not overwritten" >&2
      exit 1
    fi
    (umask 077 && openssl genpkey -algorithm ed25519 -out "$key")
    echo "sign-release: made $key; its line for product/update-keys:" >&2
    public_line "$key"
    ;;
  --public)
    public_line "$2"
    ;;
  -*)
    usage
    ;;
  *)
    key=$1
    shift
    public=$(public_line "$key")
    for file in "$@"; do
      if [ ! -f "$file" ]; then
        echo "sign-release: $file is not a regular file" >&2
        exit 1
      fi
      signature=$(openssl pkeyutl -sign -rawin -inkey "$key" -in "$file" | base64 -w0)
      printf '%s\n' "$signature" > "$file.sig.tmp"
      # The signature must check out with the public key before it is published.
      printf '%s' "$signature" | base64 -d > "$file.sig.bin"
      if ! openssl pkeyutl -verify -rawin -pubin -inkey <(openssl pkey -in "$key" -pubout) -in "$file" \
             -sigfile "$file.sig.bin" >/dev/null; then
        rm -f "$file.sig.tmp" "$file.sig.bin"
        echo "sign-release: the signature of $file does not verify" >&2
        exit 1
      fi
      rm -f "$file.sig.bin"
      mv "$file.sig.tmp" "$file.sig"
      echo "signed $file with the key of update-keys line $public" >&2
    done
    ;;
esac
