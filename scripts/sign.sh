#!/usr/bin/env bash
# Signs the built tool with Authenticode (SHA-256) into build/win/signed/RU_ZadorazUdizav.exe,
# leaving build/win/RU_ZadorazUdizav.exe as it is, then checks the signed copy against the root
# that issued the certificate, and its time stamp against the root that issued the time-stamping
# service's, and prints the signer, the stamp's time and the signed file's SHA-256. The
# technician's guide the build made, build/win/guide-ru.html, goes beside the signed copy, and
# SHA256SUMS.txt beside both names the SHA-256 of each: that folder holds what a release hands out.
#
# It signs only what build/win/BUILDINFO.txt describes: the executable it names, built from a
# clean tree at the commit checked out now.
#
#   scripts/sign.sh --pfx FILE [--password-file F] (--timestamp URL --tsa-ca ROOT | --no-timestamp)
#                   --ca ROOT
#   scripts/sign.sh --pkcs11-module LIB --key-id ID --cert FILE [--password-file F]
#                   (--timestamp URL --tsa-ca ROOT | --no-timestamp) --ca ROOT
#
# --pfx FILE            certificate and key in a PKCS#12 file; --password-file holds its password
# --pkcs11-module LIB   the token's PKCS#11 library, e.g. /usr/lib/softhsm/libsofthsm2.so
# --key-id ID           the key's object ID on the token in hex, as the token lists it (e.g. 0a1b)
# --cert FILE           the certificate with its chain, PEM; --password-file then holds the PIN
# --timestamp URL       an RFC 3161 time-stamping service: a release needs one, or the signature
#                       turns invalid on every copy once the certificate expires
# --tsa-ca ROOT         the root certificate, PEM, that issued the time-stamping service's
# --no-timestamp        sign without one, knowingly (tests, offline machines)
# --ca ROOT             the root certificate, PEM, to check the signed copy against
# --allow-stand-in      sign a build that carries stand-in firmware or the sample change log
#                       (tests only: such a build must never reach a terminal)
# --allow-dirty         sign a build whose BUILDINFO.txt names a dirty tree or another commit
#                       (tests only: no one could rebuild what is signed)
#
# Ends non-zero with one line naming the step that failed and why.
set -uo pipefail
unsigned=build/win/RU_ZadorazUdizav.exe
record=build/win/BUILDINFO.txt
signed=build/win/signed/RU_ZadorazUdizav.exe
guide=build/win/guide-ru.html
sums=build/win/signed/SHA256SUMS.txt

fail() {  # STEP WHY
  echo "sign.sh: $1 failed: $2" >&2
  exit 1
}

# One line from osslsigncode's output: for signing its first message, for a check its verdict,
# and in either case the first reason OpenSSL gave.
reason() {  # sign|verify LOG
  awk -v step="$1" '
    /^[0-9A-F]+:error:/ {
      # OpenSSL: id:error:code:library:function:reason:file:line:detail
      if (!cause) {
        n = split($0, field, ":"); detail = ""
        for (i = 9; i <= n; i++) detail = detail (i > 9 ? ":" : "") field[i]
        cause = field[6] (detail != "" && detail !~ /^calling / ? ": " detail : "")
      }
      next
    }
    /MISMATCH|Error:|No signature found/ && !verdict { verdict = $0 }
    NF && !/^(Engine |Connecting to |Succeeded|Failed$)/ && !message { message = $0 }
    END {
      if (step == "verify") line = verdict ? verdict : cause
      else line = message (cause ? " (" cause ")" : "")
      gsub(/[[:space:]]+/, " ", line); sub(/^ /, "", line)
      print line != "" ? line : "osslsigncode gave no reason"
    }' "$2"
}

# A file named relative to where the script was started, made absolute before it moves to the
# checkout; a library name the system's loader searches for is left as it is.
file() {
  if [ -e "$1" ]; then realpath "$1"; else echo "$1"; fi
}

pfx="" module="" key_id="" cert="" password_file="" timestamp="" tsa_ca="" no_timestamp="" ca=""
allow_stand_in="" allow_dirty=""
while [ $# -gt 0 ]; do
  case "$1" in
    --pfx) pfx=$(file "${2-}") ;;
    --pkcs11-module) module=$(file "${2-}") ;;
    --key-id) key_id=${2-} ;;
    --cert) cert=$(file "${2-}") ;;
    --password-file) password_file=$(file "${2-}") ;;
    --timestamp) timestamp=${2-} ;;
    --tsa-ca) tsa_ca=$(file "${2-}") ;;
    --ca) ca=$(file "${2-}") ;;
    --no-timestamp) no_timestamp=1; shift; continue ;;
    --allow-stand-in) allow_stand_in=1; shift; continue ;;
    --allow-dirty) allow_dirty=1; shift; continue ;;
    -h | --help) sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0"; exit 0 ;;
    *) fail "reading the options" "unknown option $1 (see --help)" ;;
  esac
  [ $# -ge 2 ] && [ -n "$2" ] || fail "reading the options" "$1 needs a value"
  shift 2
done

if [ -n "$pfx" ] && [ -n "$module$key_id$cert" ]; then
  fail "reading the options" "give either --pfx or --pkcs11-module with --key-id and --cert, not both"
elif [ -z "$pfx" ] && { [ -z "$module" ] || [ -z "$key_id" ] || [ -z "$cert" ]; }; then
  fail "reading the options" "no key: give --pfx FILE, or --pkcs11-module LIB --key-id ID --cert FILE"
fi
if [ -z "$timestamp" ] && [ -z "$no_timestamp" ]; then
  fail "reading the options" "no timestamp: give --timestamp URL, since without one the signature turns invalid on every copy once the certificate expires, or --no-timestamp to sign without one knowingly"
elif [ -n "$timestamp" ] && [ -n "$no_timestamp" ]; then
  fail "reading the options" "give --timestamp URL or --no-timestamp, not both"
elif [ -n "$timestamp" ] && [ -z "$tsa_ca" ]; then
  fail "reading the options" "--timestamp needs --tsa-ca ROOT, the root that issued the time-stamping service's certificate, to check the stamp"
fi
[ -n "$ca" ] || fail "reading the options" "no trust anchor: give --ca ROOT, the root that issued the certificate"
[ -z "$key_id" ] || [[ $key_id =~ ^([[:xdigit:]]{2})+$ ]] || fail "reading the options" "--key-id $key_id is not an ID in hex"
for file in "$pfx" "$cert" "$password_file" "$ca" "$tsa_ca"; do
  [ -z "$file" ] || [ -r "$file" ] || fail "reading the options" "cannot read $file"
done
cd "$(dirname "$0")/.." || fail "finding the checkout" "cannot enter $(dirname "$0")/.."
# A failed run leaves no signed file behind, rather than an older one that looks new.
rm -f "$signed" "$(dirname "$signed")/$(basename "$guide")" "$sums"
[ -f "$unsigned" ] || fail "finding the build" "there is no $unsigned to sign: run scripts/build.sh first"
# A signed file must be one anyone can rebuild from a named commit and compare.
[ -f "$record" ] || fail "reading what the build recorded" "there is no $record: run scripts/build.sh"
recorded=$(sed -n 's/^executable [^:]*: //p' "$record")
built=$(sha256sum "$unsigned" | cut -d ' ' -f 1)
[ "$recorded" = "$built" ] ||
  fail "checking the build against $record" "$unsigned has SHA-256 $built, the record names ${recorded:-none}: run scripts/build.sh"
if [ -z "$allow_dirty" ]; then
  tree=$(sed -n 's/^tree: //p' "$record")
  [ "$tree" = clean ] ||
    fail "checking the tree it was built from" "$record says ${tree:-nothing of it}: commit or remove what git status lists, then build again"
  commit=$(sed -n 's/^commit: //p' "$record")
  head=$(git rev-parse HEAD 2>/dev/null) || fail "checking the commit it was built from" "git cannot tell HEAD here"
  [ "$commit" = "$head" ] ||
    fail "checking the commit it was built from" "$record names ${commit:-none}, HEAD is $head: build again"
fi
# A signature vouches for what the file carries: stand-ins signed would pass for a release.
if [ -z "$allow_stand_in" ]; then
  carries=$(python3 scripts/executable_resources.py "$unsigned" 2>&1) ||
    fail "checking what the build carries" "$carries; build from the real firmware and change log (see the README)"
fi

packages=(osslsigncode)
# The token is reached through OpenSSL's PKCS#11 engine, which osslsigncode finds by its name.
[ -n "$module" ] && packages+=(libengine-pkcs11-openssl)
installed=$(bash scripts/install-deps.sh "${packages[@]}" 2>&1) || fail "installing ${packages[*]}" "$(tail -n 1 <<<"$installed")"
[ -z "$installed" ] || echo "$installed"

signing=(-h sha256)
if [ -n "$pfx" ]; then
  signing+=(-pkcs12 "$pfx")
else
  # An engine path given with -pkcs11engine reaches 2.5's engine as its name, and the engine
  # refuses it: left out, the engine is found by name.
  signing+=(-pkcs11module "$module" -key "pkcs11:id=$(sed -E 's/(..)/%\1/g' <<<"$key_id");type=private"
            -certs "$cert")
fi
[ -n "$password_file" ] && signing+=(-readpass "$password_file")
[ -n "$timestamp" ] && signing+=(-ts "$timestamp")

version=$(osslsigncode --version 2>/dev/null | head -n 1)
[[ $version =~ ([0-9]+)\.([0-9]+) ]] || fail "reading the osslsigncode version" "unexpected answer \"$version\""
checking=(-CAfile "$ca")
[ -n "$tsa_ca" ] && checking+=(-TSA-CAfile "$tsa_ca")
# From 2.8 on a revocation list named in a certificate that cannot be fetched fails the check;
# the check here is against the root given, offline. 2.5 fetches nothing.
if ((BASH_REMATCH[1] > 2 || (BASH_REMATCH[1] == 2 && BASH_REMATCH[2] >= 8))); then
  checking+=(-ignore-cdp)
fi

mkdir -p "$(dirname "$signed")" || fail "making $(dirname "$signed")" "cannot create the folder"
work=$(mktemp -d "$(dirname "$signed")/.signing-XXXXXX") || fail "making a working folder" "cannot create it"
trap 'rm -rf "$work"' EXIT
# No program name (-n): osslsigncode stores it as ASCII bytes, and Windows would show the tool's
# Russian name garbled when it asks to run it; without one it shows the file name.
osslsigncode sign "${signing[@]}" -in "$unsigned" -out "$work/signed.exe" >"$work/log" 2>&1 ||
  fail "signing" "$(reason sign "$work/log")"
osslsigncode verify "${checking[@]}" -in "$work/signed.exe" >"$work/log" 2>&1 ||
  fail "checking the signature against $ca" "$(reason verify "$work/log")"
# A stamp that fails its check leaves the verdict a success: the log alone tells.
if [ -n "$timestamp" ]; then
  grep -q '^Timestamp Server Signature verification: ok' "$work/log" ||
    fail "checking the time stamp against $tsa_ca" "$(grep -m 1 '^Timestamp Server Signature verification' "$work/log" || echo "the signature carries no time stamp")"
  # 2.9 says "Timestamp time: …", 2.5 "The signature is timestamped: …".
  stamped=$(sed -n -E 's/^[[:space:]]*(Timestamp time|The signature is timestamped): *//p' "$work/log" | head -n 1)
fi
# The guide and the sums first: a run that fails on them leaves no signed file behind.
handed_out="No $guide to hand out beside it: scripts/build.sh makes it"
# A line as sha256sum -c reads it, ended with CRLF, which it reads too and Notepad on Windows 7 needs.
add_sum() {  # FILE NAME
  printf '%s  %s\r\n' "$(sha256sum "$1" | cut -d ' ' -f 1)" "$2" >>"$sums" || fail "writing $sums" "cannot write it"
}
add_sum "$work/signed.exe" "$(basename "$signed")"
if [ -f "$guide" ]; then
  cp "$guide" "$(dirname "$signed")/" || fail "copying $guide beside $signed" "cannot copy it"
  handed_out="Guide:     $(dirname "$signed")/$(basename "$guide")"
  add_sum "$guide" "$(basename "$guide")"
fi
mv "$work/signed.exe" "$signed" || fail "writing $signed" "cannot move the signed file into place"

echo "Signed by: $(grep -m 1 -E '^[[:space:]]*Subject:' "$work/log" | sed -E 's/^[[:space:]]*Subject:[[:space:]]*//')"
[ -n "$timestamp" ] && echo "Stamped:   ${stamped:-at a time osslsigncode did not print}"
echo "SHA-256:   $(sha256sum "$signed" | cut -d ' ' -f 1)  $signed"
echo "$handed_out"
echo "Sums:      $sums"
