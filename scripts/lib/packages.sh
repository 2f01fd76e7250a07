# Installs the Debian packages a command needs, only those missing. Sourced by scripts/.

# The packages for building and testing everything: the native core, the Windows program
# with MinGW-w64, the packages and their checks (Python, binutils' objdump; wixl and msitools
# for the Windows Installer packages; dpkg-dev and lintian for the Debian package), clang and
# its libFuzzer for the fuzz targets, iproute2 for the tests' loopback-only network namespace,
# LibVNCServer natively and zlib for MinGW (the viewer and the screen server),
# and running the Windows program under Wine on a private X display.
CLUMA_BUILD_PACKAGES=(cmake g++ make binutils googletest libgtest-dev libgmock-dev clang-format
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix python3 wixl msitools dpkg-dev
  lintian clang libfuzzer-14-dev iproute2 libvncserver-dev libz-mingw-w64-dev)
CLUMA_WINE_PACKAGES=(wine64 xvfb xdotool x11-utils imagemagick)
# The benchmarks' peer screen server, serving the same display as the project's.
CLUMA_BENCH_PACKAGES=(x11vnc)

ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
}
