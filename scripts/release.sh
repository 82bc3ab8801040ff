#!/bin/bash
# Makes a release folder to upload: the Debian package in a signed apt repository, the installer
# for a copy in the user's own folder and the signed version file that offers it.
#
#   scripts/release.sh KEYFILE BASEURL
#
# KEYFILE is the secret key of `tarvex-sign keygen`; BASEURL the address the folder is uploaded to
# (http://dl.example.com/tarvex). The repository is signed with the OpenPGP key in
# $TARVEX_REPO_GNUPGHOME (choose one of several with $TARVEX_REPO_KEY), else with a key made on
# first use in KEYFILE.gnupg/ and kept there. The last line printed is the release folder.
#
# Products made elsewhere (and the tests) can be given instead of built: $TARVEX_RELEASE_DEB,
# $TARVEX_RELEASE_RUN, $TARVEX_SIGN (the signing tool), $TARVEX_RELEASE_DIR (the folder written).
set -euo pipefail
umask 022

fail() {
  echo "release.sh: $*" >&2
  exit 1
}

[ $# -eq 2 ] || fail "usage: scripts/release.sh KEYFILE BASEURL (BASEURL as http://dl.example.com/tarvex)"
keyfile="$1"
baseurl="${2%/}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
out="${TARVEX_RELEASE_DIR:-$build/release}"

for tool in gpg gpgv apt-ftparchive dpkg-deb gzip sha256sum; do
  command -v "$tool" > /dev/null || fail "$tool is missing: run scripts/install-deps.sh (packages gnupg, apt-utils)"
done
[ -f "$keyfile" ] && [ -r "$keyfile" ] || fail "no key file $keyfile: make one with tarvex-sign keygen $keyfile"
keyfile="$(cd "$(dirname "$keyfile")" && pwd)/$(basename "$keyfile")"

# The address the installer is downloaded from: the program fetches http://HOST/PATH.
[[ "$baseurl" =~ ^https?://([^/]+)(/[^[:space:]]*)?$ ]] || fail "BASEURL must be http://HOST[:PORT]/PATH, not $baseurl"
host="${BASH_REMATCH[1]}"
urlpath="${BASH_REMATCH[2]}"

# What the build folder makes, built when it is missing and not given.
configured() {
  [ -f "$build/CMakeCache.txt" ] && return
  echo "Configuring $build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null || fail "cannot configure $build"
}
sign="${TARVEX_SIGN:-$build/tools/tarvex-sign}"
if [ -z "${TARVEX_SIGN:-}" ]; then
  configured
  cmake --build "$build" -j"$(nproc)" --target tarvex-sign > /dev/null || fail "cannot build tarvex-sign"
fi
[ -x "$sign" ] || fail "no signing tool at $sign"
deb="${TARVEX_RELEASE_DEB:-}"
if [ -z "$deb" ]; then
  configured
  rm -f "$build"/tarvex_*.deb
  (cd "$build" && cpack -G DEB > cpack.log 2>&1) || fail "cpack could not make the package: see $build/cpack.log"
  debs=("$build"/tarvex_*_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single tarvex package in $build"
  deb="${debs[0]}"
fi
[ -f "$deb" ] || fail "no package $deb"
version="$(dpkg-deb -f "$deb" Version)" || fail "$deb is no Debian package"
[ "$(dpkg-deb -f "$deb" Package)" = tarvex ] || fail "$deb is not the tarvex package"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "the package's version $version is not four numbers"
run="${TARVEX_RELEASE_RUN:-}"
if [ -z "$run" ]; then
  configured
  cmake --build "$build" -j"$(nproc)" --target installer > /dev/null || fail "cannot build the installer (target installer)"
  run="$build/TarvexSetup-$version.run"
fi
[ -f "$run" ] || fail "no installer $run for version $version"
runname="TarvexSetup-$version.run"

# What a failure leaves behind is removed; the GnuPG agent this script started is ended.
managed=""
stage=""
cleanup() {
  [ -z "$stage" ] || rm -rf "$stage" "$stage.Release"
  [ -z "$managed" ] || gpgconf --homedir "$gnupghome" --kill gpg-agent 2> /dev/null || true
}
trap cleanup EXIT

# The maker's OpenPGP key: given, or made once beside KEYFILE, readable by the maker alone.
if [ -n "${TARVEX_REPO_GNUPGHOME:-}" ]; then
  gnupghome="$TARVEX_REPO_GNUPGHOME"
  [ -d "$gnupghome" ] || fail "TARVEX_REPO_GNUPGHOME names no folder: $gnupghome"
else
  gnupghome="$keyfile.gnupg"
  managed=yes
  if [ ! -d "$gnupghome" ]; then
    mkdir -m 700 "$gnupghome"
    echo "Making the repository's signing key in $gnupghome"
    gpg --homedir "$gnupghome" --batch --quiet --passphrase '' \
      --quick-generate-key "Tarvex archive <support@tarvex.invalid>" ed25519 sign never ||
      { rm -rf "$gnupghome"; fail "GnuPG could not make a key in $gnupghome"; }
  fi
  [ "$(stat -c %a "$gnupghome")" = 700 ] || fail "$gnupghome is open to others: chmod 700 it"
fi
gpgrun() { gpg --homedir "$gnupghome" --batch --quiet "$@"; }
key="${TARVEX_REPO_KEY:-}"
if [ -z "$key" ]; then
  # The secret keys that can sign, by fingerprint.
  mapfile -t keys < <(gpgrun --with-colons --list-secret-keys 2> /dev/null |
    awk -F: '$1 == "sec" { can = ($12 ~ /S/); next } $1 == "fpr" && can { print $10; can = 0 }')
  [ ${#keys[@]} -gt 0 ] || fail "no secret signing key in $gnupghome"
  [ ${#keys[@]} -eq 1 ] || fail "several signing keys in $gnupghome: choose one with TARVEX_REPO_KEY"
  key="${keys[0]}"
fi

# The folder is put together beside the old one and replaces it only when complete.
mkdir -p "$(dirname "$out")"
out="$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"
case "$keyfile/" in "$out"/*) fail "the key file lies in the release folder $out" ;; esac
case "$gnupghome/" in "$out"/*) fail "the GnuPG home lies in the release folder $out" ;; esac
[ ! -e "$out" ] || [ -f "$out/InRelease" ] || [ -z "$(ls -A "$out")" ] ||
  fail "$out holds something other than a release: it is not replaced"
stage="$(mktemp -d "$out.new.XXXXXX")"
chmod 755 "$stage"
cp "$deb" "$stage/tarvex_${version}_$(dpkg-deb -f "$deb" Architecture).deb"
cp "$run" "$stage/$runname"
# Everything here is published: a web server must be able to read the installer too.
chmod 0644 "$stage/$runname"

# The flat apt repository: the package index, the Release file over it, signed both ways.
(cd "$stage" && apt-ftparchive packages . > Packages) || fail "apt-ftparchive could not index $deb"
gzip -9 -n -k "$stage/Packages"
apt-ftparchive -o APT::FTPArchive::Release::Origin=Tarvex -o APT::FTPArchive::Release::Label=Tarvex \
  -o APT::FTPArchive::Release::Description="Tarvex return on investment calculator" \
  release "$stage" > "$stage.Release" || fail "apt-ftparchive could not write the Release file"
mv "$stage.Release" "$stage/Release"
gpgrun --yes --local-user "$key" --digest-algo SHA512 --clearsign -o "$stage/InRelease" "$stage/Release" ||
  fail "GnuPG could not sign with $key"
gpgrun --yes --local-user "$key" --digest-algo SHA512 --armor --detach-sign -o "$stage/Release.gpg" "$stage/Release"
gpgrun --export "$key" > "$stage/tarvex-archive-keyring.gpg"
gpgv --keyring "$stage/tarvex-archive-keyring.gpg" "$stage/InRelease" 2> /dev/null ||
  fail "the repository's signature does not check with its own keyring"

# The version file that offers the installer to a copy in the user's own folder.
"$sign" make "$keyfile" "$host" "$urlpath/$runname" "$runname" "$stage/$runname" "$version" \
  > "$stage/TarvexVersion.txt" || fail "tarvex-sign could not sign the version file with $keyfile"

# No secret leaves with the folder: no OpenPGP secret key, not the update key's text.
if grep -rlq "PRIVATE KEY BLOCK" "$stage" || grep -rlqF -f <(grep -v '^$' "$keyfile") "$stage" ||
  gpgrun --list-packets "$stage/tarvex-archive-keyring.gpg" 2> /dev/null | grep -q "secret"; then
  fail "secret key material found in the release folder: nothing written"
fi

rm -rf "$out"
mv "$stage" "$out"
stage=""
echo "Upload every file in this folder to $baseurl/"
echo "$out"
