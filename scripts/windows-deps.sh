#!/bin/sh
# Cross-builds the Windows program's libraries into build/deps/<arch> (include/,
# lib/): JsonCpp and OpenSSL's libcrypto, static, from Debian's source packages
# of the versions the Linux builds use. Reused while its stamp file matches.
#   windows-deps.sh win64|win32
# The sources come through apt with a configuration of the build's own
# (build/deps/apt): the machine's apt sources and lists stay as they are.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-}
case "$arch" in
  win64) triple=x86_64-w64-mingw32 toolchain=mingw-x86_64 openssl_target=mingw64 ;;
  win32) triple=i686-w64-mingw32 toolchain=mingw-i686 openssl_target=mingw ;;
  *) echo "usage: $0 win64|win32" >&2; exit 2 ;;
esac
deps="$root/build/deps"
prefix="$deps/$arch"
logs="$deps/logs"
jobs=4

say() { echo "windows-deps: $arch: $*"; }

# Runs a step with its output in a log file, shown when the step fails.
quietly() {
  log="$logs/$arch-$1.log"
  shift
  if ! "$@" >"$log" 2>&1; then
    say "FAILED: $*"
    tail -n 60 "$log" >&2
    echo "(the whole log: $log)" >&2
    exit 1
  fi
}

source_version() {
  version=$(dpkg-query -W -f='${source:Version}' "$1:$(dpkg --print-architecture)" 2>/dev/null) ||
    { echo "windows-deps: $1 is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
  echo "$version"
}
jsoncpp_version=$(source_version libjsoncpp-dev)
openssl_version=$(source_version libssl-dev)

stamp_text() {
  echo "jsoncpp $jsoncpp_version"
  echo "openssl $openssl_version"
  echo "compiler $("$triple-gcc-posix" -dumpversion)"
  recipe=$(cd "$root" && cat scripts/windows-deps.sh cmake/mingw.cmake "cmake/$toolchain.cmake" |
    sha256sum | cut -c1-16)
  echo "recipe $recipe"
}
mkdir -p "$deps" "$logs"
# The two architectures share the downloads and the unpacked sources.
exec 9>"$deps/lock"
flock 9
if [ "$(stamp_text)" = "$(cat "$prefix/stamp" 2>/dev/null)" ]; then exit 0; fi

# apt with the build's own deb-src entries and package lists: the suites of
# the machine's Debian entries that may hold the installed versions.
apt_dir="$deps/apt"
debian_apt() {
  "$@" -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=- \
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
}
lists_read=""
read_source_lists() {
  if [ -n "$lists_read" ]; then return 0; fi
  lists_read=1
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt-get indextargets --format '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk -v c="$codename" '$1 == "deb" && $4 == "main" && ($3 == c || $3 == c "-security") {
      print $2, $3 }' | sort -u >"$apt_dir/repositories"
  if [ ! -s "$apt_dir/repositories" ]; then
    printf '%s\n' "http://deb.debian.org/debian/ $codename" \
      "http://deb.debian.org/debian-security/ $codename-security" >"$apt_dir/repositories"
  fi
  while read -r uri suite; do
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main"
  done <"$apt_dir/repositories" >"$apt_dir/sources.list"
  say "reading the source lists of $(awk '{ print $2 }' "$apt_dir/repositories" | paste -sd' ')"
  quietly apt-update debian_apt apt-get update
}

# Unpacks Debian's source package of PACKAGE at VERSION into build/deps/src,
# apt checking every file against the archive's signed index. A mirror that
# lacks Debian's part of the package (.dsc, .debian.tar.*) still gives its
# upstream tarball of the same version: that is unpacked instead, and said so.
fetch_source() {
  package=$1 version=$2
  dir="$deps/src/${package}_$version"
  source_dir=$dir/source
  if [ -f "$dir/origin" ]; then return 0; fi
  read_source_lists
  say "fetching the source of $package $version (apt-get source, its signatures checked)"
  download="$dir/download"
  rm -rf "$dir"
  mkdir -p "$download"
  quietly "$package-files" debian_apt apt-get source --print-uris "$package=$version"
  sed -n "s/^'[^']*' \([^ ]*\) [0-9]* SHA256:\([0-9a-f]*\)\$/\2  \1/p" \
    "$logs/$arch-$package-files.log" >"$dir/files.sha256"
  (cd "$download" && debian_apt apt-get source --download-only "$package=$version") \
    >"$logs/$arch-$package-fetch.log" 2>&1 || true
  bare=${version#*:}
  upstream_tarball=$(sed -n "s/^[0-9a-f]*  \(${package}_${bare%-*}\.orig\.tar\.[a-z0-9]*\)\$/\1/p" \
    "$dir/files.sha256")
  if (cd "$download" && sha256sum --quiet -c "$dir/files.sha256") >/dev/null 2>&1; then
    quietly "$package-unpack" dpkg-source -x "$download/${package}_$bare.dsc" "$source_dir"
    echo "Debian source package $package $version" >"$dir/origin"
  elif [ -n "$upstream_tarball" ] &&
    (cd "$download" && awk -v f="$upstream_tarball" '$2 == f' "$dir/files.sha256" |
      sha256sum --quiet -c -) >/dev/null 2>&1; then
    say "the mirror lacks Debian's part of $package $version;" \
      "building its upstream tarball $upstream_tarball, without Debian's patches"
    mkdir -p "$source_dir"
    quietly "$package-unpack" tar -xf "$download/$upstream_tarball" -C "$source_dir" \
      --strip-components=1
    echo "upstream tarball of $package $version (the mirror lacks Debian's part)" >"$dir/origin"
  else
    say "FAILED: apt-get source $package=$version"
    tail -n 20 "$logs/$arch-$package-fetch.log" >&2
    exit 1
  fi
}

build_jsoncpp() {
  work="$deps/work/$arch/jsoncpp"
  rm -rf "$work"
  say "building JsonCpp $jsoncpp_version (static)"
  quietly jsoncpp-configure cmake -S "$deps/src/libjsoncpp_$jsoncpp_version/source" -B "$work" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
    -DCMAKE_INSTALL_INCLUDEDIR=include/jsoncpp \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=OFF
  quietly jsoncpp-build cmake --build "$work" -j"$jobs"
  quietly jsoncpp-install cmake --install "$work"
}

build_libcrypto() {
  source_dir="$deps/src/openssl_$openssl_version/source"
  work="$deps/work/$arch/openssl"
  rm -rf "$work"
  mkdir -p "$work"
  say "building libcrypto $openssl_version (static, $openssl_target; about a minute)"
  cd "$work"
  # Without socket BIOs and the CryptoAPI engine, which the program does not
  # use, the program imports neither WS2_32.dll nor CRYPT32.dll.
  quietly openssl-configure env CC="$triple-gcc-posix" AR="$triple-ar" RANLIB="$triple-ranlib" \
    RC="$triple-windres" perl "$source_dir/Configure" "$openssl_target" \
    no-shared no-asm no-tests no-sock no-capieng --prefix="$prefix" --libdir=lib
  quietly openssl-generate make -j"$jobs" build_generated
  quietly openssl-build make -j"$jobs" libcrypto.a
  cd "$root"
  mkdir -p "$prefix/include/openssl" "$prefix/lib"
  cp "$source_dir"/include/openssl/*.h "$work"/include/openssl/*.h "$prefix/include/openssl/"
  cp "$work/libcrypto.a" "$prefix/lib/"
}

rm -rf "$prefix"
fetch_source libjsoncpp "$jsoncpp_version"
fetch_source openssl "$openssl_version"
build_jsoncpp
build_libcrypto
cat "$deps/src/libjsoncpp_$jsoncpp_version/origin" "$deps/src/openssl_$openssl_version/origin" \
  >"$prefix/sources"
stamp_text >"$prefix/stamp"
say "done: $prefix"
